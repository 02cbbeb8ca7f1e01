// The generated artwork of the mist scene, read from the data tree the build
// made: the two smoke sprites, the show's logo with its occlusion map, and the
// second group's logo.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/model_3ds.h"

namespace {

const std::string kData = VELMORA_DATA_DIR;

struct Picture {
    unsigned width = 0, height = 0;
    std::vector<unsigned char> rgba; // rows top-down
    const unsigned char* at(unsigned x, unsigned y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Picture readPng(const std::string& file)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, file.c_str())) {
        ADD_FAILURE() << "cannot read " << file;
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
        ADD_FAILURE() << "cannot decode " << file;
        return picture;
    }
    picture.width = image.width;
    picture.height = image.height;
    return picture;
}

// Ratio of the longer to the shorter axis of the alpha-weighted spread.
double elongation(const Picture& p)
{
    double sum = 0, mx = 0, my = 0;
    for (unsigned y = 0; y < p.height; ++y)
        for (unsigned x = 0; x < p.width; ++x) {
            double a = p.at(x, y)[3];
            sum += a;
            mx += a * x;
            my += a * y;
        }
    mx /= sum;
    my /= sum;
    double sxx = 0, syy = 0, sxy = 0;
    for (unsigned y = 0; y < p.height; ++y)
        for (unsigned x = 0; x < p.width; ++x) {
            double a = p.at(x, y)[3] / sum;
            sxx += a * (x - mx) * (x - mx);
            syy += a * (y - my) * (y - my);
            sxy += a * (x - mx) * (y - my);
        }
    double mean = (sxx + syy) / 2, spread = std::sqrt((sxx - syy) * (sxx - syy) / 4 + sxy * sxy);
    return std::sqrt((mean + spread) / (mean - spread));
}

Model_3DS loadModel(const std::string& name)
{
    Model_3DS model;
    std::string error;
    EXPECT_TRUE(model.tryLoad((kData + "/3D/" + name).c_str(), error)) << error;
    return model;
}

struct Bounds {
    float lo[3] = {1e9f, 1e9f, 1e9f};
    float hi[3] = {-1e9f, -1e9f, -1e9f};
    void add(const Model_3DS::Object& object)
    {
        for (int i = 0; i < object.numVerts; ++i)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], object.Vertexes[3 * i + k]);
                hi[k] = std::max(hi[k], object.Vertexes[3 * i + k]);
            }
    }
    float size(int k) const { return hi[k] - lo[k]; }
};

// Every object drawable and fully mapped into the texture.
void expectMapped(const Model_3DS& model)
{
    for (const Model_3DS::Object& object : model.Objects) {
        EXPECT_TRUE(object.textured) << object.name;
        EXPECT_GE(object.numMatFaces, 1) << object.name;
        EXPECT_GT(object.numFaces, 0) << object.name;
        int outside = 0;
        for (float t : object.TexCoords)
            if (!(t >= 0.0f && t <= 1.0f))
                ++outside;
        EXPECT_EQ(outside, 0) << object.name;
    }
}

// The texels that the front caps of an object cover, drawn into a
// w x h texture from the model's own mapping (rows top-down).
std::vector<char> frontTexels(const Model_3DS::Object& object, int w, int h)
{
    std::vector<char> covered(static_cast<size_t>(w) * h, 0);
    for (int t = 0; t < object.numFaces; t += 3) {
        const uint16_t* f = &object.Faces[t];
        const float* a = &object.Vertexes[3 * f[0]];
        const float* b = &object.Vertexes[3 * f[1]];
        const float* c = &object.Vertexes[3 * f[2]];
        if (std::fabs(a[1] - b[1]) > 1e-5f || std::fabs(a[1] - c[1]) > 1e-5f)
            continue; // a wall: caps are flat in depth
        double px[3], py[3];
        for (int k = 0; k < 3; ++k) {
            px[k] = object.TexCoords[2 * f[k]] * w;
            py[k] = (1.0 - object.TexCoords[2 * f[k] + 1]) * h;
        }
        double area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
        if (std::fabs(area) < 1e-9)
            continue;
        int x0 = std::max(0, static_cast<int>(std::min({px[0], px[1], px[2]})));
        int x1 = std::min(w - 1, static_cast<int>(std::max({px[0], px[1], px[2]})));
        int y0 = std::max(0, static_cast<int>(std::min({py[0], py[1], py[2]})));
        int y1 = std::min(h - 1, static_cast<int>(std::max({py[0], py[1], py[2]})));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
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
    Picture puff = readPng(kData + "/gfx/smoke1.png");
    Picture streak = readPng(kData + "/gfx/smoke4.png");
    for (const Picture* p : {&puff, &streak}) {
        ASSERT_EQ(p->width, p->height);
        ASSERT_GE(p->width, 128u);
        int borderAlpha = 0;
        for (unsigned k = 0; k < p->width; ++k)
            borderAlpha += p->at(k, 0)[3] + p->at(k, p->height - 1)[3] + p->at(0, k)[3] + p->at(p->width - 1, k)[3];
        EXPECT_EQ(borderAlpha, 0);
        EXPECT_GT(p->at(p->width / 2, p->height / 2)[3], 40);
        // Pale, so that the particle tint sets the colour.
        const unsigned char* centre = p->at(p->width / 2, p->height / 2);
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
    Bounds all;
    for (const Model_3DS::Object& object : model.Objects)
        all.add(object);
    EXPECT_NEAR(all.size(0), 2.0f, 0.15f);
    EXPECT_GT(all.size(2), 0.3f);
    EXPECT_LT(all.size(2), all.size(0) * 0.5f);
    EXPECT_LT(all.size(1), 0.25f);
    EXPECT_NEAR(all.hi[0] + all.lo[0], 0.0f, 0.05f);
    EXPECT_NEAR(all.hi[2] + all.lo[2], 0.0f, 0.05f);
    // The word stands proud of the plate, towards +z.
    Bounds plate, word;
    plate.add(model.Objects[0]);
    word.add(model.Objects[1]);
    EXPECT_GT(word.hi[1], plate.hi[1] + 0.02f);
}

TEST(MistAssets, ShowLogoOcclusionIsDarkRightBesideTheLettersAndOpenOnTheirTops)
{
    Model_3DS model = loadModel("logo2.3ds");
    Picture ao = readPng(kData + "/3D/logo2ao.png");
    ASSERT_EQ(model.numObjects, 3);
    ASSERT_GT(ao.width, 0u);
    int w = static_cast<int>(ao.width), h = static_cast<int>(ao.height);
    std::vector<char> letter = frontTexels(model.Objects[1], w, h);
    // Whether a letter texel lies within r texels.
    auto near = [&](int x, int y, int r) {
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                int xx = x + dx, yy = y + dy;
                if (xx >= 0 && yy >= 0 && xx < w && yy < h && letter[static_cast<size_t>(yy) * w + xx])
                    return true;
            }
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
}

TEST(MistAssets, SecondLogoHasItsLettersInFrontOfABlackOutlineThatEnclosesThem)
{
    Model_3DS model = loadModel("silvate.3ds");
    ASSERT_GE(model.numObjects, 2);
    expectMapped(model);
    Bounds outline, letters;
    outline.add(model.Objects[0]);
    for (int k = 1; k < model.numObjects; ++k)
        letters.add(model.Objects[k]);
    // Loaded axes: x along the word, y the file's z (up), z minus the file's y (towards the viewer).
    EXPECT_GT(outline.size(0), 3.0f);
    EXPECT_LT(outline.size(0), 4.5f);
    EXPECT_LT(outline.size(1), outline.size(0) * 0.4f);
    EXPECT_LT(outline.lo[0], letters.lo[0]);
    EXPECT_GT(outline.hi[0], letters.hi[0]);
    EXPECT_LT(outline.lo[1], letters.lo[1]);
    EXPECT_GT(outline.hi[1], letters.hi[1]);
    EXPECT_GT(letters.hi[2], outline.hi[2] + 0.03f);
    EXPECT_NEAR(outline.hi[0] + outline.lo[0], 0.0f, 0.05f);
    // Raised above the origin so that it clears the hills in front of it.
    EXPECT_NEAR(outline.hi[1] + outline.lo[1], 2.0f * 1.28f, 0.05f);
}

TEST(MistAssets, ShowLogoLineMapDrawsThinLinesInsideTheLettersAndLeavesTheWallsDark)
{
    Model_3DS model = loadModel("logo2.3ds");
    Picture map = readPng(kData + "/3D/logo2map.png");
    ASSERT_EQ(model.numObjects, 3);
    ASSERT_GT(map.width, 0u);
    int w = static_cast<int>(map.width), h = static_cast<int>(map.height);
    std::vector<char> letter = frontTexels(model.Objects[1], w, h);
    int letterTexels = 0, litInLetters = 0, litOnWalls = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool lit = map.at(x, y)[0] > 128;
            if (letter[static_cast<size_t>(y) * w + x]) {
                ++letterTexels;
                litInLetters += lit;
            }
        }
    // The walls' texels: everything the walls of all three objects map to.
    for (const Model_3DS::Object& object : model.Objects)
        for (int t = 0; t < object.numFaces; t += 3) {
            const uint16_t* f = &object.Faces[t];
            if (std::fabs(object.Vertexes[3 * f[0] + 1] - object.Vertexes[3 * f[1] + 1]) < 1e-5f &&
                std::fabs(object.Vertexes[3 * f[0] + 1] - object.Vertexes[3 * f[2] + 1]) < 1e-5f)
                continue; // a cap
            for (int k = 0; k < 3; ++k) {
                int x = std::min(w - 1, static_cast<int>(object.TexCoords[2 * f[k]] * w));
                int y = std::min(h - 1, static_cast<int>((1 - object.TexCoords[2 * f[k] + 1]) * h));
                litOnWalls += map.at(x, y)[0] > 16;
            }
        }
    ASSERT_GT(letterTexels, 5000);
    EXPECT_GT(litInLetters, letterTexels / 20); // lines follow the letters...
    EXPECT_LT(litInLetters, letterTexels / 2);  // ...thinly
    EXPECT_EQ(litOnWalls, 0);
}
