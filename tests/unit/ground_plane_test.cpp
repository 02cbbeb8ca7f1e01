#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/rng.h"
#include "effects/ground_plane.h"

TEST(GroundPlane, TheCentreIsWhiteTheRimBlackTheCornersBelowBlackAndTheTextureRepeatsAndFlows)
{
    GroundPlane ground;
    ground.init(32, 32, 1.0f, 230.0f, 10.0f, 3.0f, 1.25f);
    ASSERT_EQ(ground.count, 32 * 32);
    const GridVertex& centre = ground.at(16, 16);
    EXPECT_EQ((std::vector<float>{centre.colour.x, centre.colour.z, centre.position.x}), (std::vector<float>{1, 1, 0}));
    EXPECT_FLOAT_EQ(ground.at(16, 0).colour.x, 0.0f); // d = 0.5: the inscribed circle
    EXPECT_LT(ground.at(0, 0).colour.x, -0.4f);        // d = 0.707 at the corner
    EXPECT_FLOAT_EQ(ground.at(0, 0).position.x, -115.0f);
    EXPECT_FLOAT_EQ(ground.at(31, 31).position.z, (31.0f / 32.0f - 0.5f) * 230.0f);
    // The texture repeats over the grid and flows at a constant rate.
    EXPECT_FLOAT_EQ(ground.at(16, 8).texcoord[0], 0.75f);
    EXPECT_FLOAT_EQ(ground.at(16, 8).texcoord[1], 1.5f);
    EXPECT_FLOAT_EQ(groundScroll(2.7f, 1.0f), 1.0f);
    EXPECT_FLOAT_EQ(groundScroll(0.0f, 1.0f), 0.0f);
}

TEST(GroundPlane, HeightsLieBetweenTheBaseAndTheBasePlusTheRoughness)
{
    rng::seed(rng::kInitialState);
    GroundPlane near;
    near.init(32, 32, 1.0f, 435.0f, -8.0f, 3.0f, 1.15f);
    float low = 1e9f, high = -1e9f;
    for (int i = 0; i < near.count; ++i) {
        low = std::min(low, near.vertices[i].position.y);
        high = std::max(high, near.vertices[i].position.y);
        EXPECT_FLOAT_EQ(near.vertices[i].normal.y, 1.0f);
    }
    EXPECT_GE(low, -8.0f);
    EXPECT_LE(high, -8.0f + 1.15f);
    EXPECT_GT(high - low, 0.5f); // rough, not flat
}

TEST(GroundPlane, TheHeightsFollowTheSharedGenerator)
{
    rng::seed(12345);
    GroundPlane a;
    a.init(4, 4, 1.0f, 10.0f, 0.0f, 1.0f, 1.0f);
    rng::seed(12345);
    EXPECT_FLOAT_EQ(a.at(0, 0).position.y, rng::next());
    EXPECT_FLOAT_EQ(a.at(0, 1).position.y, rng::next()); // row-major, one draw per vertex
}

TEST(GroundPlane, ItsLifeIsLogged)
{
    std::string path = ::testing::TempDir() + "ground_log.txt";
    ASSERT_TRUE(openLog(path.c_str()));
    {
        GroundPlane ground;
        ground.init(2, 2, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f);
    }
    closeLog();
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    EXPECT_EQ(text.str(), " -> Creation :: GroundPlane instance \n"
                          " -> Initialisation :: GroundPlane \n"
                          " -> Destruction :: GroundPlane instance destroyed \n");
    std::remove(path.c_str());
}
