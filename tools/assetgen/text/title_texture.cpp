// The texture of the opening quotation's letters, 3D/starttext.jpg: a pale,
// fine-grained stone with soft mottling, faint veins and tiny pits, made to
// read well under white light. Seamless, so that it may repeat along the text.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/asset_file.h"
#include "common/image_io.h"

namespace {

constexpr int kSize = 512;

// Value noise on a lattice that wraps every `period` cells, so the picture tiles.
class TilingNoise {
public:
    explicit TilingNoise(uint32_t seed)
    {
        values_.resize(kLattice * kLattice);
        uint32_t state = seed;
        for (float& v : values_) {
            state = state * 1664525u + 1013904223u; // a plain LCG: only the bytes' stability matters
            v = static_cast<float>(state >> 8) / static_cast<float>(1u << 24);
        }
    }

    // x, y in [0, 1) of the picture; period: lattice cells across it (divides kLattice).
    float at(float x, float y, int period) const
    {
        float fx = x * period, fy = y * period;
        int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
        float tx = smooth(fx - x0), ty = smooth(fy - y0);
        float a = cell(x0, y0, period), b = cell(x0 + 1, y0, period);
        float c = cell(x0, y0 + 1, period), d = cell(x0 + 1, y0 + 1, period);
        return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
    }

    // Octaves of doubling frequency and halving weight, in [0, 1].
    float fbm(float x, float y, int period, int octaves) const
    {
        float sum = 0, weight = 0.5f, total = 0;
        for (int i = 0; i < octaves; ++i) {
            sum += weight * at(x, y, period << i);
            total += weight;
            weight *= 0.5f;
        }
        return sum / total;
    }

private:
    static constexpr int kLattice = 1024;
    static float smooth(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
    float cell(int x, int y, int period) const
    {
        x = ((x % period) + period) % period;
        y = ((y % period) + period) % period;
        // Each period reads its own stretch of the table, so octaves differ.
        return values_[(y * 31 + period) % kLattice * kLattice + (x * 17 + period * 7) % kLattice];
    }
    std::vector<float> values_;
};

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    TilingNoise mottle(7101), veins(7102), grain(7103), pits(7104);
    assetgen::Image image(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
            // Broad, soft clouds of slightly warmer and cooler stone.
            float broad = mottle.fbm(u, v, 4, 5);
            // Veins: thin ridges where a warped noise crosses its middle value.
            float warp = veins.fbm(u, v, 4, 4);
            float ridge = std::fabs(veins.fbm(u + 0.15f * warp, v + 0.15f * warp, 8, 5) - 0.5f);
            float vein = std::pow(clamp01(1.0f - ridge * 28.0f), 3.0f);
            // The fine grain that catches the light, and scattered small pits.
            float fine = grain.fbm(u, v, 64, 3) - 0.5f;
            float pit = clamp01((pits.fbm(u, v, 32, 3) - 0.68f) * 10.0f);

            float speck = grain.at(u, v, 256) - 0.5f;
            float shade = 0.86f + 0.14f * (broad - 0.5f) + 0.10f * fine + 0.06f * speck - 0.12f * vein - 0.12f * pit;
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
