#include "ThrowAwayHome.h"

#include <QDir>
#include <QFile>

namespace corvane::test {

QProcessEnvironment throwAwayHomeEnvironment(const QTemporaryDir &home)
{
    const QString run = home.filePath(QStringLiteral("run"));
    QDir().mkpath(run);
    QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

void useThrowAwayHome(const QTemporaryDir &home, std::initializer_list<const char *> names)
{
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char *name : names) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        qputenv(name, path.toLocal8Bit());
    }
}

} // namespace corvane::test
