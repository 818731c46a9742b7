#pragma once

// The real corvane under Xvfb with a throw-away home, driven from outside.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace corvane::test {

inline const QString kCorvane = QStringLiteral(CORVANE_EXECUTABLE);

class Corvane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        QDir(home.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(home.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }

    void TearDown() override
    {
        if (HasFailure()) {
            QFile log(home.filePath(QStringLiteral("corvane.log")));
            log.open(QIODevice::ReadOnly);
            std::fprintf(stderr, "corvane said:\n%s\n", log.readAll().constData());
        }
        if (app.state() != QProcess::NotRunning) {
            app.terminate();
            if (!app.waitForFinished(5000))
                app.kill();
        }
    }

    void launch()
    {
        app.setProcessEnvironment(env);
        app.setStandardErrorFile(home.filePath(QStringLiteral("corvane.log")), QIODevice::Append);
        app.start(kCorvane, {});
        ASSERT_TRUE(app.waitForStarted());
        ASSERT_TRUE(waitFor([&] { return mainWindowVisible(); })) << "main window never appeared";
    }

    int run(const QString &program, const QStringList &args, QByteArray *out = nullptr)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        if (!process.waitForFinished(20000))
            return -1;
        if (out)
            *out = process.readAllStandardOutput() + process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    /** What corvane wrote to stderr so far. */
    QByteArray log() const
    {
        QFile file(home.filePath(QStringLiteral("corvane.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool mainWindowVisible()
    {
        return run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                               QStringLiteral("--name"), QStringLiteral("^Corvane$")}) == 0;
    }

    template <typename Condition>
    static bool waitFor(Condition condition, int ms = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
            if (condition())
                return true;
            QThread::msleep(100);
        }
        return condition();
    }

    QTemporaryDir home;
    QProcessEnvironment env;
    QProcess app;
};

} // namespace corvane::test
