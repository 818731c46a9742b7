#include "XdgAutostartLoginItem.h"

#include "DesktopEntryParser.h"
#include "XdgDirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace corvane {

namespace {

const QString fileName = QStringLiteral("corvane.desktop");

} // namespace

XdgAutostartLoginItem::XdgAutostartLoginItem()
    : XdgAutostartLoginItem(XdgDirs::configHome() + QLatin1String("/autostart"), QCoreApplication::applicationFilePath())
{
}

XdgAutostartLoginItem::XdgAutostartLoginItem(QString autostartDir, QString executablePath)
    : m_dir(std::move(autostartDir))
    , m_executable(std::move(executablePath))
{
}

QString XdgAutostartLoginItem::filePath() const { return m_dir + QLatin1Char('/') + fileName; }

QByteArray XdgAutostartLoginItem::entryContents(const QString &executablePath)
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Corvane\n"
                             "Comment=Clipboard history\n")
        + "Exec=" + DesktopEntryParser::quoteExecArgument(executablePath).toUtf8() + "\n"
        + QByteArrayLiteral("Icon=corvane\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n");
}

bool XdgAutostartLoginItem::isEnabled() const
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const auto keyFile = DesktopEntryParser::parseKeyFile(file.read(1024 * 1024));
    const auto group = keyFile.constFind(QStringLiteral("Desktop Entry"));
    if (group == keyFile.cend())
        return false;
    const auto isSet = [&](const QString &key, const QLatin1String value) {
        return group->value(key).compare(value, Qt::CaseInsensitive) == 0;
    };
    return !isSet(QStringLiteral("Hidden"), QLatin1String("true"))
        && !isSet(QStringLiteral("X-GNOME-Autostart-enabled"), QLatin1String("false"))
        && !group->value(QStringLiteral("Exec")).isEmpty();
}

std::optional<QString> XdgAutostartLoginItem::setEnabled(bool enabled)
{
    const QString path = filePath();
    if (!enabled) {
        QFile file(path);
        if (file.exists() && !file.remove())
            return QStringLiteral("Could not remove %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (m_executable.isEmpty())
        return QStringLiteral("The program's own path is unknown");
    if (!QDir().mkpath(m_dir))
        return QStringLiteral("Could not create the folder %1").arg(m_dir);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    file.write(entryContents(m_executable));
    if (!file.commit())
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    return std::nullopt;
}

} // namespace corvane
