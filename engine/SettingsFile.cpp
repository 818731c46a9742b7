#include "SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::SettingsFile {
namespace {

void restrictTo(const QString &path, mode_t mode)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info { };
    if (::stat(native.constData(), &info) == 0 && (info.st_mode & 0777) != mode)
        ::chmod(native.constData(), mode);
}

/**
 * Qt reads almost anything as INI without an error, silently dropping what it cannot parse. What
 * Qt writes never holds raw control characters, invalid UTF-8, or lines that are neither a
 * [section], a key=value pair nor a comment: a file with any of those is not ours to overwrite.
 */
bool isReadable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7f)
            return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return false;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if ((trimmed.startsWith(u'[') && trimmed.endsWith(u']')) || trimmed.contains(u'='))
            continue;
        return false;
    }
    return QSettings(path, QSettings::IniFormat).status() == QSettings::NoError;
}

std::optional<QString> keepUnreadable(const QString &path)
{
    if (!QFileInfo::exists(path) || isReadable(path))
        return std::nullopt;
    const QFileInfo info(path);
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept;
    for (int n = 0; kept.isEmpty() || QFileInfo::exists(kept); ++n) {
        kept = info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral(".unreadable-") + stamp
            + (n ? QStringLiteral("-%1").arg(n) : QString()) + u'.' + info.suffix();
    }
    if (!QFile::rename(path, kept)) {
        return QStringLiteral("The settings file “%1” can’t be read; Corvane uses its defaults and leaves the file alone.")
            .arg(info.fileName());
    }
    return QStringLiteral("The settings file couldn’t be read. It was kept as “%1”, and Corvane starts with its defaults.")
        .arg(QFileInfo(kept).fileName());
}

} // namespace

std::optional<QString> prepare(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    restrictTo(folder, 0700);
    std::optional<QString> message = keepUnreadable(path);
    // Created private before Qt writes it: Qt keeps the mode of the file it replaces.
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    restrictTo(path, 0600);
    return message;
}

} // namespace corvane::SettingsFile
