// Starts the real corvane under Xvfb with a throw-away home and drives it from outside.
#include "CorvaneProcess.h"

namespace {

using namespace corvane::test;

TEST_F(Corvane, StartsWithATrayOrSaysThereIsNone)
{
    launch();
    // Xvfb has no tray host: the app must say so instead of vanishing.
    QFile log(home.filePath(QStringLiteral("corvane.log")));
    ASSERT_TRUE(waitFor([&] {
        log.close();
        return log.open(QIODevice::ReadOnly) && log.readAll().contains("Corvane: no system tray");
    }));
    EXPECT_EQ(app.state(), QProcess::Running);
}

TEST_F(Corvane, SecondCopyFromTheSamePathHandsOverAndExits)
{
    launch();
    EXPECT_EQ(run(kCorvane, {}), 0);
    EXPECT_EQ(app.state(), QProcess::Running) << "the first copy keeps running";
}

TEST_F(Corvane, ToggleAndTheHotKeyShowAndHideTheMainWindow)
{
    launch();
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--toggle")}), 0);
    EXPECT_TRUE(waitFor([&] { return !mainWindowVisible(); })) << "--toggle did not hide the window";
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--toggle")}), 0);
    EXPECT_TRUE(waitFor([&] { return mainWindowVisible(); })) << "--toggle did not show the window";

    // The global key, grabbed on the root window, works with NumLock on as well.
    EXPECT_EQ(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("super+shift+v")}), 0);
    EXPECT_TRUE(waitFor([&] { return !mainWindowVisible(); })) << "Super+Shift+V did not hide the window";
    EXPECT_EQ(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Num_Lock")}), 0);
    EXPECT_EQ(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("super+shift+v")}), 0);
    EXPECT_TRUE(waitFor([&] { return mainWindowVisible(); })) << "Super+Shift+V with NumLock did not show the window";
    EXPECT_EQ(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Num_Lock")}), 0);
}

TEST_F(Corvane, ForwardedNextWithoutARunningCopyFails)
{
    QByteArray out;
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--next")}, &out), 1);
    EXPECT_TRUE(out.contains("not running")) << out.constData();
}

TEST_F(Corvane, SelfTestWritesItsReportAndPasses)
{
    QByteArray out;
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--self-test")}, &out), 0) << out.constData();
    // No desktop folder in the throw-away home: the report goes to the home folder.
    QFile report(home.filePath(QStringLiteral("Corvane Self-Test.txt")));
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QByteArray text = report.readAll();
    EXPECT_TRUE(text.contains("PASS database dedupe"));
    EXPECT_FALSE(text.contains("FAIL"));
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("data/Corvane/history.sqlite"))))
        << "the self-test must not touch the user's history";
}

} // namespace

TEST_F(Corvane, ACopyFromAnotherPathTakesOver)
{
    launch();
    // A second install of Corvane (another path) asks the running one to quit and stays.
    const QString other = home.filePath(QStringLiteral("other/corvane"));
    QDir().mkpath(QFileInfo(other).path());
    ASSERT_TRUE(QFile::copy(kCorvane, other));
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(other, {});
    ASSERT_TRUE(second.waitForStarted());
    EXPECT_TRUE(app.waitForFinished(15000)) << "the first copy did not quit";
    EXPECT_EQ(app.exitCode(), 0);
    EXPECT_FALSE(second.waitForFinished(2000)) << "the new copy should keep running";
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--toggle")}), 0) << "the new copy answers commands";
    second.terminate();
    second.waitForFinished(5000);
}

TEST_F(Corvane, EnablesLaunchAtLoginOnlyOnce)
{
    const QString entry = home.filePath(QStringLiteral("config/autostart/corvane.desktop"));
    launch();
    EXPECT_TRUE(waitFor([&] { return QFile::exists(entry); })) << "the first start registers the login item";
    app.terminate();
    ASSERT_TRUE(app.waitForFinished(10000));

    // The user turned it off; later starts leave that choice alone.
    ASSERT_TRUE(QFile::remove(entry));
    launch();
    QThread::msleep(500);
    EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(Corvane, QuitsInOrderOnTerminate)
{
    launch();
    app.terminate(); // what the session sends at logout
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << "killed by the signal instead of quitting";
    EXPECT_EQ(app.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("run/corvane-%1.socket").arg(::getuid()))))
        << "the single-instance socket was left behind";
}
