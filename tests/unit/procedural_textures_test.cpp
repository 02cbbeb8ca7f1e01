#include <gtest/gtest.h>

#include <vector>

#include "gfx/procedural_textures.h"
#include "gfx/texture.h"

namespace {

// FNV-1a over the texels as GL receives them (R, G, B, A bytes, row 0 first).
uint32_t checksum(const Texture& texture)
{
    uint32_t h = 0x811c9dc5u;
    for (uint32_t word : texture.pixels)
        for (int shift = 0; shift < 32; shift += 8) {
            h ^= (word >> shift) & 0xFFu;
            h *= 0x01000193u;
        }
    return h;
}

struct Sample {
    int row, column;
    uint32_t texel;
};

void expectTexture(const Texture& t, const std::vector<Sample>& samples, uint32_t sum)
{
    for (const Sample& s : samples)
        EXPECT_EQ(t.at(s.row, s.column), s.texel) << t.name << " at " << s.row << ", " << s.column;
    EXPECT_EQ(checksum(t), sum) << t.name;
}

} // namespace

TEST(Noise, LatticeAndSmoothNoiseValuesAtChosenPoints)
{
    // n = 0 hashes to 1376312589.
    EXPECT_EQ(latticeValue(0, 0), 1.0 - 1376312589.0 / 1073741824.0);
    EXPECT_DOUBLE_EQ(latticeValue(1, 0), -0.6364480191841722);
    EXPECT_DOUBLE_EQ(latticeValue(0, 1), -0.5843862378969789);
    EXPECT_DOUBLE_EQ(latticeValue(-3, 7), -0.13875216338783503);
    EXPECT_DOUBLE_EQ(latticeValue(12345, 678), 0.4439988723024726);
    // Smooth noise meets the lattice at integer points and blends between.
    EXPECT_EQ(noise2(5.0, 9.0), latticeValue(5, 9));
    EXPECT_DOUBLE_EQ(noise2(0.5, 0.5), -0.584798531058713);
    EXPECT_DOUBLE_EQ(noise2(3.25, 7.75), 0.09692683964582618);
    EXPECT_DOUBLE_EQ(noise2(100.1, 2.9), 0.5617555987170687);
}

TEST(Noise, TurbulenceAtChosenPoints)
{
    EXPECT_EQ(turbulence(10.0, 20.0, 0.5), 0.0);
    EXPECT_DOUBLE_EQ(turbulence(3, 4, 1), 186.18986105918884);
    EXPECT_DOUBLE_EQ(turbulence(17, 33, 128), -170.5778509701624);
    EXPECT_DOUBLE_EQ(turbulence(500, 900, 128), -218.44590042301897);
    EXPECT_DOUBLE_EQ(turbulence(5, 250, 256), -259.67569153633866);
    EXPECT_DOUBLE_EQ(turbulence(10, 10, 100), -169.2969980636144);
}

TEST(Noise, TheTurbulenceGridEqualsTurbulenceAtEveryPoint)
{
    // Powers of two (as the textures use) and sizes whose octaves are fractional.
    for (double size : {128.0, 256.0, 100.0, 1.0, 0.5}) {
        const int w = 300, h = 70;
        std::vector<double> grid(w * h);
        turbulenceGrid(w, h, size, grid.data());
        int mismatches = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                mismatches += grid[y * w + x] != turbulence(x, y, size);
        EXPECT_EQ(mismatches, 0) << "size " << size;
    }
}

TEST(Texture, ConstructionIsOpaqueBlackWithRedInTheLowestByte)
{
    Texture t(8, 4, "test");
    ASSERT_EQ(t.pixels.size(), 32u);
    for (uint32_t texel : t.pixels)
        EXPECT_EQ(texel, 0xFF000000u);
    t.at(1, 2) = opaqueTexel(1, 2, 3);
    EXPECT_EQ(t.pixels[1 * 8 + 2], 0xFF030201u) << "row after row";
}

// The whole-texture checksums were computed once by a separate program from the
// formulas alone, and agree with this code.
TEST(ProceduralTextures, EachTextureHasItsTexelsAndChecksum)
{
    Texture bigflare(512, 512, "bigflare");
    fillBigflare(bigflare);
    // (256, 0) lies at distance exactly 256.
    expectTexture(bigflare, {{256, 256, greyTexel(255)}, {256, 0, greyTexel(0)}, {0, 0, greyTexel(0)},
                             {300, 256, greyTexel(229)}, {100, 377, greyTexel(113)}},
                  0xce462d6cu);

    Texture mask(512, 512, "mask");
    fillMask(mask);
    expectTexture(mask, {{256, 256, greyTexel(255)}, {0, 0, greyTexel(212)}, {100, 377, greyTexel(237)}},
                  0x9bd52a50u);

    Texture circle(64, 64, "circle");
    fillCircle(circle);
    // v = 1 - 0.4 / 0.7 at the centre; the ring lies at d = 12.8.
    expectTexture(circle, {{32, 32, greyTexel(46)}, {32, 45, greyTexel(250)}, {32, 19, greyTexel(250)},
                           {0, 0, greyTexel(0)}, {10, 40, greyTexel(70)}},
                  0x6489e6cbu);

    Texture surround(512, 512, "surround");
    fillSurround(surround);
    expectTexture(surround, {{256, 256, opaqueTexel(0, 0, 20)}, {0, 0, opaqueTexel(0, 0, 20)},
                             {100, 37, opaqueTexel(50, 50, 70)}, {281, 256, opaqueTexel(81, 81, 101)}},
                  0x50aa1a7du);

    Texture clouds(256, 256, "clouds");
    fillClouds(clouds);
    expectTexture(clouds, {{0, 0, greyTexel(255)}, {200, 100, greyTexel(226)}, {255, 255, greyTexel(242)}},
                  0x6ee1b840u);

    Texture noise(1024, 1024, "noise");
    fillNoise(noise);
    expectTexture(noise, {{512, 512, opaqueTexel(55, 55, 75)}, {0, 0, opaqueTexel(155, 155, 175)},
                          {1023, 1023, opaqueTexel(204, 204, 224)}, {300, 700, opaqueTexel(76, 76, 96)}},
                  0xf1eb48d4u);
}

TEST(ProceduralTextures, TheFlaresAreWhiteAndBlueDiscsOnBlack)
{
    Texture flare(32, 32, "flare"), blueflare(32, 32, "blueflare");
    fillFlares(flare, blueflare);
    expectTexture(flare, {{16, 16, greyTexel(255)}, {20, 25, greyTexel(14)}, {0, 0, greyTexel(0)}}, 0x31de2fdcu);
    // At the centre w = 1/2: m = 150, blue capped, red and green 255 / 4 + 150.
    expectTexture(blueflare,
                  {{16, 16, opaqueTexel(213, 213, 255)}, {20, 25, opaqueTexel(0, 0, 3)}, {0, 0, greyTexel(0)}},
                  0xed71a50au);
    // Blue leads red and green everywhere; red equals green.
    for (uint32_t texel : blueflare.pixels) {
        EXPECT_GE((texel >> 16) & 0xFF, texel & 0xFF);
        EXPECT_EQ(texel & 0xFF, (texel >> 8) & 0xFF);
        EXPECT_EQ(texel >> 24, 255u);
    }
}
