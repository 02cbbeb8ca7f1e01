#include <gtest/gtest.h>

#include <cmath>
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

uint32_t red(uint32_t t) { return t & 0xFF; }
uint32_t green(uint32_t t) { return (t >> 8) & 0xFF; }
uint32_t blue(uint32_t t) { return (t >> 16) & 0xFF; }
uint32_t alpha(uint32_t t) { return t >> 24; }

} // namespace

TEST(Noise, LatticeValues)
{
    // n = 0 hashes to 1376312589.
    EXPECT_EQ(latticeValue(0, 0), 1.0 - 1376312589.0 / 1073741824.0);
    EXPECT_DOUBLE_EQ(latticeValue(1, 0), -0.6364480191841722);
    EXPECT_DOUBLE_EQ(latticeValue(0, 1), -0.5843862378969789);
    EXPECT_DOUBLE_EQ(latticeValue(-3, 7), -0.13875216338783503);
    EXPECT_DOUBLE_EQ(latticeValue(12345, 678), 0.4439988723024726);
    // i + 57 j: one step in j is 57 steps in i.
    EXPECT_EQ(latticeValue(57, 0), latticeValue(0, 1));
}

TEST(Noise, Noise2MeetsTheLatticeAtIntegerPointsAndBlendsBetween)
{
    EXPECT_EQ(noise2(0.0, 0.0), latticeValue(0, 0));
    EXPECT_EQ(noise2(5.0, 9.0), latticeValue(5, 9));
    EXPECT_DOUBLE_EQ(noise2(0.5, 0.5), -0.584798531058713);
    EXPECT_DOUBLE_EQ(noise2(3.25, 7.75), 0.09692683964582618);
    EXPECT_DOUBLE_EQ(noise2(100.1, 2.9), 0.5617555987170687);
}

TEST(Noise, TurbulenceAtChosenPoints)
{
    EXPECT_EQ(turbulence(10.0, 20.0, 0.5), 0.0);
    EXPECT_EQ(turbulence(3.0, 4.0, 1.0), noise2(3.0, 4.0) * 256);
    EXPECT_DOUBLE_EQ(turbulence(3, 4, 1), 186.18986105918884);
    EXPECT_DOUBLE_EQ(turbulence(17, 33, 128), -170.5778509701624);
    EXPECT_DOUBLE_EQ(turbulence(500, 900, 128), -218.44590042301897);
    EXPECT_DOUBLE_EQ(turbulence(5, 250, 256), -259.67569153633866);
    EXPECT_DOUBLE_EQ(turbulence(10, 10, 100), -169.2969980636144);
}

TEST(Noise, TheTurbulenceGridEqualsTurbulenceAtEveryPoint)
{
    // Powers of two (as the textures use) and a size whose octaves are fractional.
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

TEST(Texture, ConstructionIsOpaqueBlack)
{
    Texture t(8, 4, "test");
    ASSERT_EQ(t.pixels.size(), 32u);
    for (uint32_t texel : t.pixels)
        EXPECT_EQ(texel, 0xFF000000u);
    t.at(1, 2) = opaqueTexel(1, 2, 3);
    EXPECT_EQ(t.pixels[1 * 8 + 2], 0xFF030201u) << "red in the lowest byte, row after row";
}

// The whole-texture checksums were computed once by a separate program from the
// formulas alone, and agree with this code.
TEST(ProceduralTextures, Bigflare)
{
    Texture t(512, 512, "bigflare");
    fillBigflare(t);
    EXPECT_EQ(t.at(256, 256), greyTexel(255));
    EXPECT_EQ(t.at(256, 0), greyTexel(0)) << "distance exactly 256";
    EXPECT_EQ(t.at(0, 0), greyTexel(0)) << "corner";
    EXPECT_EQ(t.at(300, 256), greyTexel(229));
    EXPECT_EQ(t.at(100, 377), greyTexel(113));
    EXPECT_EQ(checksum(t), 0xce462d6cu);
}

TEST(ProceduralTextures, Mask)
{
    Texture t(512, 512, "mask");
    fillMask(t);
    EXPECT_EQ(t.at(256, 256), greyTexel(255));
    int corner = static_cast<int>(std::pow(1.0 - std::sqrt(131072.0) / 512, 0.15) * 255);
    EXPECT_EQ(t.at(0, 0), greyTexel(corner));
    EXPECT_EQ(t.at(0, 0), greyTexel(212));
    EXPECT_EQ(t.at(100, 377), greyTexel(237));
    EXPECT_EQ(checksum(t), 0x9bd52a50u);
}

TEST(ProceduralTextures, Circle)
{
    Texture t(64, 64, "circle");
    fillCircle(t);
    EXPECT_EQ(t.at(32, 32), greyTexel(46)) << "v = 1 - 0.4 / 0.7 at the centre";
    EXPECT_EQ(t.at(32, 45), greyTexel(250)) << "the ring lies at d = 12.8";
    EXPECT_EQ(t.at(32, 19), greyTexel(250));
    EXPECT_EQ(t.at(0, 0), greyTexel(0));
    EXPECT_EQ(t.at(10, 40), greyTexel(70));
    EXPECT_EQ(checksum(t), 0x6489e6cbu);
}

TEST(ProceduralTextures, FlareAndBlueflare)
{
    Texture flare(32, 32, "flare"), blueflare(32, 32, "blueflare");
    fillFlares(flare, blueflare);
    EXPECT_EQ(flare.at(16, 16), greyTexel(255));
    // At the centre w = 1/2: m = 150, blue capped, red and green 255 / 4 + 150.
    EXPECT_EQ(blueflare.at(16, 16), opaqueTexel(213, 213, 255));
    EXPECT_EQ(flare.at(20, 25), greyTexel(14));
    EXPECT_EQ(blueflare.at(20, 25), opaqueTexel(0, 0, 3));
    // Outside the disc both are opaque black.
    EXPECT_EQ(flare.at(0, 0), greyTexel(0));
    EXPECT_EQ(blueflare.at(0, 0), greyTexel(0));
    // Blue leads red and green everywhere; red equals green.
    for (uint32_t texel : blueflare.pixels) {
        EXPECT_GE(blue(texel), red(texel));
        EXPECT_EQ(red(texel), green(texel));
        EXPECT_EQ(alpha(texel), 255u);
    }
    EXPECT_EQ(checksum(flare), 0x31de2fdcu);
    EXPECT_EQ(checksum(blueflare), 0xed71a50au);
}

TEST(ProceduralTextures, Surround)
{
    Texture t(512, 512, "surround");
    fillSurround(t);
    EXPECT_EQ(t.at(256, 256), opaqueTexel(0, 0, 20));
    EXPECT_EQ(t.at(0, 0), opaqueTexel(0, 0, 20));
    EXPECT_EQ(t.at(100, 37), opaqueTexel(50, 50, 70));
    EXPECT_EQ(t.at(281, 256), opaqueTexel(81, 81, 101));
    EXPECT_EQ(checksum(t), 0x50aa1a7du);
}

TEST(ProceduralTextures, Clouds)
{
    Texture t(256, 256, "clouds");
    fillClouds(t);
    EXPECT_EQ(t.at(0, 0), greyTexel(255));
    EXPECT_EQ(t.at(200, 100), greyTexel(226));
    EXPECT_EQ(t.at(255, 255), greyTexel(242));
    EXPECT_EQ(checksum(t), 0x6ee1b840u);
}

TEST(ProceduralTextures, Noise)
{
    Texture t(1024, 1024, "noise");
    fillNoise(t);
    EXPECT_EQ(t.at(512, 512), opaqueTexel(55, 55, 75));
    EXPECT_EQ(t.at(0, 0), opaqueTexel(155, 155, 175));
    EXPECT_EQ(t.at(1023, 1023), opaqueTexel(204, 204, 224));
    EXPECT_EQ(t.at(300, 700), opaqueTexel(76, 76, 96));
    // Every 37th row against the formula with the plain turbulence.
    int mismatches = 0;
    for (int y = 0; y < 1024; y += 37)
        for (int x = 0; x < 1024; ++x)
            mismatches += t.at(y, x) != noiseTexel(x, y, turbulence(x, y, 128));
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(checksum(t), 0xf1eb48d4u);
}
