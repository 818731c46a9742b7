#pragma once

#include "ActiveWindow.h"

namespace corvane {

class DesktopEntries;

/**
 * @brief The active window via xcb (_NET_ACTIVE_WINDOW, WM_CLASS, _NET_WM_PID), matched to
 * desktop entries. Uses Qt's own X connection; unavailable on other platforms. Main thread.
 */
class X11ActiveWindow : public ActiveWindow
{
public:
    explicit X11ActiveWindow(const DesktopEntries &entries);
    ~X11ActiveWindow() override;

    bool isAvailable() const override;
    std::optional<AppIdentity> frontmostApp() const override;
    QList<AppIdentity> runningApps() const override;
    bool isSecureInputActive() const override { return false; }

    /**
     * Identity of a window from its WM_CLASS (instance, class) and executable path: the
     * desktop entry that matches, else the lower-cased class (else instance).
     */
    static std::optional<AppIdentity> identify(const DesktopEntries &entries, const QString &wmInstance, const QString &wmClass,
                                               const QString &executable);

private:
    struct Private;
    const DesktopEntries &m_entries;
    Private *d;
};

} // namespace corvane
