#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace corvane {

/** @brief Opening things, names of the user and the computer, private temporary files, haptics. */
class DesktopServices
{
public:
    virtual ~DesktopServices() = default;

    /** Opens a URL with its handler; false when none took it. */
    virtual bool openUrl(const QUrl &url) = 0;
    virtual bool openFile(const QString &path) = 0;
    /** Shows the items selected in the file manager, else opens the first item's folder. */
    virtual void showInFileManager(const QStringList &paths) = 0;
    /** The account's full name (GECOS before the first comma), else the login name. */
    virtual QString userFullName() const = 0;
    /** The pretty host name, else the host name, else "Computer". */
    virtual QString computerName() const = 0;
    /**
     * A folder only this user can enter (0700) for temporary files, created when missing.
     * Nothing when it cannot be made safely (e.g. the path is a symlink or someone else's).
     */
    virtual std::optional<QString> privateTempDir() = 0;
    /** Haptic feedback: Linux desktops have none, so this does nothing. */
    virtual void performHaptic() = 0;
};

} // namespace corvane
