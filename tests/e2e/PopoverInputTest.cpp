// The popover under the tray icon, driven with the mouse and keyboard as a person does.
#include "Harness.h"

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

} // namespace
} // namespace e2e
