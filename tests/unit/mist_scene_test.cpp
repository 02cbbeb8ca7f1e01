// The mist windows' camera, without GL.
#include <gtest/gtest.h>

#include "post/mist_scene.h"

TEST(MistCamera, InTheFogItCutsBetweenThreeShotsAndRestsAtTheOriginAtTheEnd)
{
    MistCamera first = mistCamera(0.2f, 0, 0.0f);
    MistCamera second = mistCamera(0.25f, 0, 0.0f);
    EXPECT_FLOAT_EQ(first.target.y, 15.0f * 0.2f - 6.0f);
    EXPECT_FLOAT_EQ(second.target.y, 3.0f) << "the second shot starts at r = 0.25";
    EXPECT_FLOAT_EQ(mistCamera(0.65f, 0, 0.0f).target.y, 12.0f - 12.0f * 0.65f);
    MistCamera end = mistCamera(1.0f, 0, 0.0f);
    EXPECT_EQ(end.eye.length() + end.target.length(), 0.0f);
}

TEST(MistCamera, TheBeatTiltsTheUpVectorInBothModes)
{
    EXPECT_FLOAT_EQ(mistCamera(0.5f, 0, 0.0f).up.y, 0.85f);
    EXPECT_FLOAT_EQ(mistCamera(0.5f, 0, 1.0f).up.y, 0.6f);
    EXPECT_FLOAT_EQ(mistCamera(0.5f, 0, 1.0f).up.z, 0.35f);
    EXPECT_FLOAT_EQ(mistCamera(0.5f, 1, 0.0f).up.y, 1.0f);
    EXPECT_FLOAT_EQ(mistCamera(0.5f, 1, 1.0f).up.y, 0.55f);
}

TEST(MistCamera, UnderTheMistItGlidesFromTheFirstPathToTheSecond)
{
    MistCamera start = mistCamera(0.0f, 1, 0.0f);
    EXPECT_FLOAT_EQ(start.eye.x, -12.0f);
    EXPECT_FLOAT_EQ(start.eye.z, -1.0f);
    EXPECT_FLOAT_EQ(start.target.x, -7.0f);
    MistCamera end = mistCamera(1.0f, 1, 0.0f);
    EXPECT_FLOAT_EQ(end.target.x, 15.0f);
    EXPECT_FLOAT_EQ(end.target.y, 12.5f);
}
