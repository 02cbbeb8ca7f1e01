// The roots, without GL.
#include <gtest/gtest.h>

#include <vector>

#include "effects/flow_field.h"
#include "gfx/camera_path.h"
#include "scenes/roots.h"

namespace {

struct RootPaths {
    CameraPath paths[6];
    RootPaths()
    {
        CameraPath* all[6];
        for (int k = 0; k < 6; ++k)
            all[k] = &paths[k];
        addRootPoints(all);
    }
};

} // namespace

TEST(RootPaths, StartAtTheirBaseWithEveryScaleAtItsStart)
{
    RootPaths roots;
    // The first points: f = 0, every scale at its start.
    EXPECT_FLOAT_EQ(roots.paths[0].sample(0.0f).x, static_cast<float>(-1.2 * 1.5));
    EXPECT_FLOAT_EQ(roots.paths[3].sample(0.0f).y, 2.0f);
    EXPECT_FLOAT_EQ(roots.paths[4].sample(0.0f).x, -5.0f);
    EXPECT_FLOAT_EQ(roots.paths[5].sample(0.0f).x, static_cast<float>(-2.15 * 3.3));
}

TEST(RootTubes, ANewRootDrawsNothingAndAGrownOneSpansItsPathTaperedFromAQuarter)
{
    RootPaths roots;
    RootTube tube(0.25f);
    const FlowField flow{0.0f, 1.0f};
    EXPECT_FALSE(computeRootRings(tube, 0.0f, roots.paths[0], 2, {0.78f, 0.9f, 0.125f}, 0.0f, true, flow));
    ASSERT_TRUE(computeRootRings(tube, 1.0f, roots.paths[0], 2, {0.78f, 0.9f, 0.125f}, 0.0f, true, flow));
    EXPECT_EQ(tube.ringRadius[32], 0.0f) << "the first quarter has no thickness";
    EXPECT_GT(tube.ringRadius[33], 0.0f);
    Vec3 tip = roots.paths[0].sample(1.0f);
    EXPECT_NEAR(tube.ringCentre[128].y, tip.y, 0.3f) << "the tube spans the whole path, wobbling a little";
}

TEST(RootTubes, ARootIsGreyUntilItsGlowAndItSwellsOnlyPastThreeQuartersGrown)
{
    const Vec3 glow{0.78f, 0.9f, 0.125f};
    Vec3 grey = rootRingColour(0.5f, 0.5f, glow, 10);
    EXPECT_FLOAT_EQ(grey.x, 0.85f);
    EXPECT_FLOAT_EQ(grey.y, 0.85f);
    EXPECT_EQ(rootRingColour(0.74f, 0.5f, glow, 2).y, 0.85f) << "no swell at 0.74";
    EXPECT_NE(rootRingColour(0.8f, 0.5f, glow, 50).y, 0.85f) << "the swell runs past 0.74";
    EXPECT_NE(rootRingColour(0.5f, 0.8f, glow, 2).y, 0.85f) << "the glow starts at the base";
}

TEST(RootsCameraTest, StartsUpsideDownAndCutsToTheSecondPathsAtTheFlash)
{
    RootPaths roots;
    RootsCamera start = rootsCamera(0.0f, roots.paths[0], roots.paths[1], roots.paths[2]);
    EXPECT_EQ((std::vector<float>{start.up.x, start.up.y, start.up.z}), (std::vector<float>{0.12f, -1.0f, 0.0f}));
    RootsCamera before = rootsCamera(0.5009f, roots.paths[0], roots.paths[1], roots.paths[2]);
    RootsCamera after = rootsCamera(0.501f, roots.paths[0], roots.paths[1], roots.paths[2]);
    EXPECT_GT((before.eye - after.eye).length(), 5.0f);
    EXPECT_FLOAT_EQ(after.eye.y, 24.55f + 35.0f * 0.501f);
    EXPECT_EQ(rootsCamera(1.0f, roots.paths[0], roots.paths[1], roots.paths[2]).eye.length(), 0.0f);
}
