#include "AppEvents.h"
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
