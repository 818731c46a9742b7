#pragma once

#include "DesktopServices.h"

#include <QByteArray>

namespace corvane {

/** @brief QDesktopServices, the FileManager1 D-Bus service, passwd and the host name. */
class LinuxDesktopServices : public DesktopServices
{
public:
    bool openUrl(const QUrl &url) override;
    bool openFile(const QString &path) override;
    void showInFileManager(const QStringList &paths) override;
    QString userFullName() const override;
    QString computerName() const override;
    std::optional<QString> privateTempDir() override;
    void performHaptic() override { }

    /** The full name of a GECOS field: the text before the first comma, trimmed. */
    static QString fullNameFromGecos(const QString &gecos);
    /** PRETTY_HOSTNAME of an /etc/machine-info body (shell-style quoting), when set. */
    static std::optional<QString> prettyHostnameFromMachineInfo(const QByteArray &contents);
    /**
     * Makes @p path a private folder: created 0700 when missing; refused when it is a symlink,
     * not a folder, or owned by someone else; tightened to 0700 otherwise. The error, or nothing.
     */
    static std::optional<QString> ensurePrivateDir(const QString &path);
};

} // namespace corvane
