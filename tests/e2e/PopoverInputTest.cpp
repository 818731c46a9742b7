// The popover under the tray icon, driven with the mouse and keyboard as a person does.
#include "Harness.h"

#include <QBuffer>
#include <QFile>
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
    h.waitFor([&] {
        text = h.clipboardText();
        return !text.isEmpty() && text != QLatin1String("-");
    }, 3000);
    return text;
}

bool differs(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return true;
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 30)
                ++changed;
        }
    }
    return changed > 20;
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
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    seedFormats({{QStringLiteral("image/png"), png}});
    const QString text = QStringLiteral("dragged text – whole, not empty");
    seedText({text});
    const QPoint target = showDropTarget();

    openPopover();
    dragTo(inPopover(170, 142), target);
    QMap<QString, QByteArray> got = dropped();
    EXPECT_EQ(got.value(QStringLiteral("text/plain")), text.toUtf8()) << "formats: " << got.keys().join(u' ').toStdString();

    QFile::remove(home.filePath(QStringLiteral("dropped/formats.txt")));
    openPopover();
    dragTo(inPopover(170, 200), target);
    got = dropped();
    const QImage arrived = QImage::fromData(got.value(QStringLiteral("image/png")));
    EXPECT_EQ(arrived.size(), image.size()) << "formats: " << got.keys().join(u' ').toStdString();
    EXPECT_EQ(arrived.pixelColor(10, 10), QColor(200, 40, 90));
    const QList<QByteArray> uris = got.value(QStringLiteral("text/uri-list")).split('\n');
    ASSERT_FALSE(uris.isEmpty());
    const QString file = QUrl(QString::fromUtf8(uris.first().trimmed())).toLocalFile();
    EXPECT_TRUE(QFile::exists(file)) << "the dragged image file " << file.toStdString();
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
    const QImage rest = screenshot(QStringLiteral("hover-rest")).copy(trailing);
    moveTo(inPopover(kRowX, rowY(1)));
    ASSERT_TRUE(waitFor([&] { return differs(screenshot(QStringLiteral("hover-on")).copy(trailing), rest); }, 3000))
        << "hovering a row shows nothing";
    key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitFor([&] { return !popoverShown(); }));
    moveTo(kAway);
    openPopover();
    settle(500);
    EXPECT_FALSE(differs(screenshot(QStringLiteral("hover-after-reopen")).copy(trailing), rest))
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
    EXPECT_TRUE(differs(screenshot(QStringLiteral("chips-after")).copy(chips), before)) << "the chip row did not scroll";
    expectHealthy();
}

} // namespace
} // namespace e2e
