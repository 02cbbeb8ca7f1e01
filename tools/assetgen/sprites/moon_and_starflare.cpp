// The moon and the spark sprites, gfx/moon.png and gfx/starflare.png.
//
// moon: a full moon, lit from straight ahead, on a transparent square: dark
// maria from warped noise, highland craters with bright rims and a few young
// ones throwing rays, a little limb darkening, and a soft cold halo that
// fades to nothing before the picture's edge. The moon scene adds it as a
// glow in violet fog and the mushroom scene blends it by its alpha, so the
// disc is opaque and the halo lives mostly in alpha.
//
// starflare: a small white star for the sparks, tinted by their colour and
// added: a hot core, four thin rays of slightly different lengths and a soft
// glow, black and transparent at the border.
#include <algorithm>
#include <cmath>
#include <vector>

#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/noise.h"
#include "common/paint.h"

using noise::fbm;
using assetgen::toByte;
using noise::smoothstep;

namespace {

constexpr float kPi = 3.14159265f;

// One crater on the disc: centre (in disc units), radius, and how young it is
// (young craters are brighter and throw rays).
struct Crater {
    float x, y, r, youth;
};

std::vector<Crater> scatterCraters()
{
    std::vector<Crater> craters;
    for (int i = 0; craters.size() < 70 && i < 2000; ++i) {
        float x = 2.0f * noise::hashUnit(i, 0, 301u) - 1.0f;
        float y = 2.0f * noise::hashUnit(i, 1, 301u) - 1.0f;
        if (x * x + y * y > 0.92f)
            continue;
        // Many small craters, a few large ones.
        float size = noise::hashUnit(i, 2, 301u);
        float r = 0.015f + 0.09f * size * size * size;
        float youth = noise::hashUnit(i, 3, 301u) > 0.95f ? 0.6f : 0.0f;
        craters.push_back({x, y, r, youth});
    }
    // Two prominent young craters with long rays, placed by hand.
    craters.push_back({-0.22f, -0.58f, 0.05f, 1.6f});
    craters.push_back({0.48f, 0.28f, 0.035f, 1.0f});
    return craters;
}

assetgen::Image moon()
{
    constexpr int kSize = 512;
    constexpr float kDisc = 0.58f; // disc radius in half-picture units
    const std::vector<Crater> craters = scatterCraters();
    assetgen::Image image(kSize, kSize, 4);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float px, py;
            assetgen::texelCentre(x, y, kSize, px, py);
            float r = std::hypot(px, py);
            // Disc coordinates, and the sphere's facing (1 at the centre, 0 at the limb).
            float dx = px / kDisc, dy = py / kDisc, d = r / kDisc;
            float facing = std::sqrt(std::max(0.0f, 1.0f - d * d));
            // Pushed outwards towards the limb, as features foreshorten there.
            float sx = dx * (1.0f + 0.35f * (1.0f - facing)), sy = dy * (1.0f + 0.35f * (1.0f - facing));

            // Highlands pale, maria dark and smooth, blotched by warped noise.
            float warp = fbm(sx * 1.2f + 7.0f, sy * 1.2f, 16, 16, 3, 0.5f, 302u);
            float basins = fbm(sx * 0.75f + 0.5f * warp, sy * 0.75f + 2.0f, 16, 16, 4, 0.45f, 303u) + 0.12f * (sy - sx);
            float mottle = fbm(sx * 3.0f, sy * 3.0f, 32, 32, 3, 0.5f, 306u);
            float maria = smoothstep(-0.04f, 0.22f, basins + 0.08f * mottle);
            float grain = fbm(sx * 9.0f, sy * 9.0f, 64, 64, 4, 0.5f, 304u);
            float albedo = 0.84f - 0.34f * maria + 0.05f * mottle + 0.05f * grain * (1.0f - 0.6f * maria);

            // Craters: a darker floor, a bright rim, light falling on the far wall
            // from the upper left, and rays from the young ones.
            float rays = 0.0f;
            for (const Crater& c : craters) {
                float ox = sx - c.x, oy = sy - c.y;
                float cd = std::hypot(ox, oy) / c.r;
                if (c.youth > 0.0f && cd < 14.0f) {
                    float angle = std::atan2(oy, ox);
                    float streak = std::pow(std::max(0.0f, noise::gradient(angle * 4.0f / kPi + 40.0f, 0.5f, 8, 1, 305u + static_cast<uint32_t>(c.r * 1000))), 1.5f);
                    rays += c.youth * 0.25f * streak * std::exp(-cd * 0.25f) * smoothstep(1.0f, 1.6f, cd);
                }
                if (cd > 1.6f)
                    continue;
                float floor = 1.0f - smoothstep(0.6f, 0.95f, cd);
                float rim = std::exp(-(cd - 1.0f) * (cd - 1.0f) / 0.03f);
                float wall = (ox * 0.6f - oy * 0.8f) / (c.r * std::max(cd, 0.2f)) * smoothstep(0.3f, 0.95f, cd) * floor;
                albedo += -0.06f * floor + 0.06f * rim + 0.05f * wall + 0.15f * c.youth * (1.0f - smoothstep(0.0f, 1.3f, cd));
            }
            albedo += rays * (1.0f - 0.5f * maria);
            float limb = 0.72f + 0.28f * std::sqrt(facing);
            float lum = std::clamp(albedo, 0.0f, 1.1f) * limb;

            // A cold halo outside the disc; its light in alpha, falling to zero
            // before the picture's edge.
            float halo = std::exp(-std::max(0.0f, r - kDisc) * 9.0f) * (1.0f - smoothstep(0.7f, 0.98f, r));
            float disc = 1.0f - smoothstep(kDisc - 0.004f, kDisc + 0.004f, r);
            float haloAlpha = 0.55f * halo;
            float alpha = disc + (1.0f - disc) * haloAlpha;
            // Colour: the disc pale and faintly warm, the halo pale blue.
            float cr = disc * lum * 1.00f + (1.0f - disc) * 0.78f;
            float cg = disc * lum * 0.97f + (1.0f - disc) * 0.84f;
            float cb = disc * lum * 0.93f + (1.0f - disc) * 1.00f;
            uint8_t* p = image.at(x, y);
            p[0] = toByte(cr);
            p[1] = toByte(cg);
            p[2] = toByte(cb);
            p[3] = toByte(alpha);
        }
    return image;
}

assetgen::Image starflare()
{
    constexpr int kSize = 128;
    // The four rays' directions (radians) and lengths (half-picture units).
    const float rays[][2] = {{0.0f, 0.92f}, {0.5f * kPi, 0.80f}, {kPi, 0.86f}, {1.5f * kPi, 0.74f}};
    assetgen::Image image(kSize, kSize, 4);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            float px, py;
            assetgen::texelCentre(x, y, kSize, px, py);
            float r = std::hypot(px, py);
            float light = std::exp(-r * r / 0.0035f)        // the hot core
                        + 0.45f * std::exp(-r * r / 0.02f)  // its bloom
                        + 0.18f * std::exp(-r / 0.16f);     // the soft glow
            for (const auto& ray : rays) {
                float along = px * std::cos(ray[0]) + py * std::sin(ray[0]);
                float across = -px * std::sin(ray[0]) + py * std::cos(ray[0]);
                if (along <= 0.0f)
                    continue;
                float t = along / ray[1];
                float width = 0.018f * (1.0f - 0.7f * std::min(t, 1.0f)) + 0.004f; // thinning outwards
                light += 0.8f * std::exp(-across * across / (width * width)) * std::pow(std::max(0.0f, 1.0f - t), 1.6f);
            }
            light *= 1.0f - smoothstep(0.8f, 0.98f, r); // nothing reaches the border
            float value = std::min(1.0f, light);
            uint8_t* p = image.at(x, y);
            p[0] = p[1] = p[2] = toByte(std::sqrt(value));
            p[3] = toByte(value);
        }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    assetgen::savePng(dirs.data + "/gfx/moon.png", moon());
    assetgen::savePng(dirs.data + "/gfx/starflare.png", starflare());
    return 0;
}
