// The backdrop pictures: the two sky domes (a cloudy night and a pale dawn),
// the glowing roots dome, the far ground, and the bark colour and normal maps
// of the roots and the greetings ground. Every one wraps left to right (the
// flat ones in both directions) and is made from fixed seeds.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/noise.h"
#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/normal_map.h"
#include "common/paint.h"

using noise::fbm;
using noise::mix;
using noise::ridged;
using noise::smoothstep;

namespace {

using assetgen::blend;
using assetgen::Rgb;
using assetgen::toByte;

// Fills every pixel from shade(x, y), rows split between two threads.
void render(assetgen::Image& image, const std::function<Rgb(int, int)>& shade)
{
    auto rows = [&](int first, int step) {
        for (int y = first; y < image.height; y += step)
            for (int x = 0; x < image.width; ++x) {
                Rgb c = shade(x, y);
                uint8_t* p = image.at(x, y);
                p[0] = toByte(c.r);
                p[1] = toByte(c.g);
                p[2] = toByte(c.b);
            }
    };
    std::thread other(rows, 1, 2);
    rows(0, 2);
    other.join();
}

// A 2:1 sky for the dome: the top row is the zenith, the middle row the
// horizon, the lower half the ground below it. u and v are the picture's
// coordinates in [0, 1); e is the elevation, 1 up and -1 down.
struct SkyPoint {
    float u, v, e;
};
SkyPoint skyPoint(int x, int y, int width, int height)
{
    float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width);
    float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(height);
    return {u, v, 1.0f - 2.0f * v};
}

// Distance around the dome, wrapping at the seam.
float azimuthDistance(float u, float centre)
{
    float d = std::fabs(u - centre);
    return std::min(d, 1.0f - d);
}

Rgb nightSky(int x, int y)
{
    SkyPoint p = skyPoint(x, y, 1024, 512);
    const Rgb zenith{0.015f, 0.012f, 0.06f};
    const Rgb high{0.04f, 0.03f, 0.13f};
    const Rgb horizon{0.17f, 0.10f, 0.26f};
    const Rgb below{0.02f, 0.015f, 0.04f};
    Rgb sky = p.e > 0.0f ? blend(horizon, blend(high, zenith, smoothstep(0.5f, 1.0f, p.e)), smoothstep(0.0f, 0.5f, p.e))
                         : blend(horizon, below, smoothstep(0.0f, 0.25f, -p.e));
    // A warm glow low on the horizon, as of a distant fire.
    float glow = std::exp(-azimuthDistance(p.u, 0.3f) * azimuthDistance(p.u, 0.3f) / 0.01f) *
                 std::exp(-std::fabs(p.e) * 9.0f);
    sky = sky + Rgb{0.50f, 0.22f, 0.07f} * (0.55f * glow);

    // Stars where the sky is clear, fewer towards the pinched zenith.
    if (p.e > 0.05f && noise::hashUnit(x, y, 71u) > 1.0f - 0.004f * std::sin(3.14159f * p.v)) {
        float b = 0.4f + 0.6f * noise::hashUnit(x, y, 72u);
        sky = sky + Rgb{0.75f, 0.78f, 0.95f} * (b * smoothstep(0.05f, 0.2f, p.e));
    }

    // Clouds drifting in long streaks, warped so that they billow.
    float cx = p.u * 6.0f, cy = p.v * 9.0f;
    float warp = fbm(cx, cy, 6, 9, 4, 0.5f, 11u);
    float density = fbm(cx + 0.8f * warp, cy + 0.6f * warp, 6, 9, 6, 0.55f, 12u);
    float above = fbm(cx + 0.8f * warp, cy - 0.25f + 0.6f * warp, 6, 9, 6, 0.55f, 12u);
    float band = smoothstep(-0.15f, 0.05f, p.e) * (1.0f - smoothstep(0.55f, 0.85f, p.e));
    float cover = smoothstep(-0.2f, 0.3f, density) * band;
    float lit = std::clamp((density - above) * 2.0f, 0.0f, 1.0f); // moonlight on the upper rims
    Rgb body = blend(Rgb{0.07f, 0.05f, 0.14f}, Rgb{0.16f, 0.12f, 0.24f}, smoothstep(0.0f, 0.3f, p.e));
    Rgb cloud = body + Rgb{0.40f, 0.45f, 0.62f} * (lit * 0.7f) + Rgb{0.40f, 0.18f, 0.06f} * (glow * 0.8f);
    return blend(sky, cloud, cover * 0.92f);
}

Rgb dawnSky(int x, int y)
{
    SkyPoint p = skyPoint(x, y, 1024, 512);
    const Rgb zenith{0.36f, 0.40f, 0.58f};
    const Rgb high{0.58f, 0.60f, 0.74f};
    const Rgb horizon{0.93f, 0.78f, 0.70f};
    const Rgb below{0.30f, 0.28f, 0.36f};
    Rgb sky = p.e > 0.0f ? blend(horizon, blend(high, zenith, smoothstep(0.35f, 1.0f, p.e)), smoothstep(0.0f, 0.45f, p.e))
                         : blend(horizon, below, smoothstep(0.0f, 0.3f, -p.e));
    float sun = std::exp(-azimuthDistance(p.u, 0.62f) * azimuthDistance(p.u, 0.62f) / 0.02f) *
                std::exp(-std::fabs(p.e) * 5.0f);
    sky = sky + Rgb{0.25f, 0.16f, 0.08f} * sun;
    // Thin haze bands, low contrast.
    float hx = p.u * 4.0f, hy = p.v * 24.0f;
    float haze = fbm(hx, hy, 4, 24, 5, 0.5f, 21u);
    float band = smoothstep(-0.1f, 0.05f, p.e) * (1.0f - smoothstep(0.4f, 0.8f, p.e));
    float veil = smoothstep(0.0f, 0.5f, haze) * band;
    return blend(sky, Rgb{0.97f, 0.90f, 0.88f}, veil * 0.35f);
}

// One family of roots: the zero contours of warped noise, which run as long
// connected curves; 1 on a root's axis, falling to 0 at width.
float rootLines(float u, float v, int px, int py, float width, uint32_t seed)
{
    float wx = fbm(u * 0.5f, v * 0.5f, px / 2, py / 2, 3, 0.5f, seed + 1u);
    float wy = fbm(u * 0.5f + 3.7f, v * 0.5f, px / 2, py / 2, 3, 0.5f, seed + 2u);
    float n = fbm(u + 1.2f * wx, v + 1.2f * wy, px, py, 3, 0.35f, seed);
    return 1.0f - smoothstep(0.0f, width, std::fabs(n));
}

Rgb rootsDome(int x, int y)
{
    // Square cells over a 2:1 picture, periodic both ways.
    float u = static_cast<float>(x) / 1024.0f * 8.0f;
    float v = static_cast<float>(y) / 512.0f * 4.0f;
    float pulse = 0.55f + 0.45f * fbm(u * 0.5f, v * 0.5f, 4, 2, 3, 0.5f, 36u);

    Rgb c{0.02f, 0.01f, 0.03f};
    c = c + Rgb{0.07f, 0.025f, 0.10f} * (0.5f + 0.5f * fbm(u, v, 8, 4, 5, 0.5f, 37u)); // violet murk
    // From the finest, deepest hair roots to the big ones in front.
    struct Layer {
        float scale, width;
        int px, py;
        Rgb bark, glow;
        float glowAmount;
    };
    const Layer layers[] = {
        {4.0f, 0.035f, 32, 16, {0.10f, 0.07f, 0.12f}, {0.55f, 0.60f, 0.90f}, 0.30f},
        {2.0f, 0.05f, 16, 8, {0.16f, 0.08f, 0.06f}, {0.95f, 0.52f, 0.18f}, 0.45f},
        {1.0f, 0.07f, 8, 4, {0.22f, 0.11f, 0.06f}, {1.0f, 0.55f, 0.16f}, 0.65f},
        {1.0f, 0.05f, 8, 4, {0.20f, 0.10f, 0.07f}, {1.0f, 0.62f, 0.25f}, 0.55f},
    };
    uint32_t seed = 40u;
    for (const Layer& layer : layers) {
        float line = rootLines(u * layer.scale, v * layer.scale, layer.px, layer.py, layer.width, seed);
        seed += 10u;
        float body = smoothstep(0.0f, 0.6f, line);
        float core = smoothstep(0.75f, 1.0f, line);
        c = blend(c, layer.bark * (0.7f + 0.6f * line), body * 0.9f);
        c = c + layer.glow * (core * layer.glowAmount * pulse);
    }
    return c;
}

Rgb ground(int x, int y)
{
    float u = static_cast<float>(x) / 512.0f * 8.0f;
    float v = static_cast<float>(y) / 512.0f * 8.0f;
    float soil = fbm(u, v, 8, 8, 6, 0.55f, 41u);
    float moss = smoothstep(0.05f, 0.35f, fbm(u * 0.5f + 3.1f, v * 0.5f, 4, 4, 5, 0.5f, 42u));
    float ash = smoothstep(0.25f, 0.55f, fbm(u * 0.75f, v * 0.75f + 7.0f, 6, 6, 4, 0.5f, 43u));
    float crumb = fbm(u * 4.0f, v * 4.0f, 32, 32, 3, 0.5f, 48u);
    float sx = u * 2.0f + 0.25f * fbm(u * 2.0f, v * 2.0f, 16, 16, 3, 0.5f, 49u);
    float sy = v * 2.0f + 0.25f * fbm(u * 2.0f + 9.0f, v * 2.0f, 16, 16, 3, 0.5f, 50u);
    noise::Cells stones = noise::voronoi(sx, sy, 16, 16, 44u);
    float size = 0.12f + 0.2f * noise::hashUnit(static_cast<int>(stones.id), 2, 45u);
    float stone = (1.0f - smoothstep(size * 0.6f, size, stones.f1)) *
                  (noise::hashUnit(static_cast<int>(stones.id), 0, 45u) > 0.8f ? 1.0f : 0.0f);
    float grain = noise::hashUnit(x, y, 46u) - 0.5f;

    Rgb c = blend(Rgb{0.14f, 0.10f, 0.07f}, Rgb{0.34f, 0.26f, 0.18f}, 0.5f + 0.35f * soil + 0.3f * crumb);
    c = blend(c, Rgb{0.17f, 0.25f, 0.11f} * (0.8f + 0.4f * soil), moss * 0.75f);
    c = blend(c, Rgb{0.42f, 0.41f, 0.40f}, ash * 0.55f);
    float shade = (0.5f + 0.4f * noise::hashUnit(static_cast<int>(stones.id), 1, 47u)) * (0.8f + 0.4f * crumb);
    c = blend(c, Rgb{0.36f, 0.34f, 0.32f} * shade, stone * 0.8f);
    return c + Rgb{1.0f, 1.0f, 1.0f} * (grain * 0.05f);
}

// The bark's height field, 512 x 512, periodic both ways: vertical fibres
// broken by Voronoi plates with deep cracks between them.
assetgen::HeightField barkHeights()
{
    assetgen::HeightField h(512, 512, true);
    auto rows = [&](int first, int step) {
        for (int y = first; y < 512; y += step)
            for (int x = 0; x < 512; ++x) {
                float u = static_cast<float>(x) / 512.0f, v = static_cast<float>(y) / 512.0f;
                float warp = fbm(u * 4.0f, v * 4.0f, 4, 4, 4, 0.5f, 51u);
                float fibres = ridged(u * 24.0f + 1.5f * warp, v * 3.0f, 24, 3, 4, 0.5f, 52u);
                noise::Cells plates = noise::voronoi(u * 6.0f + 0.4f * warp, v * 3.0f, 6, 3, 53u);
                float crack = smoothstep(0.0f, 0.12f, plates.f2 - plates.f1);
                float swell = 0.5f + 0.5f * fbm(u * 8.0f, v * 8.0f, 8, 8, 5, 0.5f, 54u);
                h.at(x, y) = (0.55f * fibres + 0.45f * swell) * mix(0.15f, 1.0f, crack);
            }
    };
    std::thread other(rows, 1, 2);
    rows(0, 2);
    other.join();
    return h;
}

void writeBark(const std::string& dataDir)
{
    assetgen::HeightField heights = barkHeights();

    assetgen::Image colour(512, 512, 3);
    render(colour, [&](int x, int y) {
        float height = heights.sample(x, y);
        float u = static_cast<float>(x) / 512.0f * 4.0f, v = static_cast<float>(y) / 512.0f * 4.0f;
        float lichen = smoothstep(0.2f, 0.5f, fbm(u, v, 4, 4, 5, 0.5f, 55u));
        Rgb c = blend(Rgb{0.05f, 0.03f, 0.03f}, Rgb{0.46f, 0.35f, 0.26f}, smoothstep(0.1f, 0.8f, height));
        c = blend(c, Rgb{0.42f, 0.45f, 0.30f} * (0.4f + height), lichen * 0.35f);
        return c;
    });
    assetgen::savePng(dataDir + "/gfx/chaos_color.png", colour);
    assetgen::saveJpeg(dataDir + "/gfx/normal1.jpg", assetgen::normalMap(heights, 6.0f), 95);
}

void writePicture(const std::string& path, int width, int height, Rgb (*shade)(int, int), bool png)
{
    assetgen::Image image(width, height, 3);
    render(image, shade);
    if (png)
        assetgen::savePng(path, image);
    else
        assetgen::saveJpeg(path, image);
}

} // namespace

int main(int argc, char** argv)
{
    std::string data = assetgen::parseDirs(argc, argv).data;
    writePicture(data + "/gfx/CGSkies_0225_thumblarge.jpg", 1024, 512, nightSky, false);
    writePicture(data + "/gfx/CGSkies_0092_thumblarge.jpg", 1024, 512, dawnSky, false);
    writePicture(data + "/gfx/roots.png", 1024, 512, rootsDome, true);
    writePicture(data + "/gfx/ground.jpg", 512, 512, ground, false);
    writeBark(data);
    return 0;
}
