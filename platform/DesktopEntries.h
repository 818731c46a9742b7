#pragma once

#include "DesktopEntry.h"

#include <QImage>
#include <QList>

#include <optional>

namespace corvane {

/**
 * @brief The installed applications' desktop entries: names, icons, and window matching.
 *
 * Lookups are thread-safe; icon() draws through QIcon and belongs to the main thread.
 */
class DesktopEntries
{
public:
    virtual ~DesktopEntries() = default;

    /** The entry with this desktop-entry id (exact, then case-insensitive). */
    virtual std::optional<DesktopEntry> entry(const QString &id) const = 0;
    /** The app's icon at @p size pixels, null when it has none. */
    virtual QImage icon(const QString &id, int size) const = 0;
    /**
     * The id of the app owning a window: the entry whose StartupWMClass equals the WM_CLASS
     * class or instance, then whose id equals one of them, then whose Exec program equals
     * @p executable's file name. Case-insensitive. Nothing when none matches.
     */
    virtual std::optional<QString> matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                               const QString &executable) const = 0;
    /** Every visible entry, ordered by id. */
    virtual QList<DesktopEntry> allEntries() const = 0;
};

} // namespace corvane
