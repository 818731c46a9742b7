#include "MotionPreset.h"
#include "SpringCurve.h"

#include <QPointF>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace corvane;

namespace {

struct SpringCase {
    double response;
    double damping;
};

class SpringCurveTest : public ::testing::TestWithParam<SpringCase>
{ };

double peak(const SpringCurve &spring)
{
    double highest = 0;
    const double end = spring.settleDuration() * 2;
    for (double t = 0; t <= end; t += end / 20000)
        highest = std::max(highest, spring.value(t));
    return highest;
}

} // namespace

TEST_P(SpringCurveTest, SettlesAtOneAndStaysThere)
{
    const SpringCurve spring(GetParam().response, GetParam().damping);
    const double settle = spring.settleDuration();
    EXPECT_DOUBLE_EQ(spring.value(0), 0);
    for (double t = settle; t < settle * 4; t += settle / 500)
        ASSERT_NEAR(spring.value(t), 1, 1.001e-3) << "at " << t << " s";
    // Settling any earlier would cut the motion short noticeably.
    EXPECT_GT(std::abs(spring.value(settle * 0.7) - 1), 1e-4);
}

TEST_P(SpringCurveTest, OvershootIsBoundedByTheDampingFraction)
{
    const double z = GetParam().damping;
    const double top = peak(SpringCurve(GetParam().response, z));
    if (z >= 1) {
        EXPECT_LE(top, 1 + 1e-9);
        return;
    }
    const double expected = std::exp(-std::numbers::pi * z / std::sqrt(1 - z * z));
    EXPECT_LE(top - 1, expected + 1e-6);
    EXPECT_GE(top - 1, expected * 0.98);
}

TEST_P(SpringCurveTest, EasingCurveFollowsTheSpringAndEndsAtOne)
{
    const SpringCurve spring(GetParam().response, GetParam().damping);
    const QEasingCurve curve = spring.easingCurve();
    EXPECT_NEAR(curve.valueForProgress(0), 0, 1e-9);
    EXPECT_DOUBLE_EQ(curve.valueForProgress(1), 1);
    const double total = spring.settleDuration();
    // Lightly damped springs wobble more within each piece of the curve.
    const double tolerance = spring.dampingFraction() >= 0.5 ? 2e-3 : 1.5e-2;
    for (int i = 0; i <= 200; ++i) {
        const double p = i / 200.0;
        ASSERT_NEAR(curve.valueForProgress(p), spring.value(p * total), tolerance) << "at progress " << p;
    }
}

TEST_P(SpringCurveTest, DurationScalesWithTheResponse)
{
    const SpringCase c = GetParam();
    const MotionPreset once = MotionPreset::spring(c.response, c.damping);
    const MotionPreset twice = MotionPreset::spring(c.response * 2, c.damping);
    EXPECT_NEAR(twice.duration, once.duration * 2, 2);
    EXPECT_NEAR(once.duration, SpringCurve(c.response, c.damping).settleDuration() * 1000, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Springs, SpringCurveTest,
                         ::testing::Values(SpringCase{0.25, 0.7}, SpringCase{0.35, 0.78}, SpringCase{0.45, 0.85},
                                           SpringCase{0.3, 0.3}, SpringCase{0.3, 1.0}, SpringCase{0.3, 1.6}));

TEST(SpringCurve, StaysWithinTheSegmentsQtCanHold)
{
    // Qt 6.4 overruns its buffer beyond ten Bezier segments in one curve.
    const QEasingCurve curve = SpringCurve(0.3, 0.3).easingCurve();
    EXPECT_LE(curve.toCubicSpline().size(), 30);
}

TEST(SpringCurve, NonsenseParametersStillGiveAFiniteCurve)
{
    for (const SpringCase c : {SpringCase{0, 0.7}, SpringCase{-1, 0.5}, SpringCase{0.3, 0}}) {
        const SpringCurve spring(c.response, c.damping);
        EXPECT_TRUE(std::isfinite(spring.settleDuration()));
        EXPECT_NEAR(spring.value(spring.settleDuration()), 1, 1.001e-3);
    }
}
