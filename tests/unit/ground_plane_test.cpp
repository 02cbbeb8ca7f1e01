#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/log.h"
#include "effects/ground_plane.h"

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
