#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/log.h"
#include "core/rng.h"
#include "effects/ground_plane.h"

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
