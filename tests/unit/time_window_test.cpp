#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/time_window.h"

TEST(InWindow, BothEndsAreInside)
{
    TimeWindow w{5500, 12000};
    EXPECT_TRUE(inWindow(5500, w));
    EXPECT_TRUE(inWindow(12000, w));
    EXPECT_FALSE(inWindow(12001, w));
    EXPECT_FALSE(inWindow(5499, w));
}

TEST(InWindow, AReversedWindowHoldsNothing)
{
    TimeWindow w{12000, 5500};
    EXPECT_FALSE(inWindow(8000, w));
    EXPECT_FALSE(inWindow(5500, w));
    EXPECT_FALSE(inWindow(12000, w));
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
    TimeWindow w{0, 3};
    EXPECT_EQ(windowRamp(1, w), 1.0f / 3.0f);
    EXPECT_EQ(windowRamp(0, TimeWindow{-1000, 1000}), 0.5f);
    // A script may put the bounds far apart: the length of 4e9 ms does not wrap.
    TimeWindow big{-2000000000, 2000000000};
    EXPECT_EQ(windowRamp(0, big), 0.5f);
    EXPECT_EQ(windowRamp(1000000000, big), 0.75f);
}

TEST(WindowRamp, AZeroLengthWindowStepsJustAfterItsStart)
{
    TimeWindow w{7000, 7000};
    EXPECT_EQ(windowRamp(7000, w), 0.0f);
    EXPECT_EQ(windowRamp(7001, w), 1.0f);
}

TEST(WindowRamp, AReversedWindowStepsAfterItsStartWithoutDividing)
{
    TimeWindow w{9000, 3000};
    EXPECT_EQ(windowRamp(9000, w), 0.0f);
    EXPECT_EQ(windowRamp(5000, w), 0.0f);
    EXPECT_EQ(windowRamp(9001, w), 1.0f);
}

TEST(Ramp, MatchesTheWindowShapeOnFloats)
{
    EXPECT_EQ(ramp(2.0f, 1.0f, 3.0f), 0.5f);
    EXPECT_EQ(ramp(1.0f, 1.0f, 3.0f), 0.0f);
    EXPECT_EQ(ramp(3.0f, 1.0f, 3.0f), 1.0f);
    EXPECT_EQ(ramp(0.0f, 1.0f, 3.0f), 0.0f);
    EXPECT_EQ(ramp(1.5f, 1.0f, 1.0f), 1.0f);
    EXPECT_EQ(ramp(1.0f, 1.0f, 1.0f), 0.0f);
}

TEST(Ramp, PassesNaNThrough)
{
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(std::isnan(ramp(nan, 1.0f, 3.0f)));
}

TEST(Bump, PeaksInTheMiddleAndIsZeroAtBothEnds)
{
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, 1.0f), 1.0f);
    EXPECT_NEAR(bump(1.5f, 1.0f, 3.0f, 1.0f), 0.7071f, 1e-4f);
    EXPECT_EQ(bump(1.0f, 1.0f, 3.0f, 1.0f), 0.0f);
    EXPECT_EQ(bump(3.0f, 1.0f, 3.0f, 5.0f), 0.0f);
    EXPECT_EQ(bump(0.0f, 1.0f, 3.0f, 1.0f), 0.0f);
}

TEST(Bump, IsClampedToOneAndNeverNegative)
{
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, 3.0f), 1.0f);
    EXPECT_EQ(bump(1.5f, 1.0f, 3.0f, 1.85f), 1.0f);
    EXPECT_EQ(bump(2.0f, 1.0f, 3.0f, -1.0f), 0.0f);
}

TEST(Bump, UsesTheSinglePrecisionConstantNotPi)
{
    // Near the end of the span the difference between 3.141592f and pi shows.
    float x = 2.9999f;
    float p = (x - 1.0f) / (3.0f - 1.0f) * 3.141592f;
    EXPECT_EQ(bump(x, 1.0f, 3.0f, 1.0f), std::sin(p));
    float withPi = static_cast<float>(std::sin((x - 1.0) / 2.0 * M_PI));
    EXPECT_NE(bump(x, 1.0f, 3.0f, 1.0f), withPi);
}
