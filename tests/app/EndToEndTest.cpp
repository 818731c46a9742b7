// Starts the real corvane under Xvfb with a throw-away home and drives it from outside.
#include "ClipDatabase.h"
#include "CorvaneProcess.h"
#include "../ProcessMemory.h"

#include <QDateTime>

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

TEST_F(Corvane, TheClipListTakesTheWheelKeysClicksAndTheMenu)
{
    // 250 clips over two days, newest "clip 0".
    const QString history = home.filePath(QStringLiteral("data/Corvane/history.sqlite"));
    {
        corvane::ClipDatabase db(history);
        const double now = QDateTime::currentSecsSinceEpoch();
        for (int i = 249; i >= 0; --i) {
            corvane::ClipDatabase::NewClip clip;
            clip.text = QStringLiteral("clip %1 of the history").arg(i);
            clip.byteSize = clip.text->size();
            clip.sourceName = QStringLiteral("Text Editor");
            clip.createdAt = now - i * 600;
            clip.hash = QStringLiteral("e2e-%1").arg(i);
            db.insert(clip);
        }
    }
    QProcess windowManager;
    windowManager.setProcessEnvironment(env);
    windowManager.start(QStringLiteral("openbox"), {});
    const bool hasWindowManager = windowManager.waitForStarted(5000);
    launch();
    QByteArray out;
    ASSERT_EQ(run(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Corvane$"}, &out), 0);
    const QString window = QString::fromLatin1(out.trimmed().split('\n').first());
    run(QStringLiteral("xdotool"), {"windowmove", "--sync", window, "0", "0"});
    run(QStringLiteral("xdotool"), {"windowsize", "--sync", window, "1000", "700"});
    run(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    QThread::msleep(800);
    auto clipboard = [&] {
        QByteArray text;
        run(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"}, &text);
        return QString::fromUtf8(text);
    };
    auto shot = [&](const QString &name) {
        run(QStringLiteral("scrot"), {"--overwrite", QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + name});
    };
    auto xdo = [&](const QStringList &args) { return run(QStringLiteral("xdotool"), args); };
    shot(QStringLiteral("e2e-clip-list.png"));

    // The wheel, many notches both ways: memory settles and the app keeps answering.
    xdo({"mousemove", "--window", window, "500", "450"});
    auto scroll = [&](int rounds) {
        for (int round = 0; round < rounds; ++round) {
            xdo({"click", "--repeat", "40", "--delay", "8", "5"});
            xdo({"click", "--repeat", "40", "--delay", "8", "4"});
        }
        QThread::msleep(1000);
        return corvane::test::rssKiB(app.processId());
    };
    const long before = corvane::test::rssKiB(app.processId());
    const long warm = scroll(9); // the rows, glyphs, pool and script heap a scroll needs, once
    const long after = scroll(9);
    std::printf("[e2e] wheel: RSS %ld KiB, %ld after 9 rounds, %ld after 9 more\n", before, warm, after);
    EXPECT_LT(after - warm, 8 * 1024) << "memory keeps growing while scrolling";
    xdo({"click", "--repeat", "25", "--delay", "8", "5"});
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--toggle")}), 0) << "no answer after scrolling";
    EXPECT_TRUE(waitFor([&] { return !mainWindowVisible(); }));
    EXPECT_EQ(run(kCorvane, {QStringLiteral("--toggle")}), 0);
    EXPECT_TRUE(waitFor([&] { return mainWindowVisible(); }));
    xdo({"windowactivate", "--sync", window});
    shot(QStringLiteral("e2e-clip-list-scrolled.png"));

    // Back at the top: a click selects, Return copies it, Down and Return the next one.
    xdo({"mousemove", "--window", window, "500", "450"});
    xdo({"click", "--repeat", "80", "--delay", "4", "4"});
    QThread::msleep(1500); // a wheel flick ends before the click, or the click only stops it
    xdo({"mousemove", "--window", window, "300", "230"});
    xdo({"click", "1"});
    QThread::msleep(300);
    xdo({"key", "Return"});
    EXPECT_TRUE(waitFor([&] { return clipboard().startsWith("clip "); }, 5000)) << clipboard().toStdString();
    const QString first = clipboard();
    xdo({"key", "Down", "Return"});
    EXPECT_TRUE(waitFor([&] { return clipboard() != first && clipboard().startsWith("clip "); }, 5000));

    // A right-click menu, closed with Escape, leaves the keys with the list.
    const QString second = clipboard();
    xdo({"click", "3"});
    QThread::msleep(500);
    shot(QStringLiteral("e2e-clip-list-menu.png"));
    xdo({"key", "Escape"});
    QThread::msleep(300);
    xdo({"key", "Down", "Return"});
    EXPECT_TRUE(waitFor([&] { return clipboard() != second && clipboard().startsWith("clip "); }, 5000))
        << "the list lost the keyboard after the menu";

    // Backspace held down deletes one clip, not the history.
    xdo({"keydown", "BackSpace"});
    QThread::msleep(1500);
    xdo({"keyup", "BackSpace"});
    QThread::msleep(500);
    {
        corvane::ClipDatabase db(history);
        EXPECT_EQ(db.clipCount(), 249);
    }
    shot(QStringLiteral("e2e-clip-list-after-delete.png"));
    if (hasWindowManager) {
        windowManager.terminate();
        windowManager.waitForFinished(3000);
    }
}

TEST_F(Corvane, QuitsInOrderOnTerminate)
{
    launch();
    app.terminate();   // what the session sends at logout
    ASSERT_TRUE(app.waitForFinished(10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit) << "killed by the signal instead of quitting";
    EXPECT_EQ(app.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("run/corvane-%1.socket").arg(::getuid()))))
        << "the single-instance socket was left behind";
}
