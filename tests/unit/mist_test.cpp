// The mist windows' camera, without GL.
#include <gtest/gtest.h>

#include "scenes/mist.h"

TEST(MistCamera, InTheFogItCutsBetweenThreeShotsAndRestsAtTheOriginAtTheEnd)
{
    // A cut jumps much further in 0.0002 of the ramp than the camera moves within a shot.
    auto jump = [](float r) { return (mistCamera(r - 0.0001f, 0, 0.0f).eye - mistCamera(r + 0.0001f, 0, 0.0f).eye).length(); };
    EXPECT_GT(jump(0.25f), 1.0f);
    EXPECT_GT(jump(0.65f), 1.0f);
    EXPECT_LT(jump(0.45f), 0.1f);
    EXPECT_FLOAT_EQ(mistCamera(0.25f, 0, 0.0f).target.y, 3.0f) << "the second shot starts at r = 0.25";
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
    MistCamera start = mistCamera(0.0f, 1, 0.0f), end = mistCamera(1.0f, 1, 0.0f);
    EXPECT_EQ((std::vector<float>{start.eye.x, start.eye.z, start.target.x, end.target.x, end.target.y}),
              (std::vector<float>{-12.0f, -1.0f, -7.0f, 15.0f, 12.5f}));
}
