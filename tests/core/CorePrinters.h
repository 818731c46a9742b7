#pragma once

// Readable failure messages for Qt and core values in GoogleTest.

#include "ClipGroup.h"
#include "Detection.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &list, std::ostream *os) { *os << '[' << list.join(u'|').toStdString() << ']'; }
inline void PrintTo(const QDateTime &moment, std::ostream *os) { *os << moment.toString(Qt::ISODate).toStdString(); }

namespace corvane {
inline void PrintTo(ClipGroup group, std::ostream *os) { *os << ClipGroups::rawValue(group).toStdString(); }
inline void PrintTo(const Detection &detection, std::ostream *os)
{
    *os << ClipGroups::rawValue(detection.group).toStdString();
    if (detection.detail)
        *os << " (" << detection.detail->toStdString() << ')';
}
} // namespace corvane
