// The popover under the tray icon, driven with the mouse and keyboard as a person does.
#include "Harness.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

namespace e2e {
namespace {

QStringList numberedTexts(int count, const QString &stem)
{
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts.append(QStringLiteral("%1 %2").arg(stem).arg(i));
    return texts;
}

using Popover = Harness;

// Where things sit in the popover (its own coordinates) while the list shows from its top.
constexpr int kRowX = 170;
int rowY(int row) { return 142 + 53 * row; }
const QPoint kAway(20, 780);

// Clicking a row copies the clip under the pointer: a probe of what the list shows there.
QString clipAt(Harness &h, QPoint inPopover, QPoint origin)
{
    h.click(origin + inPopover);
    QString text;
    h.waitFor(
        [&] {
            text = h.clipboardText();
            return !text.isEmpty() && text != QLatin1String("-");
        },
        3000);
    return text;
}

TEST_F(Popover, WheelScrollingTheRecentListKeepsTheAppResponsive)
{
    startApp();
    seedText(numberedTexts(50, QStringLiteral("scroll clip")));
    openPopover();
    screenshot(QStringLiteral("popover-opened"));

    const QPoint list = inPopover(170, 260);
    for (int round = 0; round < 2; ++round) {
        wheel(list, 10);
        settle(200);
        wheel(list, -10);
        settle(200);
    }
    settle(1000);
    expectHealthy();
    EXPECT_TRUE(popoverShown());
    EXPECT_LT(watchdog->rssGrowthKb(), 150 * 1024) << "memory grew while scrolling";
    screenshot(QStringLiteral("popover-after-wheel"));
}

TEST_F(Popover, DraggingClipsOutDeliversTheirWholePayloads)
{
    startApp();
    // The image is copied last: however long its processing takes, it is the newest row.
    const QString text = QStringLiteral("dragged text – whole, not empty");
    seedText({text});
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    seedFormats({{QStringLiteral("image/png"), png}});
    const QPoint target = showDropTarget();

    openPopover();
    dragTo(inPopover(kRowX, rowY(0)), target);
    QMap<QString, QByteArray> got = dropped();
    const QImage arrived = QImage::fromData(got.value(QStringLiteral("image/png")));
    EXPECT_EQ(arrived.size(), image.size()) << "formats: " << got.keys().join(u' ').toStdString();
    EXPECT_EQ(arrived.pixelColor(10, 10), QColor(200, 40, 90));
    const QList<QByteArray> uris = got.value(QStringLiteral("text/uri-list")).split('\n');
    ASSERT_FALSE(uris.isEmpty());
    const QString file = QUrl(QString::fromUtf8(uris.first().trimmed())).toLocalFile();
    EXPECT_TRUE(QFile::exists(file)) << "the dragged image file " << file.toStdString();

    QFile::remove(home.filePath(QStringLiteral("dropped/formats.txt")));
    openPopover();
    dragTo(inPopover(kRowX, rowY(1)), target);
    got = dropped();
    EXPECT_EQ(got.value(QStringLiteral("text/plain")), text.toUtf8()) << "formats: " << got.keys().join(u' ').toStdString();
    expectHealthy();
}

TEST_F(Popover, KeysStillWorkAfterTheContextMenu)
{
    startApp();
    seedText({QStringLiteral("menu third"), QStringLiteral("menu second"), QStringLiteral("menu first")});
    openPopover();
    rightClick(inPopover(170, 142));
    settle(500);
    screenshot(QStringLiteral("context-menu"));
    key(QStringLiteral("Escape"));
    settle();
    key(QStringLiteral("ctrl+2"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QLatin1String("menu second"); }, 5000))
        << "Ctrl+2 after the menu copied " << clipboardText().toStdString();

    // Also after the popover was closed and opened again.
    if (popoverShown())
        click(QPoint(20, 780));
    ASSERT_TRUE(waitFor([&] { return !popoverShown(); }));
    openPopover();
    rightClick(inPopover(170, 142));
    settle(500);
    key(QStringLiteral("Escape"));
    click(QPoint(20, 780));
    ASSERT_TRUE(waitFor([&] { return !popoverShown(); }));
    openPopover();
    type(QStringLiteral("third"));
    key(QStringLiteral("Down Return"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QLatin1String("menu third"); }, 5000))
        << "typing and Return after the menu copied " << clipboardText().toStdString();
    expectHealthy();
}

TEST_F(Popover, OpeningSearchingAndPinningShowTheListFromItsTop)
{
    startApp();
    seedText(numberedTexts(20, QStringLiteral("top clip")));

    // Scrolled, closed with Escape, opened again: the newest clip is in the first row.
    openPopover();
    wheel(inPopover(kRowX, rowY(2)), 6);
    settle(500);
    key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitFor([&] { return !popoverShown(); })) << "Escape did not close the popover";
    openPopover();
    EXPECT_EQ(clipAt(*this, QPoint(kRowX, rowY(0)), popoverGeometry().topLeft()), QStringLiteral("top clip 20"));

    // A query scrolled down, then cleared with Escape: from the top again; a second Escape closes.
    openPopover();
    type(QStringLiteral("clip 1"));
    wheel(inPopover(kRowX, rowY(2)), 5);
    settle(500);
    key(QStringLiteral("Escape"));
    settle();
    EXPECT_TRUE(popoverShown()) << "the first Escape only clears the search";
    screenshot(QStringLiteral("search-cleared"));
    EXPECT_EQ(clipAt(*this, QPoint(kRowX, rowY(0)), popoverGeometry().topLeft()), QStringLiteral("top clip 20"));

    // Pinning shows the new strip above the list.
    openPopover();
    moveTo(inPopover(kRowX, rowY(2)));
    settle(400);
    click(inPopover(298, rowY(2)));
    settle(800);
    screenshot(QStringLiteral("pinned-strip"));
    EXPECT_EQ(clipAt(*this, QPoint(60, 160), popoverGeometry().topLeft()), QStringLiteral("top clip 18"))
        << "the pinned strip is not in sight";
    expectHealthy();
}

TEST_F(Popover, HoveringEndsWhenThePopoverCloses)
{
    startApp();
    seedText({QStringLiteral("hover third"), QStringLiteral("hover second"), QStringLiteral("hover first")});
    openPopover();
    const QRect trailing(250, rowY(1) - 20, 80, 40);
    const QImage rest = steadyScreenshot(QStringLiteral("hover-rest")).copy(trailing);
    moveTo(inPopover(kRowX, rowY(1)));
    ASSERT_TRUE(waitFor([&] { return imagesDiffer(screenshot(QStringLiteral("hover-on")).copy(trailing), rest); }, 3000))
        << "hovering a row shows nothing";
    key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitFor([&] { return !popoverShown(); }));
    moveTo(kAway);
    openPopover();
    EXPECT_FALSE(imagesDiffer(steadyScreenshot(QStringLiteral("hover-after-reopen")).copy(trailing), rest))
        << "the row still looks hovered after the popover closed";
    expectHealthy();
}

TEST_F(Popover, TheVerticalWheelScrollsTheChipRow)
{
    startApp();
    // One clip of many groups: more chips than the row has room for.
    seedText({QStringLiteral("https://example.com/page"), QStringLiteral("#ff5733"), QStringLiteral("someone@example.com"),
              QStringLiteral("+1 555 123 4567"), QStringLiteral("123456789"), QStringLiteral("int main() { return 0; }"),
              QStringLiteral("plain words here")});
    openPopover();
    const QRect chips(12, 52, 316, 24);
    const QImage before = screenshot(QStringLiteral("chips-before")).copy(chips);
    wheel(inPopover(200, 64), 4);
    settle(600);
    EXPECT_TRUE(imagesDiffer(screenshot(QStringLiteral("chips-after")).copy(chips), before)) << "the chip row did not scroll";
    expectHealthy();
}

TEST_F(Popover, ThePasteQueuePanelHidesNeitherThePopoverNorTheIcon)
{
    startApp();
    seedText({QStringLiteral("queued second"), QStringLiteral("queued first")});
    const QRect icon = windowGeometry(trayIcon());
    openPopover();
    const QRect popoverArea = popoverGeometry();
    rightClick(inPopover(kRowX, rowY(0)));
    settle(500);
    click(inPopover(kRowX + 30, rowY(0) + 97)); // "Add to Corvane", the fourth entry
    QList<quint32> panels;
    ASSERT_TRUE(waitFor([&] { return !(panels = visibleWindows(QStringLiteral("^Paste Queue$"))).isEmpty(); }))
        << "the paste-queue panel did not open";
    const QRect panel = windowGeometry(panels.first());
    screenshot(QStringLiteral("paste-queue-panel"), true);
    EXPECT_FALSE(panel.intersects(popoverArea))
        << "the panel covers the popover: " << ::testing::PrintToString(panel) << " " << ::testing::PrintToString(popoverArea);
    EXPECT_FALSE(panel.intersects(icon)) << "the panel covers the tray icon";
    expectHealthy();
}

TEST_F(Popover, TheMainWindowKeepsItsPlaceAndSizeAcrossHidingAndRuns)
{
    startApp();
    const QString window = QString::number(mainWindow);
    run(QStringLiteral("xdotool"),
        {QStringLiteral("windowsize"), window, QStringLiteral("820"), QStringLiteral("560"), QStringLiteral("windowmove"), window,
         QStringLiteral("230"), QStringLiteral("170")});
    QRect placed;
    ASSERT_TRUE(waitFor([&] {
        placed = windowGeometry(mainWindow);
        return placed.size() == QSize(820, 560) && std::abs(placed.x() - 230) < 20;
    })) << "the window manager did not move the window";
    settle(300);
    placed = windowGeometry(mainWindow);

    for (int i = 0; i < 2; ++i) {
        run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(mainWindow)});
        ASSERT_EQ(run(QStringLiteral(CORVANE_EXECUTABLE), {QStringLiteral("--toggle")}), 0);
        ASSERT_TRUE(waitFor([&] { return findMainWindow() == 0; })) << "--toggle did not hide the window";
        ASSERT_EQ(run(QStringLiteral(CORVANE_EXECUTABLE), {QStringLiteral("--toggle")}), 0);
        ASSERT_TRUE(waitFor([&] { return (mainWindow = findMainWindow()) != 0; })) << "--toggle did not show the window";
        settle(300);
        EXPECT_EQ(windowGeometry(mainWindow), placed) << "shown again, round " << i;
    }

    stopApp();
    startApp();
    settle(300);
    EXPECT_EQ(windowGeometry(mainWindow), placed) << "in the next run";
}

TEST_F(Popover, TheMainWindowDrawsColourSwatchesAsTheCoreReadsThem)
{
    startApp();
    seedText({QStringLiteral("hsl(14, 100%, 61%)")});
    settle(500);
    const QRect window = windowGeometry(mainWindow);
    const QImage shot
        = screenshot(QStringLiteral("main-window-swatch"), true).copy(window.adjusted(0, 0, -window.width() / 2, 0));
    int swatch = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (std::abs(c.red() - 255) + std::abs(c.green() - 102) + std::abs(c.blue() - 56) < 30)
                ++swatch;
        }
    }
    EXPECT_GT(swatch, 100) << "no swatch in the colour of hsl(14, 100%, 61%) (#FF6638)";
}

TEST_F(Popover, TheReadmesCommandsWorkAfterMakeRun)
{
    QFile readme(QStringLiteral(CORVANE_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QRegularExpression command(QStringLiteral("`((?:[\\w./-]*/)?corvane) --toggle`"));
    QStringList programs;
    for (const QRegularExpressionMatch &match : command.globalMatch(text))
        programs.append(match.captured(1));
    ASSERT_FALSE(programs.isEmpty()) << "the README names no toggle command";

    startApp();
    for (const QString &program : std::as_const(programs)) {
        // `make run` builds into build/ of the source folder and starts from there.
        QString path = program;
        if (path.startsWith(QLatin1String("build/")))
            path = QStringLiteral(CORVANE_BINARY_DIR) + path.mid(5);
        EXPECT_EQ(run(path, {QStringLiteral("--toggle")}), 0)
            << program.toStdString() << " --toggle does not work after make run";
    }
}

} // namespace
} // namespace e2e
