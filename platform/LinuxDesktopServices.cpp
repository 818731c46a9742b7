#include "LinuxDesktopServices.h"
#include "Logging.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <cstring>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

bool LinuxDesktopServices::openUrl(const QUrl &url) { return url.isValid() && QDesktopServices::openUrl(url); }

bool LinuxDesktopServices::openFile(const QString &path)
{
    return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void LinuxDesktopServices::showInFileManager(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    QStringList uris;
    for (const QString &path : paths)
        uris.append(QString::fromUtf8(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded()));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(paths.first()).absolutePath());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    // Without a file manager on the bus the call fails; then open the folder instead.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, folder] {
        if (watcher->isError())
            QDesktopServices::openUrl(folder);
        watcher->deleteLater();
    });
}

QString LinuxDesktopServices::fullNameFromGecos(const QString &gecos) { return gecos.section(QLatin1Char(','), 0, 0).trimmed(); }

QString LinuxDesktopServices::userFullName() const
{
    struct passwd entry { };
    struct passwd *result = nullptr;
    QByteArray buffer(16384, Qt::Uninitialized);
    if (getpwuid_r(getuid(), &entry, buffer.data(), size_t(buffer.size()), &result) != 0 || !result)
        return qEnvironmentVariable("USER");
    const QString fullName = fullNameFromGecos(QString::fromLocal8Bit(result->pw_gecos ? result->pw_gecos : ""));
    return fullName.isEmpty() ? QString::fromLocal8Bit(result->pw_name) : fullName;
}

std::optional<QString> LinuxDesktopServices::prettyHostnameFromMachineInfo(const QByteArray &contents)
{
    for (const QByteArray &raw : contents.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.startsWith("PRETTY_HOSTNAME="))
            continue;
        QString value = QString::fromUtf8(line.mid(16)).trimmed();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
            && value.back() == value.front()) {
            const QChar quote = value.front();
            value = value.mid(1, value.size() - 2);
            if (quote == QLatin1Char('"')) {
                // Shell double quotes: a backslash escapes the next character.
                QString unescaped;
                for (qsizetype i = 0; i < value.size(); ++i) {
                    if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size())
                        ++i;
                    unescaped.append(value.at(i));
                }
                value = unescaped;
            }
        }
        value = value.trimmed();
        if (!value.isEmpty())
            return value;
    }
    return std::nullopt;
}

QString LinuxDesktopServices::computerName() const
{
    QFile machineInfo(QStringLiteral("/etc/machine-info"));
    if (machineInfo.open(QIODevice::ReadOnly)) {
        if (auto pretty = prettyHostnameFromMachineInfo(machineInfo.read(64 * 1024)))
            return *pretty;
    }
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() || host == QLatin1String("localhost") ? QStringLiteral("Computer") : host;
}

std::optional<QString> LinuxDesktopServices::ensurePrivateDir(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info { };
    if (lstat(native.constData(), &info) != 0) {
        if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
            return QStringLiteral("Could not create %1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        if (lstat(native.constData(), &info) != 0)
            return QStringLiteral("Could not inspect %1").arg(path);
    }
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("%1 is a symbolic link; refusing to use it").arg(path);
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (info.st_uid != getuid())
        return QStringLiteral("%1 belongs to another user").arg(path);
    if ((info.st_mode & 0777) != 0700 && chmod(native.constData(), 0700) != 0)
        return QStringLiteral("Could not make %1 private").arg(path);
    return std::nullopt;
}

std::optional<QString> LinuxDesktopServices::privateTempDir()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QDir::isAbsolutePath(base) || !QFileInfo(base).isDir())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty() || !QDir().mkpath(base))
        return std::nullopt;
    const QString path = QDir(base).filePath(QStringLiteral("corvane"));
    if (const auto error = ensurePrivateDir(path)) {
        qCWarning(logDesktop, "Corvane: no private temporary folder: %s", qPrintable(*error));
        return std::nullopt;
    }
    return path;
}

} // namespace corvane
