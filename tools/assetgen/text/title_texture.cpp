// The texture of the opening quotation's letters, 3D/starttext.jpg: a pale,
// fine-grained stone with soft mottling, faint veins and tiny pits, made to
// read well under white light. Seamless, so that it may repeat along the text.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/noise.h"

namespace {

constexpr int kSize = 512;

// Tileable fBm in about [0, 1]; u, v in [0, 1) of the picture, period lattice cells across it.
float stone(float u, float v, int period, int octaves, uint32_t seed)
{
    return 0.5f + 0.5f * noise::fbm(u * period, v * period, period, period, octaves, 0.5f, seed);
}

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    const uint32_t mottle = 7101, veins = 7102, grain = 7103, pits = 7104;
    assetgen::Image image(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
            // Broad, soft clouds of slightly warmer and cooler stone.
            float broad = stone(u, v, 4, 5, mottle);
            // Veins: thin ridges where a warped noise crosses its middle value.
            float warp = stone(u, v, 4, 4, veins);
            float ridge = std::fabs(stone(u + 0.15f * warp, v + 0.15f * warp, 8, 5, veins) - 0.5f);
            float vein = std::pow(clamp01(1.0f - ridge * 28.0f), 3.0f);
            // The fine grain that catches the light, and scattered small pits.
            float fine = stone(u, v, 64, 3, grain) - 0.5f;
            float pit = clamp01((stone(u, v, 32, 3, pits) - 0.68f) * 10.0f);

            float speck = stone(u, v, 256, 1, grain) - 0.5f;
            float shade = 0.95f + 0.10f * (broad - 0.5f) + 0.10f * fine + 0.06f * speck - 0.12f * vein - 0.12f * pit;
            float warm = broad - 0.5f;
            float r = shade * (0.97f + 0.05f * warm);
            float g = shade * (0.94f + 0.02f * warm);
            float b = shade * (0.88f - 0.03f * warm);
            uint8_t* p = image.at(x, y);
            p[0] = static_cast<uint8_t>(clamp01(r) * 255.0f + 0.5f);
            p[1] = static_cast<uint8_t>(clamp01(g) * 255.0f + 0.5f);
            p[2] = static_cast<uint8_t>(clamp01(b) * 255.0f + 0.5f);
        }
    }
    assetgen::saveJpeg(dirs.data + "/3D/starttext.jpg", image, 92);
    return 0;
}
