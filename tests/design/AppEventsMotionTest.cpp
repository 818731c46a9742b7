#include "AppEvents.h"
#include "FakeDesktopSettings.h"
#include "Motion.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace corvane;

TEST(AppEvents, PostReachesTheGeneralAndTheNamedSignal)
{
    AppEvents &events = AppEvents::instance();
    QSignalSpy posted(&events, &AppEvents::posted);
    QSignalSpy focus(&events, &AppEvents::focusSearch);
    QSignalSpy release(&events, &AppEvents::releaseSearchFocus);
    QSignalSpy tour(&events, &AppEvents::showWelcomeTour);

    events.post(QStringLiteral("Corvane.focusSearch"));
    events.post(QStringLiteral("CVReleaseSearchFocus"));
    events.post(QStringLiteral("CVShowWelcomeTour"));
    events.post(QStringLiteral("cvreleasesearchfocus")); // names are case-sensitive

    ASSERT_EQ(posted.count(), 4);
    EXPECT_EQ(posted.at(3).at(0).toString(), "cvreleasesearchfocus");
    EXPECT_EQ(focus.count(), 1);
    EXPECT_EQ(release.count(), 1);
    EXPECT_EQ(tour.count(), 1);
}

TEST(Motion, StartsWithMotionOnAndSignalsRealChangesOnly)
{
    Motion &motion = Motion::instance();
    EXPECT_FALSE(motion.reduceMotion());
    EXPECT_FALSE(motion.reduceTransparency());

    QSignalSpy motionSpy(&motion, &Motion::reduceMotionChanged);
    QSignalSpy transparencySpy(&motion, &Motion::reduceTransparencyChanged);
    motion.setReduceMotion(false);
    motion.setReduceTransparency(false);
    EXPECT_EQ(motionSpy.count() + transparencySpy.count(), 0);

    motion.setReduceMotion(true);
    motion.setReduceMotion(true);
    motion.setReduceTransparency(true);
    EXPECT_EQ(motionSpy.count(), 1);
    EXPECT_EQ(transparencySpy.count(), 1);
    EXPECT_TRUE(motion.reduceMotion());

    motion.setReduceMotion(false);
    motion.setReduceTransparency(false);
}

TEST(Motion, FollowsTheDesktopSettingsUntilToldToStop)
{
    Motion &motion = Motion::instance();
    FakeDesktopSettings desktop;
    desktop.setReduceTransparency(true);

    QSignalSpy motionSpy(&motion, &Motion::reduceMotionChanged);
    motion.follow(&desktop);
    EXPECT_FALSE(motion.reduceMotion());
    EXPECT_TRUE(motion.reduceTransparency()); // taken over at once, not only on the next change
    EXPECT_EQ(motionSpy.count(), 0);

    desktop.setReduceMotion(true);
    EXPECT_TRUE(motion.reduceMotion());
    EXPECT_EQ(motionSpy.count(), 1);

    {
        FakeDesktopSettings other;
        motion.follow(&other);
        EXPECT_FALSE(motion.reduceMotion());
        desktop.setReduceMotion(false);
        desktop.setReduceMotion(true);
        EXPECT_FALSE(motion.reduceMotion()) << "the old source no longer counts";
    }
    // The followed settings are gone; Motion keeps its last values and stays settable.
    motion.setReduceMotion(true);
    EXPECT_TRUE(motion.reduceMotion());
    motion.follow(nullptr);
    motion.setReduceMotion(false);
    motion.setReduceTransparency(false);
}
