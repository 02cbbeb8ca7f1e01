#include <gtest/gtest.h>

#include "app/loading_bar.h"

TEST(LoadingBar, AfterTheShadersTheFillEndsAtAThirdOfTheBar)
{
    BarFill fill = loadingBarFill(7, 22, 2.05f);
    EXPECT_FLOAT_EQ(fill.left, -2.05f);
    EXPECT_NEAR(fill.right, -0.745f, 0.001f);
}

TEST(LoadingBar, TheLastStepFillsExactlyInsideTheTrough)
{
    BarFill fill = loadingBarFill(22, 22, 2.05f);
    EXPECT_FLOAT_EQ(fill.left, -2.05f);
    EXPECT_FLOAT_EQ(fill.right, 2.05f);
}

TEST(LoadingBar, NoStepsMeansAnEmptyFill)
{
    BarFill fill = loadingBarFill(0, 22, 2.05f);
    EXPECT_FLOAT_EQ(fill.right, fill.left);
    BarFill unset = loadingBarFill(3, 0, 2.05f); // drawn before the total is known
    EXPECT_FLOAT_EQ(unset.right, unset.left);
}

TEST(LoadingBar, TheProjectionAspectIsAnIntegerDivision)
{
    EXPECT_EQ(loadingBarAspect(1024, 768), 1);
    EXPECT_EQ(loadingBarAspect(1920, 1080), 1);
    EXPECT_EQ(loadingBarAspect(2560, 1080), 2);
    EXPECT_EQ(loadingBarAspect(640, 0), 1);
}
