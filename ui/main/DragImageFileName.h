#pragma once

#include <QDateTime>
#include <QString>

namespace corvane {

/**
 * @brief The file name a dragged image clip is written under.
 *
 * From the clip's detail (its original file name) with the extension dropped and path
 * separators turned into "-", or "Image <date> at <time>.png" when there is no usable detail.
 * Control characters are removed and the name is cut to fit 255 bytes of UTF-8.
 */
QString dragImageFileName(const QString &detail, const QDateTime &createdAt);

} // namespace corvane
