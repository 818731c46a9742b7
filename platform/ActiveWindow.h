#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace corvane {

/** @brief An application as Corvane names it: desktop-entry id and display name. */
struct AppIdentity {
    /** Desktop-entry id, else the lower-cased WM_CLASS class. */
    QString id;
    /** The entry's Name, else the WM_CLASS class as the window gives it. May be empty. */
    QString name;
    /** Process id from _NET_WM_PID; 0 when the window does not say. */
    qint64 pid = 0;
    bool operator==(const AppIdentity &) const = default;
};

/** @brief The frontmost and the running applications. */
class ActiveWindow
{
public:
    virtual ~ActiveWindow() = default;

    /** False when the desktop cannot be observed (no X11): every query then answers nothing. */
    virtual bool isAvailable() const = 0;
    /** The application of the focused top-level window. */
    virtual std::optional<AppIdentity> frontmostApp() const = 0;
    /** Applications with normal top-level windows, one per id, in window-list order. */
    virtual QList<AppIdentity> runningApps() const = 0;
    /** Whether a password field holds the keyboard system-wide; Linux has no such flag. */
    virtual bool isSecureInputActive() const = 0;
};

} // namespace corvane
