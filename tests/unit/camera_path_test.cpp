#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/log.h"
#include "expect_vec.h"
#include "gfx/camera_path.h"

namespace {

// An uneven zigzag of n points.
CameraPath zigzag(int n)
{
    CameraPath path;
    path.create("zigzag");
    for (int k = 0; k < n; ++k)
        path.addPoint({static_cast<float>(k * k % 7 + 1), static_cast<float>(k), -2.0f * k});
    return path;
}

} // namespace

TEST(CameraPath, ChordTangentsGiveTheHermiteValuesOfAnUnevenLine)
{
    CameraPath path;
    path.create("line");
    for (float x : {0.0f, 1.0f, 3.0f})
        path.addPoint({x, 0.0f, 0.0f});
    expectVec(path.sample(0.5f), 1.0f, 0.0f, 0.0f);
    // u = 0.5 on the first segment, m0 = 1 and m1 = 2: a Catmull-Rom tangent would give 0.4375.
    expectVec(path.sample(0.25f), 0.375f, 0.0f, 0.0f);
    // The last segment ends with a zero tangent: 1 + 0.5 * 2 + 0.125 * 2 = 2.25.
    expectVec(path.sample(0.75f), 2.25f, 0.0f, 0.0f);
    // Below 0 the first segment is read at the fraction past floor(x): x = -0.5 and -1.5 as u = 0.5.
    expectVec(path.sample(-0.25f), 0.375f, 0.0f, 0.0f);
    expectVec(path.sample(-0.75f), 0.375f, 0.0f, 0.0f);
    expectVec(path.sample(-1.0f), 0.0f, 0.0f, 0.0f);
}

TEST(CameraPath, PassesThroughEveryControlPointAndClampsPastTheEnd)
{
    // With 17 points every k / 16 is exact, and so is every sample there.
    CameraPath path = zigzag(17);
    ASSERT_EQ(path.pointCount(), 17);
    for (int k = 0; k < 17; ++k)
        EXPECT_EQ(xyz(path.sample(k / 16.0f)), (std::vector<float>{k * k % 7 + 1.0f, k + 0.0f, -2.0f * k})) << k;
    for (float t : {1.0f, 1.3f, 7.0f, 1e9f})
        expectVec(path.sample(t), 5.0f, 16.0f, -32.0f);
    // With 15, k / 14 is rounded and the sample lands within that rounding.
    CameraPath fifteen = zigzag(15);
    for (int k = 0; k < 15; ++k)
        EXPECT_NEAR(fifteen.sample(static_cast<float>(k) / 14.0f).x, k * k % 7 + 1, 1e-5) << k;
}

TEST(CameraPath, OnePointIsEverySampleAndAnEmptyPathGivesTheOrigin)
{
    CameraPath one = zigzag(1);
    for (float t : {-0.6f, 0.0f, 0.4f, 1.0f, 2.5f})
        expectVec(one.sample(t), 1.0f, 0.0f, 0.0f);
    // Two points: the one segment ends with a zero tangent, below 0 as well.
    CameraPath two = zigzag(2);
    expectVec(two.sample(-0.5f), 1.625f, 0.625f, -1.25f);
    expectVec(zigzag(0).sample(0.5f), 0.0f, 0.0f, 0.0f);
}

TEST(CameraPath, CreationAndDestructionAreLoggedOnce)
{
    std::string logPath = ::testing::TempDir() + "camera_path_log.txt";
    ASSERT_TRUE(openLog(logPath.c_str()));
    CameraPath path;
    path.create("tracking the beast");
    path.addPoint({1, 2, 3});
    path.destroy();
    path.destroy(); // a second release finds nothing to free
    EXPECT_EQ(path.pointCount(), 0);
    closeLog();
    std::stringstream text;
    text << std::ifstream(logPath).rdbuf();
    EXPECT_EQ(text.str(), " -> Creation :: Camera path 'tracking the beast' created. \n"
                          " -> Destruction :: Camera path 'tracking the beast' destroyed. \n");
    std::remove(logPath.c_str());
}
