// A vector's three components, each equal to the expected one within four ulps.
#pragma once
#include <gtest/gtest.h>

#include "core/vec3.h"

inline void expectVec(const Vec3& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}
