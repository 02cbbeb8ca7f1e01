// Vector checks: the three components as a list, for exact comparisons, and
// each component equal to the expected one within four ulps or a tolerance.
#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "core/vec3.h"

inline std::vector<float> xyz(const Vec3& v)
{
    return {v.x, v.y, v.z};
}

inline void expectVec(const Vec3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

inline void expectVec(const Vec3& v, float x, float y, float z, float tolerance)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}
