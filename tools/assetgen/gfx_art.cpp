// The first pictures of the show: the overlay laid over every frame
// (data/gfx/overlay.png), and the pictures the executable carries: the
// settings dialog's banner and icon, and the glowing panel that skins the
// beast's cubes.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/noise.h"

namespace {

// ---- Deterministic noise --------------------------------------------------

// Uniform in [0, 1).
double hash01(int x, int y, uint32_t seed)
{
    return noise::hashUnit(x, y, seed);
}

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

// Fractal gradient noise remapped to about [0, 1].
double fbm(double x, double y, uint32_t seed, int octaves)
{
    const int unbounded = 1 << 20; // these pictures need not wrap
    return 0.5 + 0.5 * noise::fbm(static_cast<float>(x), static_cast<float>(y), unbounded, unbounded, octaves,
                                  0.5f, seed);
}

double clamp01(double v)
{
    return std::min(1.0, std::max(0.0, v));
}

double smoothstep(double edge0, double edge1, double x)
{
    return smooth(clamp01((x - edge0) / (edge1 - edge0)));
}

struct Rgb {
    double r, g, b;
};

Rgb mix(const Rgb& a, const Rgb& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint8_t channel(double v)
{
    return static_cast<uint8_t>(std::lround(clamp01(v / 255.0) * 255.0));
}

void put(assetgen::Image& image, int x, int y, const Rgb& c, double alpha = 1.0)
{
    uint8_t* p = image.at(x, y);
    p[0] = channel(c.r);
    p[1] = channel(c.g);
    p[2] = channel(c.b);
    if (image.channels == 4)
        p[3] = channel(alpha * 255.0);
}

// ---- Text ------------------------------------------------------------------

// Coverage (0..1) of a line of text set with FreeType, with extra spacing between letters.
struct Coverage {
    int width = 0, height = 0;
    std::vector<double> value;
    double at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0.0;
        return value[static_cast<size_t>(y) * width + x];
    }
};

std::string findFont(const char* file)
{
    const char* dirs[] = {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/",
                          "/usr/share/fonts/TTF/"};
    for (const char* dir : dirs) {
        std::string path = std::string(dir) + file;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            std::fclose(f);
            return path;
        }
    }
    std::fprintf(stderr, "assetgen: font %s not found (install fonts-dejavu-core)\n", file);
    std::exit(1);
}

Coverage renderText(const char* text, const char* fontFile, int pixelSize, int spacing)
{
    FT_Library library;
    FT_Face face;
    std::string path = findFont(fontFile);
    if (FT_Init_FreeType(&library) || FT_New_Face(library, path.c_str(), 0, &face) ||
        FT_Set_Pixel_Sizes(face, 0, pixelSize)) {
        std::fprintf(stderr, "assetgen: cannot open font %s\n", path.c_str());
        std::exit(1);
    }
    int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    int descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    // First pass measures, second draws.
    Coverage out;
    for (int pass = 0; pass < 2; ++pass) {
        int pen = 0;
        for (const char* c = text; *c; ++c) {
            if (FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER))
                continue;
            FT_GlyphSlot g = face->glyph;
            if (pass == 1) {
                for (unsigned row = 0; row < g->bitmap.rows; ++row)
                    for (unsigned col = 0; col < g->bitmap.width; ++col) {
                        int x = pen + g->bitmap_left + static_cast<int>(col);
                        int y = ascent - g->bitmap_top + static_cast<int>(row);
                        if (x >= 0 && y >= 0 && x < out.width && y < out.height)
                            out.value[static_cast<size_t>(y) * out.width + x] =
                                g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.0;
                    }
            }
            pen += static_cast<int>(g->advance.x >> 6) + (c[1] ? spacing : 0);
        }
        if (pass == 0) {
            out.width = pen + 2;
            out.height = ascent + descent;
            out.value.assign(static_cast<size_t>(out.width) * out.height, 0.0);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return out;
}

// A soft halo around a coverage map: a box blur run three times (close to a Gaussian).
Coverage blurred(const Coverage& in, int radius, int margin)
{
    Coverage out;
    out.width = in.width + 2 * margin;
    out.height = in.height + 2 * margin;
    out.value.assign(static_cast<size_t>(out.width) * out.height, 0.0);
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x)
            out.value[static_cast<size_t>(y + margin) * out.width + x + margin] = in.at(x, y);
    std::vector<double> tmp(out.value.size());
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                double s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += out.at(x + k, y);
                tmp[static_cast<size_t>(y) * out.width + x] = s / (2 * radius + 1);
            }
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                double s = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int yy = y + k;
                    if (yy >= 0 && yy < out.height)
                        s += tmp[static_cast<size_t>(yy) * out.width + x];
                }
                out.value[static_cast<size_t>(y) * out.width + x] = s / (2 * radius + 1);
            }
    }
    return out;
}

// ---- The pictures ---------------------------------------------------------------

// Over every frame: a soft dark vignette and a faint grain, mostly nearly transparent.
assetgen::Image makeOverlay()
{
    const int w = 1024, h = 512;
    assetgen::Image image(w, h, 4);
    // Only ever darkens, so that a black frame stays black under it.
    const Rgb dark{3, 2, 7};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double u = (x + 0.5) / w * 2.0 - 1.0;
            double v = (y + 0.5) / h * 2.0 - 1.0;
            // A rounded-rectangle distance so the darkening hugs the screen's corners.
            double r = std::pow(std::pow(std::fabs(u), 2.6) + std::pow(std::fabs(v), 2.6), 1.0 / 2.6);
            double vignette = smoothstep(0.74, 1.42, r) * 0.72;
            double grain = hash01(x, y, 1021);
            double grainAlpha = (3.0 + 9.0 * grain * grain * grain) / 255.0;
            double alpha = vignette + grainAlpha * (1.0 - vignette);
            Rgb colour = dark;
            put(image, x, y, colour, alpha);
        }
    }
    return image;
}

// The skin of the beast's cubes: a dark panel whose edges glow.
assetgen::Image makePanel()
{
    const int n = 64;
    assetgen::Image image(n, n, 3);
    const Rgb deep{14, 10, 34};
    const Rgb panel{34, 26, 70};
    const Rgb halo{96, 64, 210};
    const Rgb core{196, 232, 255};
    const Rgb ember{255, 150, 60};
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double edge = std::min({px, py, n - px, n - py}); // distance to the border, pixels
            double texture = fbm(px / 9.0, py / 9.0, 4107, 4);
            Rgb c = mix(deep, panel, 0.35 + 0.65 * texture);
            // A faint inset groove a quarter of the way in.
            double groove = std::exp(-std::pow((edge - 11.0) / 0.9, 2.0));
            c = mix(c, halo, groove * 0.35);
            // Warm specks where the groove meets the corners' diagonals.
            double diagonal = std::fabs(std::fabs(px - n / 2.0) - std::fabs(py - n / 2.0));
            c = mix(c, ember, groove * std::exp(-diagonal / 1.5) * 0.7);
            // The glow: a wide violet halo and a bright cold line at the very edge.
            double wide = std::exp(-edge / 4.0);
            double line = std::exp(-edge / 0.9);
            c = mix(c, halo, clamp01(wide * 0.9));
            c = mix(c, core, clamp01(line * 1.2));
            put(image, x, y, c);
        }
    }
    return image;
}

// The settings dialog's banner: the title over a misty night scene.
assetgen::Image makeBanner()
{
    const int w = 191, h = 135;
    assetgen::Image image(w, h, 3);
    const Rgb zenith{10, 6, 28};
    const Rgb horizon{46, 44, 96};
    const Rgb mist{120, 118, 168};
    const Rgb moonlight{232, 230, 246};
    const Rgb glow{255, 160, 80};
    const double moonX = 148, moonY = 30, moonR = 9;

    std::vector<Rgb> sky(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double t = y / (h - 1.0);
            Rgb c = mix(zenith, horizon, std::pow(t, 1.4));
            // Stars, fewer towards the horizon.
            double s = hash01(x, y, 77);
            if (s > 0.992 - 0.004 * t)
                c = mix(c, moonlight, (s - 0.99) * 60.0 * (1.0 - t));
            // The moon and its halo.
            double d = std::hypot(x + 0.5 - moonX, y + 0.5 - moonY);
            c = mix(c, mix(moonlight, glow, 0.15), clamp01(std::exp(-(d - moonR) / 10.0) * 0.35));
            double crater = fbm(x / 3.0, y / 3.0, 51, 3);
            c = mix(c, mix(moonlight, Rgb{170, 168, 190}, crater), smoothstep(moonR + 0.8, moonR - 0.8, d));
            // Thin clouds drifting across the moon.
            double cloud = fbm(x / 40.0, y / 9.0, 303, 5);
            c = mix(c, mist, smoothstep(0.52, 0.8, cloud) * 0.35 * (1.0 - t));
            sky[static_cast<size_t>(y) * w + x] = c;
        }
    }

    // Three ridges of forest, each darker and nearer, with mist between them.
    struct Ridge {
        double base, height, roughness;
        uint32_t seed;
        Rgb colour;
    };
    const Ridge ridges[] = {
        {92, 16, 30, 901, {36, 34, 74}},
        {104, 14, 22, 902, {22, 18, 48}},
        {118, 12, 16, 903, {9, 6, 20}},
    };
    for (const Ridge& ridge : ridges) {
        // The ridge line, then fir trees standing on it: narrow triangles of varied height.
        std::vector<double> top(w);
        for (int x = 0; x < w; ++x)
            top[x] = ridge.base - ridge.height * 0.55 * fbm(x / ridge.roughness, 0.5, ridge.seed, 4);
        std::vector<double> treeTop = top;
        int k = 0;
        for (double tx = -4.0; tx < w + 4.0; ++k) {
            double tall = ridge.height * (0.35 + 0.65 * hash01(k, 1, ridge.seed));
            double half = tall * (0.22 + 0.08 * hash01(k, 2, ridge.seed));
            int foot = std::clamp(static_cast<int>(tx), 0, w - 1);
            for (int x = static_cast<int>(tx - half) - 1; x <= static_cast<int>(tx + half) + 1; ++x) {
                if (x < 0 || x >= w)
                    continue;
                double across = std::fabs(x + 0.5 - tx) / half;
                if (across < 1.0)
                    treeTop[x] = std::min(treeTop[x], top[foot] - tall * (1.0 - across));
            }
            tx += half * (1.1 + 1.6 * hash01(k, 3, ridge.seed));
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                Rgb& c = sky[static_cast<size_t>(y) * w + x];
                double cover = clamp01(y + 1.0 - treeTop[x]);
                c = mix(c, ridge.colour, cover);
                // Mist pooled at the foot of the ridge.
                double band = std::exp(-std::pow((y - (ridge.base + 4.0)) / 6.0, 2.0));
                double wisps = fbm(x / 28.0, y / 5.0, ridge.seed + 31, 4);
                c = mix(c, mist, band * (0.2 + 0.35 * wisps));
            }
        }
    }

    // The title, pale with a warm glow, set across the middle.
    Coverage title = renderText("VELMORA", "DejaVuSans-Bold.ttf", 27, 4);
    Coverage halo = blurred(title, 3, 9);
    int left = (w - title.width) / 2;
    int top = 50;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgb& c = sky[static_cast<size_t>(y) * w + x];
            double g = halo.at(x - left + 9, y - top + 9);
            c = mix(c, glow, clamp01(g * 0.75));
            double a = title.at(x - left, y - top);
            double shade = clamp01((y - top) / static_cast<double>(title.height));
            c = mix(c, mix(moonlight, Rgb{190, 196, 236}, shade), a);
            put(image, x, y, c);
        }
    }
    return image;
}

// The dialog's icon: a crescent moon over a violet disc, ringed in warm light.
// Drawn on a 32-pixel grid; other sizes (the desktop's icons) scale it.
assetgen::Image makeIcon(int n = 32)
{
    const double grid = 32.0 / n;
    assetgen::Image image(n, n, 4);
    const Rgb inner{70, 56, 150};
    const Rgb outer{16, 12, 40};
    const Rgb ring{255, 156, 70};
    const Rgb moon{236, 234, 250};
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            // 4 x 4 samples a pixel for smooth edges.
            double alpha = 0;
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    double px = (x + (sx + 0.5) / 4.0) * grid, py = (y + (sy + 0.5) / 4.0) * grid;
                    double d = std::hypot(px - 16.0, py - 16.0);
                    if (d > 15.5)
                        continue;
                    Rgb c = mix(inner, outer, clamp01(d / 15.5));
                    c = mix(c, ring, smoothstep(13.0, 14.6, d));
                    double lit = std::hypot(px - 17.5, py - 14.5);
                    double shadow = std::hypot(px - 21.0, py - 11.5);
                    if (lit < 8.0 && shadow > 7.0)
                        c = mix(moon, Rgb{190, 188, 214}, clamp01((8.0 - lit) / 8.0) * 0.4);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    alpha += 1;
                }
            if (alpha > 0)
                put(image, x, y, {r / alpha, g / alpha, b / alpha}, alpha / 16.0);
            else
                put(image, x, y, {0, 0, 0}, 0.0);
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    assetgen::savePng(dirs.data + "/gfx/overlay.png", makeOverlay());
    assetgen::savePng(dirs.gen + "/images/banner106.png", makeBanner());
    assetgen::savePng(dirs.gen + "/images/icon102.png", makeIcon());
    for (int size : {48, 64, 128, 256})
        assetgen::savePng(dirs.gen + "/icons/velmora-" + std::to_string(size) + ".png", makeIcon(size));
    assetgen::savePng(dirs.gen + "/images/bitmap107.png", makePanel());
    return 0;
}
