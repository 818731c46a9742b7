#pragma once

#include "DesktopEntries.h"
#include "DesktopEntryIndex.h"

#include <QHash>

namespace corvane {

/** @brief Desktop entries given by the test; matching by StartupWMClass, id or program name. */
class FakeDesktopEntries : public DesktopEntries
{
public:
    void add(const DesktopEntry &entry, const QImage &icon = {});

    std::optional<DesktopEntry> entry(const QString &id) const override;
    QImage icon(const QString &id, int size) const override;
    std::optional<QString> matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                       const QString &executable) const override;
    QList<DesktopEntry> allEntries() const override;

    int iconRequests() const { return m_iconRequests; }

private:
    QList<DesktopEntry> m_entries;
    DesktopEntryIndex m_index;
    QHash<QString, QImage> m_icons;
    mutable int m_iconRequests = 0;
};

} // namespace corvane
