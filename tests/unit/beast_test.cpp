// The beast's swarms, cube and cameras, without GL.
#include <gtest/gtest.h>

#include <vector>

#include "core/c_rand.h"
#include "gfx/camera_path.h"
#include "scenes/beast.h"
#include "scenes/lair.h"

namespace {

// Keeps the shared C-library sequence where other tests expect it.
class Swarms : public ::testing::Test {
protected:
    void SetUp() override { saved_ = cRandShared(); }
    void TearDown() override { cRandShared() = saved_; }
    CRandState saved_;
};

} // namespace

TEST_F(Swarms, NoCubeIsThrownBeforeTheFirstWave)
{
    buildSwarms();
    for (const SwarmCube& c : beastSwarm())
        ASSERT_EQ(swarmWave(0.0f, 0.0f, c), 0.0f);
    EXPECT_GT(swarmWave(0.1f, 0.0f, beastSwarm()[0]), 0.0f);
    EXPECT_EQ(swarmWave(0.1f, 0.0f, beastSwarm()[kSwarmSize - 1]), 0.0f) << "the wave has not reached the tail";
}

TEST(Cube, ItsFacesAlongYPointInwardAndTheOthersOutward)
{
    std::vector<float> normals;
    for (int face = 0; face < 6; ++face)
        normals.insert(normals.end(), {cubeFaceNormal(face).x, cubeFaceNormal(face).y, cubeFaceNormal(face).z});
    EXPECT_EQ(normals, (std::vector<float>{0, 0, -1, 0, 0, 1, 1, 0, 0, -1, 0, 0, 0, -1, 0, 0, 1, 0}));
}

TEST(BeastCameras, TheShotsCutAtTheirBoundsAndRestAtTheOriginAtTheEnd)
{
    CameraPath following, tracking;
    addFollowingPoints(following);
    addTrackingPoints(tracking);
    // A cut jumps much further in 0.0002 of the ramp than the camera moves within a shot.
    auto jump = [](auto camera, float r) { return (camera(r - 0.0001f).eye - camera(r + 0.0001f).eye).length(); };
    auto beast = [&](float r) { return beastCamera(r, following); };
    auto lair = [&](float r) { return lairCamera(r, tracking); };
    for (float cut : {0.252f, 0.47f, 0.75f})
        EXPECT_GT(jump(beast, cut), 1.0f) << cut;
    EXPECT_LT(jump(beast, 0.35f), 0.1f);
    for (float cut : {0.262f, 0.75f})
        EXPECT_GT(jump(lair, cut), 1.0f) << cut;
    EXPECT_LT(jump(lair, 0.5f), 0.1f);
    BeastCamera end = beastCamera(1.0f, following);
    EXPECT_EQ(end.eye.length() + end.target.length(), 0.0f);
    EXPECT_EQ(lairCamera(1.0f, tracking).eye.length(), 0.0f);
}
