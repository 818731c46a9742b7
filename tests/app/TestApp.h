#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <initializer_list>

namespace corvane::test {

// One application object for the whole test program (GoogleTest owns main()).
inline QApplication &testApp()
{
    static int argc = 1;
    static char name[] = "corvane-tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

/** Points HOME and the XDG folders named (each a folder of that name in `home`) at a throw-away home. */
inline void useThrowAwayHome(const QTemporaryDir &home,
                             std::initializer_list<const char *> names = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
{
    qputenv("HOME", home.path().toLocal8Bit());
    for (const char *name : names) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        qputenv(name, path.toLocal8Bit());
    }
}

} // namespace corvane::test
