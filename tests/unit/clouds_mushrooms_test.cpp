// The moon scene's ground and camera, the stairways and the iterations
// camera, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/rng.h"
#include "effects/stairway.h"
#include "expect_vec.h"
#include "gfx/camera_path.h"
#include "scenes/clouds.h"
#include "scenes/mushrooms.h"

TEST(MoonCameraTest, StartsAtItsFirstViewAndTiltsOnlyBetweenTheCuts)
{
    CloudsCamera start = cloudsCamera(0.0f);
    EXPECT_EQ(xyz(start.eye), (std::vector<float>{9.0f, 48.0f, 21.5f}));
    EXPECT_EQ(xyz(start.target), (std::vector<float>{2.0f, 57.0f, -35.0f}));
    EXPECT_EQ(xyz(start.up), (std::vector<float>{0.0f, 1.0f, 0.0f}));

    CloudsCamera before = cloudsCamera(0.35f), tilted = cloudsCamera(0.3501f);
    EXPECT_EQ(xyz(before.up), (std::vector<float>{0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(xyz(tilted.up), (std::vector<float>{0.35f, 1.0f, 0.5f}));
    EXPECT_NEAR(tilted.eye.y, 73.0f, 0.01f);
    EXPECT_NEAR(tilted.target.y, 17.0f, 0.01f);
    EXPECT_GT(tilted.eye.y - before.eye.y, 15.0f) << "the camera jumps up at the cut";

    CloudsCamera back = cloudsCamera(0.65f);
    EXPECT_EQ(xyz(back.up), (std::vector<float>{0.0f, 1.0f, 0.0f}));
    EXPECT_LT(back.eye.y, cloudsCamera(0.6499f).eye.y - 10.0f);
}

TEST(MoonGroundTest, TheFirstRowRisesFromTheCentresAloneOutOfASunkenPlain)
{
    rng::seed(52326);
    const float u = rng::next();
    CloudsGround g = buildCloudsGround();
    EXPECT_EQ(xyz(g.centres[1]), (std::vector<float>{0.0f, 0.0f, u}));
    ASSERT_EQ(g.grid.size(), 76u * 76u);

    // Row 0 lies 3.8 behind the centres' line: its middle is farther than
    // 3.23 from every centre, so all five sink it by the same small amount.
    const float sunk = 5.0f * 3.94f * std::sin(-0.01451f * 3.141592f * 0.5f);
    const Vec3 middle = g.grid[38].position;
    EXPECT_FLOAT_EQ(middle.x, 0.0f);
    EXPECT_FLOAT_EQ(middle.z, -3.8f);
    EXPECT_NEAR(middle.y, sunk, 1e-5f);
    for (int c = 0; c < 76; ++c)
        EXPECT_LE(g.grid[c].position.y, 0.0f) << "row 0 has no height of its own, column " << c;

    // Near the centres the ground rises well above the crest height.
    float highest = 0.0f;
    for (const MoundVertex& v : g.grid)
        highest = std::max(highest, v.position.y);
    EXPECT_GT(highest, 3.3f);
}

TEST(MoonGroundTest, AMoundSlidesOutOfViewOnceItHasTravelledItsDepth)
{
    Mound fast{{0.0f, 22.0f, -100.0f}, 2.0f, 320.0f}; // leaves once 320 p passes 240
    EXPECT_LT(moundDepth(fast, 0.74f), 140.0f);
    EXPECT_GE(moundDepth(fast, 0.76f), 140.0f);
}

TEST(StairwayTest, FillsFourPathsDrawingSixteenValuesPerStep)
{
    CameraPath paths[kStairwayCount];
    static StairSprite grid[kStairwayCount][kSparksPerStairway];

    uint32_t expected = 1234;
    for (int k = 0; k < 16384; ++k)
        expected = rng::step(expected);
    rng::seed(1234);
    buildStairways(paths, grid);
    EXPECT_EQ(rng::state(), expected);

    for (const CameraPath& p : paths)
        EXPECT_EQ(p.pointCount(), 1025);

    // Stairway 1 follows a tangent curve: a quarter turn in, it flies off.
    EXPECT_GT(std::fabs(paths[0].sample(257.0f / 1024.0f).x), 1000.0f);
    for (auto& p : paths)
        p.destroy();
}

TEST(IterationsCameraTest, ShotBoundariesBelongWhereTheWindowSays)
{
    EXPECT_FLOAT_EQ(mushroomsCamera(0.3085f).centre.z, -10.0f) << "0.3085 is still the first shot";
    EXPECT_EQ(xyz(mushroomsCamera(0.3086f).centre), (std::vector<float>{0.0f, 2.0f, 0.0f}));
    EXPECT_EQ(xyz(mushroomsCamera(0.58f).centre), (std::vector<float>{0.0f, 2.0f, 0.0f}));
    EXPECT_LT(mushroomsCamera(0.5801f).eye.x, -35.0f) << "the third shot looks from far left";
    EXPECT_FLOAT_EQ(mushroomsCamera(0.68f).centre.x, 0.1f) << "0.68 is the fourth shot";
    EXPECT_EQ(xyz(mushroomsCamera(1.0f).eye), (std::vector<float>{0.0f, 0.0f, 0.0f}));
}
