// The generated artwork of the mist scene, read from the data tree the build
// made: the two smoke sprites, the show's logo with its occlusion and line
// maps, and the second group's logo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "generated_assets.h"

using namespace generated;

namespace {

// Ratio of the longer to the shorter axis of the alpha-weighted spread.
double elongation(const Picture& p)
{
    double sum = 0, mx = 0, my = 0, sxx = 0, syy = 0, sxy = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            double a = p.at(x, y)[3];
            sum += a;
            mx += a * x;
            my += a * y;
            sxx += a * x * x;
            syy += a * y * y;
            sxy += a * x * y;
        }
    mx /= sum;
    my /= sum;
    sxx = sxx / sum - mx * mx;
    syy = syy / sum - my * my;
    sxy = sxy / sum - mx * my;
    double mean = (sxx + syy) / 2, spread = std::sqrt((sxx - syy) * (sxx - syy) / 4 + sxy * sxy);
    return std::sqrt((mean + spread) / (mean - spread));
}

// Whether the triangle starting at index t is a cap: caps are flat in depth.
bool isCap(const Model_3DS::Object& object, int t)
{
    const uint16_t* f = &object.Faces[t];
    float y0 = object.Vertexes[3 * f[0] + 1];
    return std::fabs(y0 - object.Vertexes[3 * f[1] + 1]) < 1e-5f &&
           std::fabs(y0 - object.Vertexes[3 * f[2] + 1]) < 1e-5f;
}

// The texels that the caps of an object cover, drawn into a w x h texture
// from the model's own mapping (rows top-down).
std::vector<char> capTexels(const Model_3DS::Object& object, int w, int h)
{
    std::vector<char> covered(static_cast<size_t>(w) * h, 0);
    for (int t = 0; t < object.numFaces; t += 3) {
        if (!isCap(object, t))
            continue;
        double px[3], py[3];
        for (int k = 0; k < 3; ++k) {
            px[k] = object.TexCoords[2 * object.Faces[t + k]] * w;
            py[k] = (1.0 - object.TexCoords[2 * object.Faces[t + k] + 1]) * h;
        }
        double area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
        if (std::fabs(area) < 1e-9)
            continue;
        auto [xlo, xhi] = std::minmax({px[0], px[1], px[2]});
        auto [ylo, yhi] = std::minmax({py[0], py[1], py[2]});
        for (int y = std::max(0, int(ylo)); y <= std::min(h - 1, int(yhi)); ++y)
            for (int x = std::max(0, int(xlo)); x <= std::min(w - 1, int(xhi)); ++x) {
                double qx = x + 0.5, qy = y + 0.5;
                double u = ((px[1] - qx) * (py[2] - qy) - (px[2] - qx) * (py[1] - qy)) / area;
                double v = ((px[2] - qx) * (py[0] - qy) - (px[0] - qx) * (py[2] - qy)) / area;
                if (u >= 0 && v >= 0 && u + v <= 1)
                    covered[static_cast<size_t>(y) * w + x] = 1;
            }
    }
    return covered;
}

} // namespace

TEST(MistAssets, SmokeSpritesFadeOutBeforeTheirEdgesAndHaveDifferentShapes)
{
    Picture puff = readPicture(kData + "/gfx/smoke1.png");
    Picture streak = readPicture(kData + "/gfx/smoke4.png");
    for (const Picture* p : {&puff, &streak}) {
        ASSERT_EQ(p->width, p->height);
        ASSERT_GE(p->width, 128);
        EXPECT_EQ(borderAlphaSum(*p), 0);
        // Opaque enough and pale in the middle, so that the particle tint sets the colour.
        const unsigned char* centre = p->at(p->width / 2, p->height / 2);
        EXPECT_GT(centre[3], 40);
        EXPECT_GT(std::min({centre[0], centre[1], centre[2]}), 180);
    }
    EXPECT_LT(elongation(puff), 1.3);   // round
    EXPECT_GT(elongation(streak), 2.0); // a long wisp
}

TEST(MistAssets, ShowLogoIsATwoUnitBadgeFacingPlusZWithItsWordRaisedAndEveryVertexMapped)
{
    Model_3DS model = loadModel("logo2.3ds");
    ASSERT_GE(model.numObjects, 2);
    expectMapped(model);
    // Loaded axes: x, then the file's z (depth), then minus the file's y (height).
    Bounds all(model, 0, model.numObjects);
    EXPECT_NEAR(all.size(0), 2.0f, 0.15f);
    EXPECT_GT(all.size(2), 0.3f);
    EXPECT_LT(all.size(2), all.size(0) * 0.5f);
    EXPECT_LT(all.size(1), 0.25f);
    EXPECT_NEAR(all.centre(0), 0.0f, 0.025f);
    EXPECT_NEAR(all.centre(2), 0.0f, 0.025f);
    // The word stands proud of the plate, towards +z.
    EXPECT_GT(Bounds(model, 1, 2).hi[1], Bounds(model, 0, 1).hi[1] + 0.02f);
}

TEST(MistAssets, ShowLogoMapsDarkenBesideTheLettersAndDrawThinLinesInsideThemButNoneOnTheWalls)
{
    Model_3DS model = loadModel("logo2.3ds");
    ASSERT_EQ(model.numObjects, 3);
    Picture ao = readPicture(kData + "/3D/logo2ao.png");
    Picture map = readPicture(kData + "/3D/logo2map.png");
    ASSERT_GT(ao.width * map.width, 0);

    // Occlusion: open on the letters' tops, dark within 3 texels beside them.
    int w = ao.width, h = ao.height;
    std::vector<char> letter = capTexels(model.Objects[1], w, h);
    auto near = [&](int x, int y, int r) {
        for (int yy = std::max(0, y - r); yy <= std::min(h - 1, y + r); ++yy)
            for (int xx = std::max(0, x - r); xx <= std::min(w - 1, x + r); ++xx)
                if (letter[static_cast<size_t>(yy) * w + xx])
                    return true;
        return false;
    };
    double topSum = 0, besideSum = 0;
    int tops = 0, beside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double value = ao.at(x, y)[0] / 255.0;
            if (letter[static_cast<size_t>(y) * w + x]) {
                ++tops;
                topSum += value;
            } else if (near(x, y, 3)) {
                ++beside;
                besideSum += value;
            }
        }
    ASSERT_GT(tops, 5000);
    ASSERT_GT(beside, 2000);
    EXPECT_GT(topSum / tops, 0.9);
    EXPECT_LT(besideSum / beside, topSum / tops - 0.25);

    // Lines: lit texels follow the letters thinly; the walls of all three objects stay dark.
    letter = capTexels(model.Objects[1], map.width, map.height);
    int letterTexels = 0, litInLetters = 0, litOnWalls = 0;
    for (size_t i = 0; i < letter.size(); ++i) {
        letterTexels += letter[i];
        litInLetters += letter[i] && map.rgba[i * 4] > 128;
    }
    for (const Model_3DS::Object& object : model.Objects)
        for (int t = 0; t < object.numFaces; t += 3)
            for (int k = 0; k < 3 && !isCap(object, t); ++k) {
                const float* uv = &object.TexCoords[2 * object.Faces[t + k]];
                int x = std::min(map.width - 1, static_cast<int>(uv[0] * map.width));
                litOnWalls += map.at(x, std::min(map.height - 1, static_cast<int>((1 - uv[1]) * map.height)))[0] > 16;
            }
    ASSERT_GT(letterTexels, 5000);
    EXPECT_GT(litInLetters, letterTexels / 20);
    EXPECT_LT(litInLetters, letterTexels / 2);
    EXPECT_EQ(litOnWalls, 0);
}

TEST(MistAssets, SecondLogoHasItsLettersInFrontOfABlackOutlineThatEnclosesThem)
{
    Model_3DS model = loadModel("silvate.3ds");
    ASSERT_GE(model.numObjects, 2);
    expectMapped(model);
    Bounds outline(model, 0, 1), letters(model, 1, model.numObjects);
    // Loaded axes: x along the word, y the file's z (up), z minus the file's y (towards the viewer).
    EXPECT_GT(outline.size(0), 3.0f);
    EXPECT_LT(outline.size(0), 4.5f);
    EXPECT_LT(outline.size(1), outline.size(0) * 0.4f);
    for (int k : {0, 1}) {
        EXPECT_LT(outline.lo[k], letters.lo[k]) << k;
        EXPECT_GT(outline.hi[k], letters.hi[k]) << k;
    }
    EXPECT_GT(letters.hi[2], outline.hi[2] + 0.03f);
    EXPECT_NEAR(outline.centre(0), 0.0f, 0.025f);
    // Raised above the origin so that it clears the hills in front of it.
    EXPECT_NEAR(outline.centre(1), 1.28f, 0.025f);
}
