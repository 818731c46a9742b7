#include "Animations.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(Animations, EaseInOutPresetsAreSymmetricAndTimed)
{
    for (const auto &[preset, ms] : {std::pair{Animations::hover(), 120}, {Animations::reveal(), 150}}) {
        EXPECT_EQ(preset.duration, ms);
        EXPECT_NEAR(preset.easing.valueForProgress(0.5), 0.5, 1e-3);
        EXPECT_NEAR(preset.easing.valueForProgress(0.25) + preset.easing.valueForProgress(0.75), 1, 1e-3);
        EXPECT_LT(preset.easing.valueForProgress(0.1), 0.1); // eases in
    }
}

TEST(Animations, SpringPresetsOvershootLessAsTheyDampMore)
{
    auto overshoot = [](const MotionPreset &preset) {
        double top = 0;
        for (int i = 0; i <= 1000; ++i)
            top = std::max(top, preset.easing.valueForProgress(i / 1000.0));
        return top - 1;
    };
    const double press = overshoot(Animations::press());         // damping 0.7
    const double selection = overshoot(Animations::selection()); // damping 0.78
    const double appear = overshoot(Animations::appear());       // damping 0.85
    EXPECT_GT(press, selection);
    EXPECT_GT(selection, appear);
    EXPECT_GT(appear, 0);
    // Responses 0.25 < 0.35 < 0.45 s give settling times in the same order.
    EXPECT_LT(Animations::press().duration, Animations::selection().duration);
    EXPECT_LT(Animations::selection().duration, Animations::appear().duration);
}

TEST(Animations, StaggerDelaysStopGrowingAfterTenItems)
{
    struct Case {
        int index;
        double step;
        int delay;
    };
    for (const Case c : {Case{0, 0.03, 0}, Case{1, 0.03, 30}, Case{10, 0.03, 300}, Case{11, 0.03, 300}, Case{500, 0.03, 300},
                         Case{-4, 0.03, 0}, Case{3, 0.05, 150}, Case{12, 0.05, 500}}) {
        EXPECT_EQ(Animations::staggerDelay(c.index, c.step), c.delay) << c.index << " " << c.step;
    }
    EXPECT_FALSE(Animations::appearsAtOnce(12));
    EXPECT_TRUE(Animations::appearsAtOnce(13));
}
