// The generated artwork of the mushroom stairway and the moon, read from the
// data tree the build made: the moon and spark sprites, the two mushroom
// models as the scene stands them up, and their colour and normal maps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "generated_assets.h"

using namespace generated;

namespace {

// The scene draws the mushrooms with rot.x = 90, which turns a loaded vertex
// (x, y, z) into (x, -z, y): the file's own axes, y up.
void upright(const float* loaded, float world[3])
{
    world[0] = loaded[0];
    world[1] = -loaded[2];
    world[2] = loaded[1];
}

struct Mushrooms {
    const char* model;
    const char* colour;
    const char* normals;
    float height;
    int minCount, maxCount;
};
const Mushrooms kModels[] = {
    {"shrooms5.3DS", "3D/shrooms5col2.jpg", "3D/shrooms5Nor2.jpg", 1.5f, 3, 5},
    {"shrooms4.3DS", "3D/shrooms4col.png", "3D/shrooms4Nor.png", 2.5f, 1, 2},
};

} // namespace

TEST(StairwayAssets, MoonIsAnOpaqueCrateredDiscInAHaloThatFadesOutBeforeTheEdge)
{
    Picture moon = readPicture(kData + "/gfx/moon.png");
    ASSERT_EQ(moon.width, moon.height);
    ASSERT_GE(moon.width, 256);
    int n = moon.width, c = n / 2;
    EXPECT_EQ(borderAlphaSum(moon), 0);
    // Along a radius: opaque disc, then a halo thinning outwards, then nothing.
    std::vector<int> alpha;
    for (int x = c; x < n; ++x)
        alpha.push_back(moon.at(x, c)[3]);
    auto haloStart = std::find_if(alpha.begin(), alpha.end(), [](int a) { return a < 255; });
    ASSERT_NE(haloStart, alpha.end());
    EXPECT_GT(haloStart - alpha.begin(), n / 5);  // a disc, not a dot
    EXPECT_GT(*haloStart, 0);                      // a halo, not a hard edge
    EXPECT_TRUE(std::is_sorted(haloStart, alpha.end(), std::greater<int>()));
    // Maria and craters: the disc is far from flat.
    int darkest = 255, brightest = 0;
    for (int y = c - n / 6; y < c + n / 6; ++y)
        for (int x = c - n / 6; x < c + n / 6; ++x) {
            darkest = std::min<int>(darkest, moon.at(x, y)[1]);
            brightest = std::max<int>(brightest, moon.at(x, y)[1]);
        }
    EXPECT_GT(brightest - darkest, 60);
}

TEST(StairwayAssets, StarflareIsBrightestAtItsCentreWithThinRaysAndADarkBorder)
{
    Picture flare = readPicture(kData + "/gfx/starflare.png");
    ASSERT_EQ(flare.width, flare.height);
    int n = flare.width, c = n / 2;
    EXPECT_EQ(borderAlphaSum(flare), 0);
    int brightest = 0;
    for (size_t i = 3; i < flare.rgba.size(); i += 4)
        brightest = std::max<int>(brightest, flare.rgba[i]);
    EXPECT_EQ(flare.at(c, c)[3], brightest);
    EXPECT_EQ(brightest, 255);
    // A fifth of the way out, the rays along the axes stand far above the glow between them.
    int r = n / 5, d = static_cast<int>(r * 0.7071);
    for (auto [x, y] : {std::pair{c + r, c}, {c - r, c}, {c, c + r}, {c, c - r}})
        EXPECT_GT(flare.at(x, y)[3], 3 * flare.at(c + d, c + d)[3] + 20) << x << "," << y;
}

TEST(StairwayAssets, MushroomsStandUprightAtTheirHeightsWithCapsOverStemsAndMappedIntoSeparateRegions)
{
    for (const Mushrooms& spec : kModels) {
        SCOPED_TRACE(spec.model);
        Model_3DS model = loadModel(spec.model);
        ASSERT_GE(model.numObjects, spec.minCount);
        ASSERT_LE(model.numObjects, spec.maxCount);
        expectMapped(model);

        float low = 1e9f, high = -1e9f;
        for (const Model_3DS::Object& object : model.Objects) {
            SCOPED_TRACE(object.name);
            // The top of every mushroom is its cap, facing the sky.
            std::vector<float> world(3 * object.numVerts);
            for (int i = 0; i < object.numVerts; ++i)
                upright(&object.Vertexes[3 * i], &world[3 * i]);
            int top = 0;
            for (int i = 0; i < object.numVerts; ++i)
                top = world[3 * i + 1] > world[3 * top + 1] ? i : top;
            float normal[3];
            upright(&object.Normals[3 * top], normal);
            EXPECT_GT(normal[1], 0.8f);
            // Caps spread wider than the stems' feet.
            float foot = world[1], crown = world[3 * top + 1];
            for (int i = 0; i < object.numVerts; ++i)
                foot = std::min(foot, world[3 * i + 1]);
            auto spread = [&](float from, float to) {
                float lo[2] = {1e9f, 1e9f}, hi[2] = {-1e9f, -1e9f};
                for (int i = 0; i < object.numVerts; ++i)
                    if (world[3 * i + 1] >= from && world[3 * i + 1] <= to)
                        for (int k : {0, 1}) {
                            lo[k] = std::min(lo[k], world[3 * i + 2 * k]);
                            hi[k] = std::max(hi[k], world[3 * i + 2 * k]);
                        }
                return std::max(hi[0] - lo[0], hi[1] - lo[1]);
            };
            float quarter = (crown - foot) / 4;
            EXPECT_GT(spread(crown - quarter, crown), 2.0f * spread(foot, foot + quarter));
            low = std::min(low, foot);
            high = std::max(high, crown);

            // Caps and stems keep to their own parts of the texture.
            ASSERT_GE(object.numMatFaces, 2);
            float box[2][4];
            for (int g = 0; g < 2; ++g) {
                float* b = box[g];
                b[0] = b[1] = 1e9f;
                b[2] = b[3] = -1e9f;
                for (uint16_t i : object.MatFaces[g].subFaces)
                    for (int k : {0, 1}) {
                        b[k] = std::min(b[k], object.TexCoords[2 * i + k]);
                        b[k + 2] = std::max(b[k + 2], object.TexCoords[2 * i + k]);
                    }
            }
            bool overlap = box[0][0] < box[1][2] && box[1][0] < box[0][2] && box[0][1] < box[1][3] && box[1][1] < box[0][3];
            EXPECT_FALSE(overlap);
        }
        EXPECT_NEAR(low, 0.0f, 0.05f);
        EXPECT_NEAR(high, spec.height, 0.1f);
    }
}

TEST(StairwayAssets, MushroomNormalMapsMatchTheirColourMapsAndHoldOutwardUnitNormals)
{
    for (const Mushrooms& spec : kModels) {
        SCOPED_TRACE(spec.normals);
        Picture colour = readPicture(kData + "/" + spec.colour);
        Picture normals = readPicture(kData + "/" + spec.normals);
        ASSERT_GE(colour.width, 512);
        EXPECT_EQ(normals.width, colour.width);
        EXPECT_EQ(normals.height, colour.height);
        double lengthError = 0, tilt = 0;
        int backwards = 0, count = normals.width * normals.height;
        for (int y = 0; y < normals.height; ++y)
            for (int x = 0; x < normals.width; ++x) {
                const unsigned char* p = normals.at(x, y);
                double n[3] = {p[0] / 127.5 - 1, p[1] / 127.5 - 1, p[2] / 127.5 - 1};
                lengthError += std::fabs(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) - 1);
                tilt += 1 - n[2];
                backwards += n[2] <= 0;
            }
        EXPECT_LT(lengthError / count, 0.03);
        EXPECT_EQ(backwards, 0);
        EXPECT_GT(tilt / count, 0.005); // there are bumps
    }
}
