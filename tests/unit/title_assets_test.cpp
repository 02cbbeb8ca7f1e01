// The generated artwork of the opening quotation and of the bitmap font, read
// from the data tree the build made: the shapes the scenes rely on.
#include <gtest/gtest.h>

#include <algorithm>

#include "generated_assets.h"

using namespace generated;

TEST(TitleModel, StandsEightUnitsWideCentredBetweenZeroAndTwoWithItsFrontCapTowardsTheCamera)
{
    Model_3DS model = loadModel("starttext-export.3ds");
    ASSERT_GE(model.numObjects, 1);
    for (const Model_3DS::Object& object : model.Objects) {
        EXPECT_TRUE(object.textured) << object.name;
        EXPECT_GE(object.numMatFaces, 1) << object.name;
    }
    // Where the opening scene puts it: scale 1.55, then a quarter turn about y
    // (world x, y, z from loaded z, y, -x).
    Bounds loaded(model, 0, model.numObjects);
    EXPECT_NEAR(1.55f * loaded.size(2), 8.0f, 0.5f);
    EXPECT_NEAR(1.55f * loaded.centre(2), 0.0f, 0.025f);
    EXPECT_GE(1.55f * loaded.lo[1], 0.0f);
    EXPECT_LE(1.55f * loaded.hi[1], 2.0f);
    EXPECT_LT(1.55f * loaded.size(0), 0.3f); // a thin slab facing the camera

    // The front cap looks towards the camera and the back cap away.
    int frontCap = 0, backCap = 0, turnedWrong = 0;
    for (const Model_3DS::Object& object : model.Objects) {
        // The loaded x turns into the world's -z, for positions and normals alike.
        float frontZ = -1e9f, backZ = 1e9f;
        for (int i = 0; i < object.numVerts; ++i) {
            frontZ = std::max(frontZ, -object.Vertexes[3 * i]);
            backZ = std::min(backZ, -object.Vertexes[3 * i]);
        }
        for (int i = 0; i < object.numVerts; ++i) {
            float z = -object.Vertexes[3 * i];
            float normalZ = -object.Normals[3 * i];
            // Wall vertices share the planes with sideways normals; caps point straight out.
            if (z > frontZ - 1e-4f && normalZ > 0.99f)
                ++frontCap;
            if (z < backZ + 1e-4f && normalZ < -0.99f)
                ++backCap;
            if ((z > frontZ - 1e-4f && normalZ < -0.1f) || (z < backZ + 1e-4f && normalZ > 0.1f))
                ++turnedWrong;
        }
    }
    EXPECT_GT(frontCap, 1000);
    EXPECT_EQ(backCap, frontCap);
    EXPECT_EQ(turnedWrong, 0);
}

TEST(BitmapFontImage, HoldsSixtyFourWhiteGlyphsEachInTheLeftSixtyPercentOfItsCell)
{
    Picture font = readPicture(kData + "/gfx/modern-space.png");
    ASSERT_EQ(font.width, 1024);
    ASSERT_EQ(font.height, 256);
    const int cell = 64;
    for (int g = 0; g < 64; ++g) {
        int coverage = 0, outside = 0, notWhite = 0;
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < cell; ++x) {
                const unsigned char* p = font.at((g % 16) * cell + x, (g / 16) * cell + y);
                if (p[3] == 0)
                    continue;
                ++coverage;
                if (x >= 38)
                    ++outside;
                if (p[0] != 255 || p[1] != 255 || p[2] != 255)
                    ++notWhite;
            }
        }
        if (g == 0)
            EXPECT_EQ(coverage, 0) << "the blank";
        else
            EXPECT_GT(coverage, 20) << "glyph " << g;
        EXPECT_EQ(outside, 0) << "glyph " << g;
        EXPECT_EQ(notWhite, 0) << "glyph " << g;
    }
}
