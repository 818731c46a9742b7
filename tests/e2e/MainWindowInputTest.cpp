// The main window driven as a person does: widths across the layout thresholds, arrows, Space for
// Quick Look, Ctrl+T and a tag chip, typing a note, Return, the welcome tour of a first run.
#include "Harness.h"

#include <QDir>
#include <QSettings>

using namespace e2e;

namespace {

class MainWindow : public Harness
{
protected:
    QRect area() { return windowGeometry(mainWindow); }
    QPoint at(int x, int y) { return area().topLeft() + QPoint(x, y); }
    QPoint fromRight(int x, int y) { return area().topRight() + QPoint(-x, y); }

    void resizeTo(int width, int height)
    {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("windowsize"), QString::number(mainWindow), QString::number(width), QString::number(height)});
        ASSERT_TRUE(waitFor([&] { return area().size() == QSize(width, height); })) << "not resized to " << width;
        settle(500);
    }

    QImage shot(const QString &name)
    {
        settle(400);
        const QRect window = area();
        const QImage whole = screenshot(QStringLiteral("main-screen"), true);
        const QImage part = whole.copy(window);
        part.save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/e2e/") + name + QStringLiteral(".png"));
        return part;
    }

    /** Mean brightness of the window's top-left corner: a sheet's modal shade darkens it. */
    double cornerBrightness()
    {
        const QImage corner = shot(QStringLiteral("main-corner")).copy(0, 0, 80, 80);
        double sum = 0;
        for (int y = 0; y < corner.height(); ++y)
            for (int x = 0; x < corner.width(); ++x)
                sum += qGray(corner.pixel(x, y));
        return sum / (corner.width() * corner.height());
    }

    /** The centre of the pixels of `colour` inside `region` of a window shot, in at() coordinates. */
    static QPoint findColour(const QImage &shot, const QRect &region, QColor colour)
    {
        qint64 sumX = 0, sumY = 0, count = 0;
        const QRect within = region & shot.rect();
        for (int y = within.top(); y <= within.bottom(); ++y) {
            for (int x = within.left(); x <= within.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue())
                    < 16) {
                    sumX += x;
                    sumY += y;
                    ++count;
                }
            }
        }
        return count < 20 ? QPoint(-1, -1) : QPoint(int(sumX / count), int(sumY / count));
    }

    bool tourMarkedSeen()
    {
        QSettings settings(home.filePath(QStringLiteral("config/Corvane/Corvane.conf")), QSettings::IniFormat);
        return settings.value(QStringLiteral("didShowWelcomeTour.v2")).toBool();
    }

    void focusWindow()
    {
        run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(mainWindow)});
        settle(300);
    }
};

TEST_F(MainWindow, WelcomeTourOnTheFirstRunOnly)
{
    welcomeTourSeen = false;
    startApp();
    seedText({QStringLiteral("first words"), QStringLiteral("second words")});
    focusWindow();
    shot(QStringLiteral("main-welcome"));
    EXPECT_FALSE(tourMarkedSeen());
    // The tour holds the keys: Return pages it, nothing is copied.
    const QString before = clipboardText();
    key(QStringLiteral("Down Down Return"));
    settle(300);
    EXPECT_EQ(clipboardText(), before);
    key(QStringLiteral("Escape"));
    EXPECT_TRUE(waitFor([&] { return tourMarkedSeen(); })) << "closing the tour did not record it";

    stopApp();
    startApp();
    focusWindow();
    shot(QStringLiteral("main-second-run"));
    key(QStringLiteral("Down Down Return"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() == QStringLiteral("first words"); }))
        << "on the second run Return should copy the selected clip, got " << clipboardText().toStdString();
    expectHealthy();
}

TEST_F(MainWindow, KeysClicksAndWidthsDriveTheWholeWindow)
{
    startApp();
    seedText({QStringLiteral("https://corvane.app/docs/inspector"),
              QStringLiteral("for (auto &clip : clips)\n    pinned.append(clip.id);"),
              QStringLiteral("Team dinner March 14 at 7pm. Call (415) 555-2671 if late.")});
    focusWindow();
    resizeTo(1200, 760);
    const double plain = cornerBrightness();
    shot(QStringLiteral("main-1200-nothing-selected"));

    key(QStringLiteral("Down"));
    shot(QStringLiteral("main-1200-text"));
    key(QStringLiteral("Down"));
    shot(QStringLiteral("main-1200-code"));
    key(QStringLiteral("Down"));
    shot(QStringLiteral("main-1200-link"));
    key(QStringLiteral("Up Up"));

    // Space opens Quick Look; Escape closes it; holding Space leaves it open.
    key(QStringLiteral("space"));
    EXPECT_TRUE(waitFor([&] { return cornerBrightness() < plain - 10; })) << "Quick Look did not open";
    shot(QStringLiteral("main-quick-look"));
    key(QStringLiteral("Escape"));
    EXPECT_TRUE(waitFor([&] { return cornerBrightness() > plain - 3; })) << "Escape did not close Quick Look";
    run(QStringLiteral("xdotool"),
        {QStringLiteral("keydown"), QStringLiteral("space"), QStringLiteral("sleep"), QStringLiteral("1.5"),
         QStringLiteral("keyup"), QStringLiteral("space")});
    settle(500);
    EXPECT_LT(cornerBrightness(), plain - 10) << "a held Space closed Quick Look again";
    key(QStringLiteral("space"));
    EXPECT_TRUE(waitFor([&] { return cornerBrightness() > plain - 3; })) << "Space did not close Quick Look";

    // Ctrl+T: the tag sheet; its first chip tags the clip at once; Return closes.
    key(QStringLiteral("ctrl+t"));
    EXPECT_TRUE(waitFor([&] { return cornerBrightness() < plain - 10; })) << "the tag sheet did not open";
    const QImage sheet = shot(QStringLiteral("main-tag-sheet"));
    const QPoint middle(sheet.width() / 2, sheet.height() / 2);
    // The sheet's red chip, undimmed above the shaded window.
    const QPoint red = findColour(sheet, QRect(middle.x() - 200, middle.y() - 80, 400, 80), QColor(255, 95, 87));
    ASSERT_NE(red, QPoint(-1, -1)) << "no red chip in the tag sheet";
    click(at(red.x(), red.y()));
    EXPECT_TRUE(waitFor([&] { return queryHistory("SELECT count(*) FROM clips WHERE tags != 0") == QStringLiteral("1"); }))
        << "the chip did not tag the clip";
    shot(QStringLiteral("main-tag-sheet-tagged"));
    key(QStringLiteral("Return"));
    EXPECT_TRUE(waitFor([&] { return cornerBrightness() > plain - 3; })) << "Return did not close the tag sheet";

    // Typing a note and pressing Return saves it and copies nothing.
    const QString before = clipboardText();
    click(fromRight(165, 160));
    type(QStringLiteral("Dinner plan"));
    key(QStringLiteral("Return"));
    EXPECT_TRUE(waitFor([&] { return queryHistory("SELECT count(*) FROM clips WHERE note = 'Dinner plan'") == "1"; }))
        << "the note was not saved";
    settle(300);
    EXPECT_EQ(clipboardText(), before) << "Return in the note copied the clip";
    shot(QStringLiteral("main-note-saved"));

    // A click on a row and Return copies that clip.
    key(QStringLiteral("Escape"));
    click(at(400, 344));
    key(QStringLiteral("Return"));
    EXPECT_TRUE(waitFor([&] { return clipboardText() != before; })) << "Return on the list copied nothing";

    // Narrow: the sidebar goes and the inspector floats; the toolbar button brings the sidebar back.
    resizeTo(900, 640);
    shot(QStringLiteral("main-900-floating"));
    resizeTo(700, 500);
    const QImage narrow = shot(QStringLiteral("main-700"));
    click(at(23, 40));
    settle(500);
    const QImage shown = shot(QStringLiteral("main-700-sidebar-by-hand"));
    EXPECT_TRUE(imagesDiffer(narrow, shown)) << "the sidebar button changed nothing";
    resizeTo(760, 520);
    EXPECT_FALSE(imagesDiffer(shown.copy(0, 0, 200, 400), shot(QStringLiteral("main-760")).copy(0, 0, 200, 400)))
        << "the sidebar shown by hand went away while resizing";
    expectHealthy();
}

} // namespace
