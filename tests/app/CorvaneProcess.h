#pragma once

// The real corvane under Xvfb with a throw-away home, driven from outside.
#include "ThrowAwayHome.h"

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
        env = throwAwayHomeEnvironment(home);
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
        return run(QStringLiteral("xdotool"),
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                    QStringLiteral("^Corvane$")})
            == 0;
    }

    template<typename Condition> static bool waitFor(Condition condition, int ms = 20000)
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
