// The two smoke sprites, gfx/smoke1.png and gfx/smoke4.png: RGBA, near-white
// so that the particle tint decides their colour, the shape in alpha. They are
// drawn additively as rotated billboards, so every edge texel is fully
// transparent (no square outline) and neither has a preferred "up".
//
// smoke1: a round, billowy puff (a cluster of soft lobes whose rim is
// roughened by warped fBm). smoke4: a long wispy streak (stretched ridged
// noise inside a bent, elongated envelope), the haze of the moon scene.
#include <algorithm>
#include <cmath>

#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/noise.h"
#include "common/paint.h"

namespace {

constexpr int kSize = 256;
constexpr int kPeriod = 64; // noise lattice period: far larger than the sprite, so no visible repeats

// A fade to zero before the picture's edge: 1 inside radius a, 0 from radius b on.
float window(float r, float a, float b)
{
    return 1.0f - noise::smoothstep(a, b, r);
}

void store(assetgen::Image& image, int x, int y, float shade, float alpha)
{
    uint8_t* p = image.at(x, y);
    float grey = std::clamp(shade, 0.0f, 1.0f) * 255.0f + 0.5f;
    p[0] = static_cast<uint8_t>(grey);
    p[1] = static_cast<uint8_t>(grey);
    p[2] = static_cast<uint8_t>(std::min(255.0f, grey + 4.0f)); // the faintest cold cast
    p[3] = assetgen::toByte(alpha);
}

assetgen::Image billowyPuff()
{
    // Soft lobes around the centre: (x, y, radius).
    const float lobes[][3] = {{0.0f, 0.0f, 0.46f},   {-0.30f, 0.12f, 0.30f}, {0.28f, 0.18f, 0.32f},
                              {0.05f, 0.34f, 0.28f}, {-0.14f, -0.28f, 0.30f}, {0.26f, -0.22f, 0.26f},
                              {-0.38f, -0.12f, 0.22f}};
    assetgen::Image image(kSize, kSize, 4);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float px, py;
            assetgen::texelCentre(x, y, kSize, px, py);
            // Warp the lookup so that the rim curls instead of staying round.
            float wx = px + 0.16f * noise::fbm(px * 3 + 11, py * 3 + 7, kPeriod, kPeriod, 4, 0.5f, 101);
            float wy = py + 0.16f * noise::fbm(px * 3 + 31, py * 3 + 17, kPeriod, kPeriod, 4, 0.5f, 102);
            float density = 0;
            for (const auto& lobe : lobes) {
                float dx = wx - lobe[0], dy = wy - lobe[1];
                density += std::exp(-(dx * dx + dy * dy) / (lobe[2] * lobe[2]));
            }
            // Billows: rounded lumps (folded noise), thinner between them.
            float billow = std::min(1.0f, 1.7f * std::fabs(noise::fbm(wx * 2.4f + 3, wy * 2.4f + 5, kPeriod, kPeriod, 4, 0.4f, 103)));
            float fine = noise::fbm(wx * 9 + 9, wy * 9 + 1, kPeriod, kPeriod, 3, 0.5f, 104);
            float body = noise::smoothstep(0.15f, 1.25f, density + 0.25f * fine);
            float shade = noise::smoothstep(0.0f, 0.8f, billow);
            float alpha = body * std::sqrt(body) * (0.45f + 0.55f * shade) * window(std::hypot(px, py), 0.72f, 0.95f);
            store(image, x, y, 0.78f + 0.22f * shade, alpha * 0.9f);
        }
    }
    return image;
}

assetgen::Image wispyStreak()
{
    assetgen::Image image(kSize, kSize, 4);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float px, py;
            assetgen::texelCentre(x, y, kSize, px, py);
            // Bend the streak into a shallow S, then stretch it along x.
            float by = py - 0.16f * std::sin(px * 2.6f) - 0.05f * px;
            float wx = px + 0.10f * noise::fbm(px * 2 + 5, by * 2 + 3, kPeriod, kPeriod, 3, 0.5f, 201);
            float wy = by + 0.07f * noise::fbm(px * 4 + 13, by * 4 + 29, kPeriod, kPeriod, 4, 0.5f, 202);
            float ex = wx / 0.9f, ey = wy / 0.42f;
            float envelope = 1.0f - noise::smoothstep(0.1f, 1.0f, std::sqrt(ex * ex + ey * ey));
            // Soft strands: folded noise stretched along the streak, over a thin haze.
            float strands = 1.0f - std::fabs(noise::fbm(wx * 1.6f + 17, wy * 5.5f + 23, kPeriod, kPeriod, 3, 0.45f, 203));
            float breakup = 0.5f + 0.5f * noise::fbm(wx * 2.5f + 41, wy * 4 + 43, kPeriod, kPeriod, 4, 0.5f, 204);
            float alpha = envelope * (0.18f + 0.82f * strands * strands * strands) * (0.35f + 0.9f * breakup);
            alpha *= window(std::hypot(px, py), 0.80f, 0.96f);
            store(image, x, y, 0.86f + 0.14f * strands, alpha * 0.95f);
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    assetgen::savePng(dirs.data + "/gfx/smoke1.png", billowyPuff());
    assetgen::savePng(dirs.data + "/gfx/smoke4.png", wispyStreak());
    return 0;
}
