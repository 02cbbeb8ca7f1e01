#include "gfx/procedural_textures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "gfx/texture.h"

namespace {

const double kPi = 3.1415926;         // the textures' pi, this exact decimal
const double kNoisePi = 3.1415927;    // the one the cosine interpolation uses

// Truncates a non-negative value to a channel, 255 at most.
uint32_t capped(double value)
{
    int v = static_cast<int>(value);
    return v > 255 ? 255u : static_cast<uint32_t>(v);
}

// The distance of a texel from a centre: the integer sum of squares, its root as a float.
float texelDistance(int i, int j)
{
    return std::sqrt(static_cast<float>(i * i + j * j));
}

// Runs work(begin, end) over blocks of rows on every core; the rows are
// independent, so the result is the same as one pass in order.
template <typename Work>
void parallelRows(int rows, const Work& work)
{
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min({threads, 16, std::max(1, rows / 16)});
    if (threads == 1) {
        work(0, rows);
        return;
    }
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        int begin = rows * t / threads;
        int end = rows * (t + 1) / threads;
        pool.emplace_back([&work, begin, end] { work(begin, end); });
    }
    for (std::thread& thread : pool)
        thread.join();
}

double cosineWeight(double fraction)
{
    return (1.0 - std::cos(fraction * kNoisePi)) * 0.5;
}

// One octave of noise2 over a grid: where each column and each row falls
// between lattice points, computed once for the whole grid.
struct Octave {
    double scale;
    std::vector<int32_t> column;   // lattice i of each x
    std::vector<double> columnWeight;
    std::vector<int32_t> row;      // lattice j of each y
    std::vector<double> rowWeight;
};

void placeOnLattice(int count, double scale, std::vector<int32_t>& cell, std::vector<double>& weight)
{
    cell.resize(count);
    weight.resize(count);
    for (int k = 0; k < count; ++k) {
        double q = static_cast<double>(k) / scale;
        cell[k] = static_cast<int32_t>(q);
        weight[k] = cosineWeight(q - cell[k]);
    }
}

// noise2 along lattice row j for every column of the grid, interpolated
// across only (the part that rows sharing j have in common).
void interpolateLatticeRow(const Octave& octave, int32_t j, std::vector<double>& lattice,
                           std::vector<double>& out)
{
    int width = static_cast<int>(octave.column.size());
    int32_t first = octave.column.front();
    int32_t last = octave.column.back() + 1;
    lattice.resize(static_cast<size_t>(last - first) + 1);
    for (int32_t i = first; i <= last; ++i)
        lattice[i - first] = latticeValue(i, j);
    out.resize(width);
    for (int x = 0; x < width; ++x) {
        int32_t i = octave.column[x] - first;
        double sx = octave.columnWeight[x];
        out[x] = lattice[i] * (1 - sx) + lattice[i + 1] * sx;
    }
}

} // namespace

double latticeValue(int32_t i, int32_t j)
{
    uint32_t n = static_cast<uint32_t>(i) + 57u * static_cast<uint32_t>(j);
    n = (n << 13) ^ n;
    uint32_t h = (n * (n * n * 60493u + 19990303u) + 1376312589u) & 0x7FFFFFFFu;
    return 1.0 - h / 1073741824.0;
}

double noise2(double x, double y)
{
    int32_t i = static_cast<int32_t>(x);
    int32_t j = static_cast<int32_t>(y);
    double sx = cosineWeight(x - i);
    double sy = cosineWeight(y - j);
    return (latticeValue(i, j) * (1 - sx) + latticeValue(i + 1, j) * sx) * (1 - sy) +
           (latticeValue(i, j + 1) * (1 - sx) + latticeValue(i + 1, j + 1) * sx) * sy;
}

double turbulence(double x, double y, double size)
{
    if (size < 1)
        return 0.0;
    double s = size;
    double sum = 0.0;
    do {
        sum += noise2(x / s, y / s) * s;
        s = s * 0.5;
    } while (s >= 1);
    return sum * 256 / size;
}

void turbulenceRows(int width, int height, double size, const std::function<void(int, const double*)>& use)
{
    if (width <= 0 || height <= 0)
        return;
    std::vector<Octave> octaves;
    for (double s = size; s >= 1; s = s * 0.5) {
        Octave octave;
        octave.scale = s;
        placeOnLattice(width, s, octave.column, octave.columnWeight);
        placeOnLattice(height, s, octave.row, octave.rowWeight);
        octaves.push_back(std::move(octave));
    }

    parallelRows(height, [&](int begin, int end) {
        // Per octave, the two interpolated lattice rows the current grid row lies between;
        // consecutive grid rows share them until the lattice row changes.
        struct Cached {
            int32_t j = 0;
            bool valid = false;
            std::vector<double> below, above;
        };
        std::vector<Cached> cache(octaves.size());
        std::vector<double> lattice;
        std::vector<double> sum(width);
        for (int y = begin; y < end; ++y) {
            std::fill(sum.begin(), sum.end(), 0.0);
            for (size_t k = 0; k < octaves.size(); ++k) {
                const Octave& octave = octaves[k];
                int32_t j = octave.row[y];
                Cached& c = cache[k];
                if (c.valid && j == c.j + 1) {
                    // One lattice row further down: the old upper row is the new lower one.
                    std::swap(c.below, c.above);
                    interpolateLatticeRow(octave, j + 1, lattice, c.above);
                    c.j = j;
                } else if (!c.valid || c.j != j) {
                    interpolateLatticeRow(octave, j, lattice, c.below);
                    interpolateLatticeRow(octave, j + 1, lattice, c.above);
                    c.j = j;
                    c.valid = true;
                }
                double sy = octave.rowWeight[y];
                double s = octave.scale;
                for (int x = 0; x < width; ++x)
                    sum[x] += (c.below[x] * (1 - sy) + c.above[x] * sy) * s;
            }
            for (int x = 0; x < width; ++x)
                sum[x] = size < 1 ? 0.0 : sum[x] * 256 / size;
            use(y, sum.data());
        }
    });
}

void turbulenceGrid(int width, int height, double size, double* out)
{
    turbulenceRows(width, height, size, [&](int y, const double* row) {
        std::copy(row, row + width, out + static_cast<size_t>(y) * width);
    });
}

uint32_t cloudsTexel(int x, int y, double t)
{
    double a = (t * 0.85 / 256 + x * 0.95 / 256 + y / 256.0) * kPi;
    // |sin a| * 256 reaches 256 only at a crest; a byte cannot hold it.
    return greyTexel(capped(std::fabs(std::sin(a)) * 256));
}

uint32_t bigflareTexel(int row, int column)
{
    float d = texelDistance(column - 256, row - 256);
    if (d > 256)
        return greyTexel(0); // the corners
    float f = (256 - d) / 256;
    return greyTexel(static_cast<uint32_t>(std::pow(static_cast<double>(f), 0.55) * 255));
}

uint32_t maskTexel(int row, int column)
{
    float d = texelDistance(column - 256, row - 256);
    return greyTexel(static_cast<uint32_t>(std::pow(static_cast<double>((512 - d) / 512), 0.15) * 255));
}

uint32_t noiseTexel(int x, int y, double t)
{
    double dx = (x - 512) / 1024.0;
    double dy = (y - 512) / 1024.0;
    double rho = std::sqrt(dx * dx + dy * dy);
    double s = std::fabs(std::sin((t * 0.35 / 256 + rho) * 0.5 * kPi));
    return opaqueTexel(capped(s * 216), capped(s * 216), capped(s * 216 + 20));
}

double surroundWave(int k)
{
    return std::sin((k - 256) / 512.0 * 10 * kPi);
}

uint32_t surroundTexel(double across, double down)
{
    double s = std::fabs(across + down) * 82;
    return opaqueTexel(capped(s), capped(s), capped(s + 20));
}

uint32_t circleTexel(int row, int column, int radius)
{
    float d = texelDistance(radius - column, radius - row);
    double v = 1 - std::fabs(d / radius - 0.4) / 0.7;
    if (v < 0)
        v = 0;
    return greyTexel(capped(v * v * 255));
}

uint32_t flareTexel(int row, int column)
{
    float d = texelDistance(column - 16, row - 16);
    if (d > 16)
        return greyTexel(0);
    double f = (16 - d) * 0.0625;
    return greyTexel(static_cast<uint32_t>(std::pow(f, 3.0) * 255));
}

uint32_t blueflareTexel(int row, int column)
{
    int i = column - 16;
    float d = texelDistance(i, row - 16);
    if (d > 16)
        return greyTexel(0); // the construction value, kept
    double f = (16 - d) * 0.0625;
    uint32_t q = capped(std::pow(f, 4.5) * 255);
    double w = 1 - std::abs(i - 16) / 32.0; // column / 32: brighter to the right
    uint32_t m = static_cast<uint32_t>(w * std::pow(f, 6.0) * 300);
    uint32_t redGreen = std::min(255u, (q >> 2) + m);
    return opaqueTexel(redGreen, redGreen, std::min(255u, q + m));
}

namespace {

// Fills a texture whose texel depends only on the distance from texel (256, 256):
// each squared distance is worked out once.
void fillByDistance(Texture& texture, uint32_t (*texel)(int row, int column))
{
    std::vector<uint32_t> byDistance(2 * 256 * 256 + 1, 0);
    std::vector<bool> known(byDistance.size(), false);
    for (int r = 0; r < texture.height; ++r) {
        for (int c = 0; c < texture.width; ++c) {
            int key = (c - 256) * (c - 256) + (r - 256) * (r - 256);
            if (!known[key]) {
                byDistance[key] = texel(r, c);
                known[key] = true;
            }
            texture.at(r, c) = byDistance[key];
        }
    }
}

} // namespace

void fillClouds(Texture& clouds)
{
    turbulenceRows(clouds.width, clouds.height, 256, [&](int y, const double* t) {
        for (int x = 0; x < clouds.width; ++x)
            clouds.at(y, x) = cloudsTexel(x, y, t[x]);
    });
}

void fillBigflare(Texture& bigflare)
{
    fillByDistance(bigflare, bigflareTexel);
}

void fillMask(Texture& mask)
{
    fillByDistance(mask, maskTexel);
}

void fillNoise(Texture& noise)
{
    turbulenceRows(noise.width, noise.height, 128, [&](int y, const double* t) {
        for (int x = 0; x < noise.width; ++x)
            noise.at(y, x) = noiseTexel(x, y, t[x]);
    });
}

void fillSurround(Texture& surround)
{
    // One wave belongs to the column, the other to the row.
    std::vector<double> across(surround.width), down(surround.height);
    for (int x = 0; x < surround.width; ++x)
        across[x] = surroundWave(x);
    for (int y = 0; y < surround.height; ++y)
        down[y] = surroundWave(y);
    for (int y = 0; y < surround.height; ++y)
        for (int x = 0; x < surround.width; ++x)
            surround.at(y, x) = surroundTexel(across[x], down[y]);
}

void fillCircle(Texture& circle)
{
    int radius = std::min(circle.width, circle.height) / 2;
    for (int r = 0; r < circle.height; ++r)
        for (int c = 0; c < circle.width; ++c)
            circle.at(r, c) = circleTexel(r, c, radius);
}

void fillFlares(Texture& flare, Texture& blueflare)
{
    for (int r = 0; r < flare.height; ++r) {
        for (int c = 0; c < flare.width; ++c) {
            flare.at(r, c) = flareTexel(r, c);
            blueflare.at(r, c) = blueflareTexel(r, c);
        }
    }
}

namespace {

struct {
    std::unique_ptr<Texture> circle, flare, bigflare, blueflare, noise, clouds, surround, mask;
    ProceduralTextures names{};
} state;

} // namespace

const ProceduralTextures& proceduralTextures()
{
    return state.names;
}

void createProceduralTextures()
{
    state.circle = std::make_unique<Texture>(64, 64, "circle");
    state.flare = std::make_unique<Texture>(32, 32, "flare");
    state.bigflare = std::make_unique<Texture>(512, 512, "bigflare");
    state.blueflare = std::make_unique<Texture>(32, 32, "blueflare");
    state.noise = std::make_unique<Texture>(1024, 1024, "noise");
    state.clouds = std::make_unique<Texture>(256, 256, "clouds");
    state.surround = std::make_unique<Texture>(512, 512, "surround");
    state.mask = std::make_unique<Texture>(512, 512, "mask");

    fillClouds(*state.clouds);
    fillBigflare(*state.bigflare);
    fillMask(*state.mask);
    fillNoise(*state.noise);
    fillSurround(*state.surround);
    fillCircle(*state.circle);
    fillFlares(*state.flare, *state.blueflare);

    state.flare->upload();
    state.mask->upload();
    state.bigflare->upload();
    state.circle->upload();
    state.clouds->upload();
    state.blueflare->upload();
    state.surround->upload();
    state.noise->upload();

    state.names = {state.circle->glName,   state.flare->glName,  state.bigflare->glName,
                   state.blueflare->glName, state.noise->glName,  state.clouds->glName,
                   state.surround->glName,  state.mask->glName};
}

void releaseProceduralTextures()
{
    for (GLuint name : {state.names.flare, state.names.circle, state.names.blueflare,
                        state.names.bigflare, state.names.noise, state.names.clouds,
                        state.names.surround, state.names.mask})
        if (name != 0)
            glDeleteTextures(1, &name);
    state.names = {};
    state.flare.reset();
    state.circle.reset();
    state.blueflare.reset();
    state.bigflare.reset();
    state.noise.reset();
    state.clouds.reset();
    state.surround.reset();
    state.mask.reset();
}
