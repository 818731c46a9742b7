// The main window's clip list, driven with the wheel, mouse and keyboard as a person does.
#include "Harness.h"

#include "ClipDatabase.h"

#include <QDateTime>

namespace e2e {
namespace {

using ClipList = Harness;

// Where things sit in the main window while the list shows from its top (window coordinates):
// the menu bar, then 132 points of header and tabs, the day header, then rows of 74 six apart.
QPoint inWindow(Harness &h, int x, int y) { return h.windowGeometry(h.mainWindow).topLeft() + QPoint(x, y); }
int rowY(int row) { return 28 + 132 + 34 + 37 + 80 * row; }

/** 250 clips over two days, newest "clip 0", written before the app starts. */
void seedHistory(Harness &h)
{
    corvane::ClipDatabase db(h.home.filePath(QStringLiteral("data/Corvane/history.sqlite")));
    // The rows the test points at share one day: in the hours after midnight a day header would
    // come between them, so the history then ends just before midnight.
    const QDateTime midnight(QDate::currentDate(), QTime(0, 0));
    double now = QDateTime::currentSecsSinceEpoch();
    if (now - double(midnight.toSecsSinceEpoch()) < 3 * 3600)
        now = double(midnight.toSecsSinceEpoch()) - 60;
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

TEST_F(ClipList, WheelKeysClicksAndTheMenuWorkOnTheRealList)
{
    seedHistory(*this);
    startApp();
    run(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(mainWindow)});
    settle(800);
    screenshot(QStringLiteral("clip-list-opened"), true);

    // The wheel, many notches both ways: the app keeps answering and memory settles.
    const QPoint list = inWindow(*this, 400, 420);
    for (int round = 0; round < 6; ++round) {
        wheel(list, 40);
        wheel(list, -40);
    }
    wheel(list, 25);
    settle(1000);
    expectHealthy();
    EXPECT_LT(watchdog->rssGrowthKb(), 150 * 1024) << "memory grew while scrolling";
    screenshot(QStringLiteral("clip-list-scrolled"), true);

    // Back at the top: a click selects, Return copies it, Down and Return the next one.
    wheel(list, -80);
    settle(1500); // a wheel flick ends before the click, or the click only stops it
    click(inWindow(*this, 300, rowY(0)));
    settle();
    key(QStringLiteral("Return"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QLatin1String("clip 0 of the history"); }, 5000))
        << clipboardText().toStdString();
    key(QStringLiteral("Down Return"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QLatin1String("clip 1 of the history"); }, 5000));

    // A right-click menu, closed with Escape, leaves the keys with the list.
    rightClick(inWindow(*this, 300, rowY(2)));
    settle(500);
    screenshot(QStringLiteral("clip-list-menu"), true);
    key(QStringLiteral("Escape"));
    settle();
    key(QStringLiteral("Down Return"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QLatin1String("clip 2 of the history"); }, 5000))
        << "the list lost the keyboard after the menu";

    // Backspace held down deletes one clip, not the history.
    run(QStringLiteral("xdotool"), {"keydown", "BackSpace"});
    settle(1500);
    run(QStringLiteral("xdotool"), {"keyup", "BackSpace"});
    settle(500);
    EXPECT_EQ(storedClips(), 249);
    expectHealthy();
    screenshot(QStringLiteral("clip-list-after-delete"), true);
}

TEST_F(ClipList, DraggingARowOutDeliversItsText)
{
    seedHistory(*this);
    startApp();
    run(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(mainWindow)});
    settle(800);
    // The window moves right so the drop target on the left stays uncovered.
    run(QStringLiteral("xdotool"), {"windowmove", "--sync", QString::number(mainWindow), "280", "40"});
    const QPoint target = showDropTarget();
    settle(800);
    screenshot(QStringLiteral("clip-list-before-drag"), true);
    dragTo(inWindow(*this, 300, rowY(0)), target);
    const QMap<QString, QByteArray> got = dropped();
    EXPECT_EQ(got.value(QStringLiteral("text/plain")), QByteArray("clip 0 of the history"));
    expectHealthy();
}

} // namespace
} // namespace e2e
