#pragma once

#include "DesktopEntries.h"
#include "DesktopEntryIndex.h"

#include <QStringList>

#include <mutex>

namespace corvane {

/**
 * @brief Desktop entries indexed from $XDG_DATA_HOME/applications then $XDG_DATA_DIRS/applications.
 *
 * The index is built once, on the first lookup; the first folder holding an id wins, and entries
 * with Hidden=true hide that id.
 */
class XdgDesktopEntries : public DesktopEntries
{
public:
    /** Reads the XDG environment variables (with their standard defaults). */
    XdgDesktopEntries();
    /** Uses these data folders, most important first (each holds an "applications" folder). */
    explicit XdgDesktopEntries(QStringList dataDirs);

    std::optional<DesktopEntry> entry(const QString &id) const override;
    QImage icon(const QString &id, int size) const override;
    std::optional<QString> matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                       const QString &executable) const override;
    QList<DesktopEntry> allEntries() const override;

    /** The data folders of the XDG environment, most important first. */
    static QStringList standardDataDirs();

private:
    void ensureIndexed() const;

    QStringList m_dataDirs;
    mutable std::once_flag m_indexed;
    mutable DesktopEntryIndex m_index;
};

} // namespace corvane
