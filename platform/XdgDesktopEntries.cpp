#include "XdgDesktopEntries.h"

#include "DesktopEntryParser.h"
#include "XdgDirs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QLocale>

namespace corvane {

namespace {

QImage imageFromFile(const QString &path, int size)
{
    QImageReader reader(path);
    const QSize native = reader.size();
    if (native.isValid() && (native.width() > size || native.height() > size || path.endsWith(QLatin1String(".svg"))))
        reader.setScaledSize(native.scaled(size, size, Qt::KeepAspectRatio));
    return reader.read();
}

/** The locale names are chosen by, as POSIX orders the variables ("sr_RS.UTF-8@latin"). */
QString messagesLocale()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QLocale().name();
}

} // namespace

XdgDesktopEntries::XdgDesktopEntries()
    : XdgDesktopEntries(standardDataDirs())
{
}

XdgDesktopEntries::XdgDesktopEntries(QStringList dataDirs)
    : m_dataDirs(std::move(dataDirs))
{
}

QStringList XdgDesktopEntries::standardDataDirs() { return XdgDirs::dataDirs(); }

void XdgDesktopEntries::ensureIndexed() const
{
    std::call_once(m_indexed, [this] {
        const QString locale = messagesLocale();
        QList<DesktopEntry> entries;
        QSet<QString> seen;
        for (const QString &dataDir : m_dataDirs) {
            const QString applications = dataDir + QLatin1String("/applications");
            QDirIterator it(applications, {QStringLiteral("*.desktop")}, QDir::Files,
                            QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
            QStringList files;
            while (it.hasNext())
                files.append(it.next());
            files.sort();
            for (const QString &path : std::as_const(files)) {
                const QString id = DesktopEntryParser::idForPath(applications, path);
                // The first folder holding an id wins, even when that entry hides the id.
                if (seen.contains(id))
                    continue;
                seen.insert(id);
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024)
                    continue;
                if (auto entry = DesktopEntryParser::parse(file.readAll(), id, locale)) {
                    entry->path = path;
                    entries.append(*entry);
                }
            }
        }
        m_index = DesktopEntryIndex(entries);
    });
}

std::optional<DesktopEntry> XdgDesktopEntries::entry(const QString &id) const
{
    ensureIndexed();
    return m_index.entry(id);
}

QImage XdgDesktopEntries::icon(const QString &id, int size) const
{
    const auto found = entry(id);
    if (!found || found->icon.isEmpty() || size <= 0)
        return {};
    const QString &name = found->icon;
    if (QDir::isAbsolutePath(name))
        return QFileInfo::exists(name) ? imageFromFile(name, size) : QImage();
    const QIcon themed = QIcon::fromTheme(name);
    if (!themed.isNull())
        return themed.pixmap(QSize(size, size)).toImage();
    // Old programs install a bare file in the pixmaps folders.
    for (const QString &dataDir : m_dataDirs) {
        for (const char *suffix : {".png", ".svg", ".xpm"}) {
            const QString path = dataDir + QLatin1String("/pixmaps/") + name + QLatin1String(suffix);
            if (QFileInfo::exists(path))
                return imageFromFile(path, size);
        }
    }
    return {};
}

std::optional<QString> XdgDesktopEntries::matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                                      const QString &executable) const
{
    ensureIndexed();
    return m_index.matchWindow(wmClassInstance, wmClassClass, executable);
}

QList<DesktopEntry> XdgDesktopEntries::allEntries() const
{
    ensureIndexed();
    return m_index.visibleEntries();
}

} // namespace corvane
