#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/time_window.h"

TEST(InWindow, BothEndsAreInsideAndAReversedWindowHoldsNothing)
{
    TimeWindow w{5500, 12000};
    EXPECT_TRUE(inWindow(5500, w));
    EXPECT_TRUE(inWindow(12000, w));
    EXPECT_FALSE(inWindow(12001, w));
    EXPECT_FALSE(inWindow(5499, w));
    for (int32_t t : {8000, 5500, 12000})
        EXPECT_FALSE(inWindow(t, TimeWindow{12000, 5500})) << t;
}

TEST(WindowRamp, RunsFromZeroToOneAsAnIntegerDifferenceOverAFloatQuotientAndStepsWhenEmptyOrReversed)
{
    const struct {
        int32_t t;
        TimeWindow w;
        float r;
    } cases[] = {
        {5500, {5500, 12000}, 0.0f}, {12000, {5500, 12000}, 1.0f}, {8750, {5500, 12000}, 0.5f},
        {-100000, {5500, 12000}, 0.0f}, {500000, {5500, 12000}, 1.0f},
        {1, {0, 3}, 1.0f / 3.0f}, {0, {-1000, 1000}, 0.5f},
        // A script may put the bounds far apart: the length of 4e9 ms does not wrap.
        {0, {-2000000000, 2000000000}, 0.5f}, {1000000000, {-2000000000, 2000000000}, 0.75f},
        // An empty or reversed window steps just after its start, without dividing.
        {7000, {7000, 7000}, 0.0f}, {7001, {7000, 7000}, 1.0f},
        {9000, {9000, 3000}, 0.0f}, {5000, {9000, 3000}, 0.0f}, {9001, {9000, 3000}, 1.0f},
    };
    for (const auto& c : cases)
        EXPECT_EQ(windowRamp(c.t, c.w), c.r) << c.t << " in " << c.w.start << ".." << c.w.end;
}

TEST(Ramp, MatchesTheWindowShapeOnFloatsAndPassesNaNThrough)
{
    EXPECT_EQ(ramp(2.0f, 1.0f, 3.0f), 0.5f);
    EXPECT_EQ(ramp(1.0f, 1.0f, 3.0f), 0.0f);
    EXPECT_EQ(ramp(3.0f, 1.0f, 3.0f), 1.0f);
    EXPECT_EQ(ramp(0.0f, 1.0f, 3.0f), 0.0f);
    EXPECT_EQ(ramp(1.5f, 1.0f, 1.0f), 1.0f);
    EXPECT_EQ(ramp(1.0f, 1.0f, 1.0f), 0.0f);
    EXPECT_TRUE(std::isnan(ramp(std::numeric_limits<float>::quiet_NaN(), 1.0f, 3.0f)));
}

TEST(Bump, PeaksInTheMiddleIsZeroAtBothEndsAndStaysWithinZeroAndOne)
{
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, 1.0f), 1.0f);
    EXPECT_NEAR(bump(1.5f, 1.0f, 3.0f, 1.0f), 0.7071f, 1e-4f);
    EXPECT_EQ(bump(1.0f, 1.0f, 3.0f, 1.0f), 0.0f);
    EXPECT_EQ(bump(3.0f, 1.0f, 3.0f, 5.0f), 0.0f);
    EXPECT_EQ(bump(0.0f, 1.0f, 3.0f, 1.0f), 0.0f);
    EXPECT_EQ(bump(1.5f, 1.0f, 3.0f, 1.85f), 1.0f);
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, -1.0f), 0.0f);
}

TEST(Bump, UsesTheSinglePrecisionConstantNotPi)
{
    // Near the end of the span 3.141592f shows: with pi this would be 0.00015692.
    EXPECT_FLOAT_EQ(bump(2.9999f, 1.0f, 3.0f, 1.0f), 0.000157507253f);
}
