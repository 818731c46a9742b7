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

} // namespace
} // namespace e2e
