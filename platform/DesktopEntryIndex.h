#pragma once

#include "DesktopEntry.h"

#include <QHash>
#include <QList>

#include <optional>

namespace corvane {

/** @brief Entries by id and the window-to-entry matching rule, over a fixed set of entries. */
class DesktopEntryIndex
{
public:
    DesktopEntryIndex() = default;
    /** The first entry of an id wins. */
    explicit DesktopEntryIndex(const QList<DesktopEntry> &entries);

    /** Exact id first, then case-insensitive. */
    std::optional<DesktopEntry> entry(const QString &id) const;
    /** See DesktopEntries::matchWindow. */
    std::optional<QString> matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                       const QString &executable) const;
    /** Visible (NoDisplay unset) entries ordered by id. */
    QList<DesktopEntry> visibleEntries() const;

private:
    QHash<QString, DesktopEntry> m_byId;
    QHash<QString, QString> m_idByLowerId;
    QHash<QString, QString> m_idByWMClass;
    QHash<QString, QString> m_idByProgram;
};

} // namespace corvane
