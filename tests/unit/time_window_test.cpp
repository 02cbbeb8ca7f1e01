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

TEST(WindowRamp, RunsFromZeroAtTheStartToOneAtTheEnd)
{
    TimeWindow w{5500, 12000};
    EXPECT_EQ(windowRamp(5500, w), 0.0f);
    EXPECT_EQ(windowRamp(12000, w), 1.0f);
    EXPECT_EQ(windowRamp(8750, w), 0.5f);
    EXPECT_EQ(windowRamp(-100000, w), 0.0f);
    EXPECT_EQ(windowRamp(500000, w), 1.0f);
}

TEST(WindowRamp, IsAnIntegerDifferenceOverAFloatQuotient)
{
    EXPECT_EQ(windowRamp(1, TimeWindow{0, 3}), 1.0f / 3.0f);
    EXPECT_EQ(windowRamp(0, TimeWindow{-1000, 1000}), 0.5f);
    // A script may put the bounds far apart: the length of 4e9 ms does not wrap.
    TimeWindow big{-2000000000, 2000000000};
    EXPECT_EQ(windowRamp(0, big), 0.5f);
    EXPECT_EQ(windowRamp(1000000000, big), 0.75f);
}

TEST(WindowRamp, AnEmptyOrReversedWindowStepsJustAfterItsStartWithoutDividing)
{
    EXPECT_EQ(windowRamp(7000, TimeWindow{7000, 7000}), 0.0f);
    EXPECT_EQ(windowRamp(7001, TimeWindow{7000, 7000}), 1.0f);
    TimeWindow reversed{9000, 3000};
    EXPECT_EQ(windowRamp(9000, reversed), 0.0f);
    EXPECT_EQ(windowRamp(5000, reversed), 0.0f);
    EXPECT_EQ(windowRamp(9001, reversed), 1.0f);
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
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, 3.0f), 1.0f);
    EXPECT_EQ(bump(1.5f, 1.0f, 3.0f, 1.85f), 1.0f);
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, -1.0f), 0.0f);
}

TEST(Bump, UsesTheSinglePrecisionConstantNotPi)
{
    // Near the end of the span 3.141592f shows: with pi this would be 0.00015692.
    EXPECT_FLOAT_EQ(bump(2.9999f, 1.0f, 3.0f, 1.0f), 0.000157507253f);
}
