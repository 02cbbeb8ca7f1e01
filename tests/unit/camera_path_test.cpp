#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/log.h"
#include "gfx/camera_path.h"

namespace {

void expectVec(const Vec3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

// Borrows the name, so the literal lives as long as the path.
CameraPath pathOf(std::initializer_list<Vec3> points)
{
    CameraPath path;
    path.create("test");
    for (const Vec3& p : points)
        path.addPoint(p);
    return path;
}

} // namespace

TEST(CameraPath, ChordTangentsGiveTheHermiteValuesOfAnUnevenLine)
{
    CameraPath path = pathOf({{0, 0, 0}, {1, 0, 0}, {3, 0, 0}});
    expectVec(path.sample(0.5f), 1.0f, 0.0f, 0.0f);
    // u = 0.5 on the first segment, m0 = 1 and m1 = 2: a Catmull-Rom tangent would give 0.4375.
    expectVec(path.sample(0.25f), 0.375f, 0.0f, 0.0f);
    // The last segment ends with a zero tangent: 1 + 0.5 * 2 + 0.125 * 2 = 2.25.
    expectVec(path.sample(0.75f), 2.25f, 0.0f, 0.0f);
}

TEST(CameraPath, PassesThroughEveryControlPointAndClampsPastTheEnd)
{
    // 17 points: every k / 16 is exact in float, so every sample is exact.
    const Vec3 points[] = {{10, 8, 15}, {7, 6, 10},  {4, 10, 9},   {3, 5, 8},   {-3, 12, 4}, {-1, 8, 0},
                           {0, 12, -1}, {14, 12, 5}, {14, 14, 8},  {22, 10, 10}, {19, 16, 22}, {14, 4, 22},
                           {4, 5, 12},  {5, 4, 8},   {3, 3, 4},    {4, 6, 0},   {0, 5, 0}};
    CameraPath path;
    path.create("seventeen");
    for (const Vec3& p : points)
        path.addPoint(p);
    ASSERT_EQ(path.pointCount(), 17);
    for (int k = 0; k < 17; ++k) {
        Vec3 s = path.sample(static_cast<float>(k) / 16.0f);
        EXPECT_EQ(s.x, points[k].x) << k;
        EXPECT_EQ(s.y, points[k].y) << k;
        EXPECT_EQ(s.z, points[k].z) << k;
    }
    for (float t : {1.0f, 1.3f, 7.0f, 1e9f})
        expectVec(path.sample(t), 0.0f, 5.0f, 0.0f);

    // With 15 points k / 14 is rounded, and the sample lands within that rounding.
    CameraPath fifteen;
    fifteen.create("fifteen");
    for (int k = 0; k < 15; ++k)
        fifteen.addPoint({static_cast<float>(k), static_cast<float>(k * k % 7), -2.0f * k});
    for (int k = 0; k < 15; ++k) {
        Vec3 s = fifteen.sample(static_cast<float>(k) / 14.0f);
        EXPECT_NEAR(s.x, k, 1e-5) << k;
        EXPECT_NEAR(s.y, k * k % 7, 1e-5) << k;
        EXPECT_NEAR(s.z, -2.0f * k, 1e-5) << k;
    }
}

TEST(CameraPath, BelowZeroTheFirstSegmentIsReadAtTheFractionPastTheFloor)
{
    CameraPath path = pathOf({{0, 0, 0}, {1, 0, 0}, {3, 0, 0}});
    // x = -0.5 reads u = 0.5 of the first segment, like t = 0.25.
    expectVec(path.sample(-0.25f), 0.375f, 0.0f, 0.0f);
    // x = -1.5 as well; x = -2 is the first point.
    expectVec(path.sample(-0.75f), 0.375f, 0.0f, 0.0f);
    expectVec(path.sample(-1.0f), 0.0f, 0.0f, 0.0f);
}

TEST(CameraPath, OnePointIsEverySampleAndAnEmptyPathGivesTheOrigin)
{
    CameraPath one = pathOf({{2, -3, 4}});
    for (float t : {-0.6f, 0.0f, 0.4f, 1.0f, 2.5f})
        expectVec(one.sample(t), 2.0f, -3.0f, 4.0f);
    CameraPath empty = pathOf({});
    EXPECT_EQ(empty.pointCount(), 0);
    expectVec(empty.sample(0.5f), 0.0f, 0.0f, 0.0f);
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
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), " -> Creation :: Camera path 'tracking the beast' created. \n"
                          " -> Destruction :: Camera path 'tracking the beast' destroyed. \n");
    std::remove(logPath.c_str());
}
