#include "DesktopSettingsMapping.h"
#include "FakeDesktopSettings.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace corvane;
using namespace corvane::DesktopSettingsMapping;

TEST(DesktopSettingsMapping, DesktopValuesMapToReduceMotionAndTransparency)
{
    struct Case {
        const char *what;
        QHash<QString, QVariant> values;
        Result expected;
    };
    const Case cases[] = {
        {"nothing known: motion and transparency on", {}, {false, false}},
        {"GNOME animations on", {{gnomeAnimations, true}}, {false, false}},
        {"GNOME animations off", {{gnomeAnimations, false}}, {true, false}},
        {"KDE factor 0", {{kdeAnimationFactor, 0.0}}, {true, false}},
        {"KDE factor 0 as text", {{kdeAnimationFactor, QString("0")}}, {true, false}},
        {"KDE factor slowed down", {{kdeAnimationFactor, QString("1.5")}}, {false, false}},
        {"KDE factor unreadable", {{kdeAnimationFactor, QString("fast")}}, {false, false}},
        {"either desktop turning animations off wins", {{gnomeAnimations, true}, {kdeAnimationFactor, 0}}, {true, false}},
        {"GNOME high contrast", {{gnomeHighContrast, true}}, {false, true}},
        {"GNOME high contrast as text", {{gnomeHighContrast, QString("true")}}, {false, true}},
        {"both", {{gnomeAnimations, QString("false")}, {gnomeHighContrast, true}}, {true, true}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(map(c.values), c.expected) << c.what;
}

TEST(DesktopSettingsMapping, ReadsKdeAnimationFactorFromKdeglobals)
{
    EXPECT_EQ(kdeAnimationFactorFromKdeglobals("[General]\nColorScheme=Breeze\n[KDE]\nAnimationDurationFactor=0\n")->toString(),
              "0");
    EXPECT_FALSE(kdeAnimationFactorFromKdeglobals("[General]\nAnimationDurationFactor=0\n"));
    EXPECT_FALSE(kdeAnimationFactorFromKdeglobals(""));
}

TEST(DesktopSettings, EmitsOnlyForValuesThatChange)
{
    FakeDesktopSettings settings;
    QSignalSpy motion(&settings, &DesktopSettings::reduceMotionChanged);
    QSignalSpy transparency(&settings, &DesktopSettings::reduceTransparencyChanged);
    EXPECT_FALSE(settings.reduceMotion());
    EXPECT_FALSE(settings.reduceTransparency());
    settings.setReduceMotion(false);
    EXPECT_EQ(motion.count(), 0);
    settings.setReduceMotion(true);
    settings.setReduceMotion(true);
    EXPECT_EQ(motion.count(), 1);
    EXPECT_EQ(transparency.count(), 0);
    settings.setReduceTransparency(true);
    EXPECT_EQ(transparency.count(), 1);
    EXPECT_TRUE(settings.property("reduceMotion").toBool());
}
