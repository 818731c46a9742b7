#include "XdgDirs.h"

#include <QDir>

namespace corvane::XdgDirs {

namespace {

QStringList absolutePaths(const QString &value)
{
    QStringList paths;
    for (const QString &path : value.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(path))
            paths.append(QDir::cleanPath(path));
    }
    return paths;
}

QString homeRelative(const char *variable, const char *fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QDir::homePath() + QLatin1String(fallback);
}

} // namespace

QString configHome() { return homeRelative("XDG_CONFIG_HOME", "/.config"); }

QStringList dataDirs()
{
    QStringList dirs{homeRelative("XDG_DATA_HOME", "/.local/share")};
    QStringList system = absolutePaths(qEnvironmentVariable("XDG_DATA_DIRS"));
    if (system.isEmpty())
        system = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    for (const QString &dir : std::as_const(system)) {
        if (!dirs.contains(dir))
            dirs.append(dir);
    }
    return dirs;
}

} // namespace corvane::XdgDirs
