// The show's logo, 3D/logo2.3ds, and its three maps painted to its layout:
// 3D/logo2.png (colour), 3D/logo2ao.png (occlusion) and 3D/logo2map.png (lines
// that the logo shader adds on the beat).
//
// The badge: a dark pointed band with a round medallion on top, a raised
// rim round its edge; on it the word VELMORA in DejaVu Serif Bold, and in the
// medallion a crescent moon with a small star. Two file units wide. The scene
// draws it with rot.x = 90, so the file's own axes show: x to the right, y up,
// the front facing +z.
//
// The logo shader does no lighting (colour times occlusion), so the maps carry
// all the shading: a painted bevel on the letters and the crescent, brushed
// metal, and an occlusion bake of the relief.
//
// Texture layout (1024 x 512, v up): the front, projected straight along z,
// fills v 0.25 to 1 at one scale in u and v; below it three strips hold the
// walls (letters and emblem, rim, plate), u running along each contour and v
// from the wall's front edge to its foot.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/model_3ds_writer.h"
#include "common/noise.h"
#include "common/paint.h"
#include "logos/shapes.h"

using logos::Contour;
using logos::Grid;
using logos::Point;
using logos::Shape;

namespace {

constexpr const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
constexpr double kPi = 3.14159265358979;

// Layout, in file units (the word centred on the origin, cap height centred on y = 0).
constexpr double kWordWidth = 1.50;
constexpr double kTracking = 0.16;   // em
constexpr double kBandHalfWidth = 1.0; // to the band's points
constexpr double kBandShoulder = 0.86; // where its straight edges end
constexpr double kBandMargin = 0.075;  // above and below the capitals
constexpr double kMedallionRise = 0.10, kMedallionRadius = 0.19;
constexpr double kRimWidth = 0.022;

// Depths (file z before centring): the plate, and what stands on it.
constexpr double kPlateBack = 0.0, kPlateFront = 0.05;
constexpr double kFoot = 0.045; // the raised parts start just inside the plate
constexpr double kRimTop = 0.066, kLetterTop = 0.10, kEmblemTop = 0.09;

// Texture.
constexpr int kTexW = 1024, kTexH = 512, kFrontRows = 384;
constexpr double kFrontV = 0.25; // the front occupies v from here to 1
struct Strip {
    double v0, v1; // v at the wall's foot and at its front edge
};
constexpr Strip kRaisedWalls{0.17, 0.24}, kRimWalls{0.09, 0.16}, kPlateWalls{0.01, 0.08};

struct Layout {
    std::vector<Shape> letters;
    std::vector<Shape> emblem; // crescent, star
    Shape plate;
    Shape rim;
    double capHeight = 0;
    // The front's projection: layout box mapped onto u 0..1, v kFrontV..1.
    double fx0 = 0, fy0 = 0, fw = 1, fh = 1;
};

Contour arc(double cx, double cy, double r, double a0, double a1, int steps)
{
    Contour out;
    for (int i = 0; i <= steps; ++i) {
        double a = a0 + (a1 - a0) * i / steps;
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

// Circle 0 minus circle 1, counter-clockwise.
Contour crescent(Point c0, double r0, Point c1, double r1)
{
    double dx = c1.x - c0.x, dy = c1.y - c0.y, d = std::hypot(dx, dy);
    double phi = std::atan2(dy, dx);
    double delta = std::acos((d * d + r0 * r0 - r1 * r1) / (2 * d * r0)); // half the chord's angle from c0
    Contour out = arc(c0.x, c0.y, r0, phi + delta, phi + 2 * kPi - delta, 72);
    // Back along circle 1 through the part that lies inside circle 0 (clockwise).
    const Point q = out.back(), p = out.front();
    double aq = std::atan2(q.y - c1.y, q.x - c1.x), ap = std::atan2(p.y - c1.y, p.x - c1.x);
    while (ap > aq)
        ap -= 2 * kPi;
    Contour inner = arc(c1.x, c1.y, r1, aq, ap, 64);
    out.insert(out.end(), inner.begin() + 1, inner.end() - 1);
    return out;
}

Contour star(Point c, double outer, double inner, int points, double turn)
{
    Contour out;
    for (int i = 0; i < 2 * points; ++i) {
        double a = turn + kPi * i / points, r = i % 2 ? inner : outer;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return out;
}

Layout makeLayout()
{
    Layout layout;
    logos::TextLine probe = logos::layoutText(kFont, "VELMORA", 1.0, kTracking, 8);
    double em = kWordWidth / probe.width;
    logos::TextLine word = logos::layoutText(kFont, "VELMORA", em, kTracking, 8);
    logos::Box box;
    for (const Shape& glyph : word.glyphs)
        box.add(glyph);
    layout.capHeight = box.y1; // the capitals' tops (no descenders in the word)
    layout.letters = word.glyphs;
    logos::translate(layout.letters, -word.width / 2, -box.y1 / 2);

    double halfBand = layout.capHeight / 2 + kBandMargin;
    double cy = halfBand + kMedallionRise;
    double meet = std::sqrt(kMedallionRadius * kMedallionRadius - kMedallionRise * kMedallionRise);
    double start = std::atan2(halfBand - cy, meet); // where the circle meets the band's top edge
    Contour plate = {{-kBandShoulder, -halfBand}, {kBandShoulder, -halfBand}, {kBandHalfWidth, 0.0},
                     {kBandShoulder, halfBand}};
    Contour top = arc(0, cy, kMedallionRadius, start, kPi - start, 96);
    plate.insert(plate.end(), top.begin(), top.end());
    plate.push_back({-kBandShoulder, halfBand});
    plate.push_back({-kBandHalfWidth, 0.0});
    layout.plate = {plate};

    Point moon{0.0, cy + 0.012};
    layout.emblem.push_back({crescent(moon, 0.125, {moon.x + 0.05, moon.y + 0.035}, 0.105)});
    layout.emblem.push_back({star({moon.x + 0.032, moon.y + 0.022}, 0.038, 0.010, 4, kPi / 2)});

    layout.fx0 = -kBandHalfWidth - 0.02;
    layout.fw = 2 * (kBandHalfWidth + 0.02);
    layout.fh = layout.fw * kFrontRows / kTexW;
    layout.fy0 = (-halfBand + cy + kMedallionRadius) / 2 - layout.fh / 2;
    return layout;
}

// One grid point per texel of the front region.
Grid frontFrame(const Layout& layout)
{
    double cell = layout.fw / kTexW;
    return Grid(kTexW, kFrontRows, layout.fx0 + cell / 2, layout.fy0 + cell / 2, cell);
}

void frontUv(const Layout& layout, double X, double Y, float& u, float& v)
{
    u = static_cast<float>((X - layout.fx0) / layout.fw);
    v = static_cast<float>(kFrontV + (1 - kFrontV) * (Y - layout.fy0) / layout.fh);
}

// ---- The model ------------------------------------------------------------

std::vector<assetgen::Mesh3ds> buildModel(const Layout& layout)
{
    // Centre the badge on the origin in all three axes.
    logos::Box box;
    box.add(layout.plate);
    double cx = (box.x0 + box.x1) / 2, cy = (box.y0 + box.y1) / 2, cz = (kPlateBack + kLetterTop) / 2;
    auto place = [=](double X, double Y, double depth, float out[3]) {
        out[0] = static_cast<float>(X - cx);
        out[1] = static_cast<float>(Y - cy);
        out[2] = static_cast<float>(depth - cz);
    };
    auto capUv = [&layout](double X, double Y, float& u, float& v) { frontUv(layout, X, Y, u, v); };
    auto wallUv = [](Strip strip) {
        return [strip](double, double, double t, double s, float& u, float& v) {
            u = static_cast<float>(0.01 + 0.98 * t);
            v = static_cast<float>(strip.v1 + (strip.v0 - strip.v1) * s);
        };
    };
    auto extrusion = [&](double front, double back, bool backCap, Strip strip) {
        logos::Extrusion how;
        how.place = place;
        how.front = front;
        how.back = back;
        how.backCap = backCap;
        how.capUv = capUv;
        how.wallUv = wallUv(strip);
        return how;
    };

    assetgen::Mesh3ds plate, word, emblem;
    plate.name = "plate";
    word.name = "word";
    emblem.name = "emblem";
    logos::extrude(plate, layout.plate, extrusion(kPlateFront, kPlateBack, true, kPlateWalls));
    logos::extrude(plate, layout.rim, extrusion(kRimTop, kFoot, false, kRimWalls));
    for (const Shape& letter : layout.letters)
        logos::extrude(word, letter, extrusion(kLetterTop, kFoot, false, kRaisedWalls));
    for (const Shape& part : layout.emblem)
        logos::extrude(emblem, part, extrusion(kEmblemTop, kFoot, false, kRaisedWalls));
    std::vector<assetgen::Mesh3ds> meshes = {plate, word, emblem};
    for (assetgen::Mesh3ds& mesh : meshes)
        mesh.groupAll("logo");
    return meshes;
}

// ---- The maps -------------------------------------------------------------

struct Fields {
    Grid letters, emblem, plate, rim; // coverage
    Grid letterSd, emblemSd, plateSd; // signed distances
};

struct Colour {
    float r, g, b;
};

Colour mixc(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(Colour c, float k)
{
    return {c.r * k, c.g * k, c.b * k};
}

void put(assetgen::Image& image, int x, int y, Colour c)
{
    uint8_t* p = image.at(x, y);
    p[0] = assetgen::toByte(c.r);
    p[1] = assetgen::toByte(c.g);
    p[2] = assetgen::toByte(c.b);
}

// Fine streaks along x, as left by brushing, in about [0, 1].
float brushed(double X, double Y, uint32_t seed)
{
    float fine = noise::fbm(static_cast<float>(X * 6), static_cast<float>(Y * 260), 64, 1024, 3, 0.5f, seed);
    float broad = noise::fbm(static_cast<float>(X * 2), static_cast<float>(Y * 2), 64, 64, 3, 0.5f, seed + 1);
    return std::clamp(0.5f + 0.35f * fine + 0.25f * broad, 0.0f, 1.0f);
}

// A painted bevel: light from the upper left on the band within `width` of an edge.
float bevel(const Grid& sd, double X, double Y, double width)
{
    float d = sd.sample(X, Y);
    if (d <= 0 || d >= width)
        return 0;
    double e = sd.cell;
    double gx = sd.sample(X + e, Y) - sd.sample(X - e, Y), gy = sd.sample(X, Y + e) - sd.sample(X, Y - e);
    double len = std::hypot(gx, gy);
    if (len < 1e-9)
        return 0;
    // The gradient points inwards; the bevel faces the other way.
    double facing = (-gx * -0.6 + -gy * 0.8) / len;
    return static_cast<float>(facing * (1 - d / width));
}

// Occlusion of the front's relief: for each point, how much of the sky the
// walls of nearby raised parts hide, sampled along 16 directions.
Grid occlusion(const Layout& layout, const Fields& f)
{
    // Half resolution is plenty for a soft term.
    Grid frame = frontFrame(layout);
    Grid height(frame.w / 2, frame.h / 2, frame.x0 + frame.cell / 2, frame.y0 + frame.cell / 2, frame.cell * 2);
    for (int j = 0; j < height.h; ++j)
        for (int i = 0; i < height.w; ++i) {
            double X = height.x0 + i * height.cell, Y = height.y0 + j * height.cell;
            float h = f.plate.sample(X, Y) > 0.5f ? static_cast<float>(kPlateFront) : -1.0f;
            if (f.rim.sample(X, Y) > 0.5f)
                h = static_cast<float>(kRimTop);
            if (f.emblem.sample(X, Y) > 0.5f)
                h = static_cast<float>(kEmblemTop);
            if (f.letters.sample(X, Y) > 0.5f)
                h = static_cast<float>(kLetterTop);
            height.at(i, j) = h;
        }
    constexpr int kDirections = 12, kSteps = 16;
    constexpr double kReach = 0.06;
    Grid open(height.w, height.h, height.x0, height.y0, height.cell, 1.0f);
    for (int j = 0; j < height.h; ++j)
        for (int i = 0; i < height.w; ++i) {
            float h0 = height.at(i, j);
            if (h0 < 0)
                continue;
            double X = height.x0 + i * height.cell, Y = height.y0 + j * height.cell;
            double turn = noise::hashUnit(i, j, 5); // a different fan per texel, blurred below
            double hidden = 0;
            for (int k = 0; k < kDirections; ++k) {
                double a = 2 * kPi * (k + turn) / kDirections;
                double dx = std::cos(a), dy = std::sin(a), best = 0;
                for (int s = 1; s <= kSteps; ++s) {
                    double t = kReach * (s * s) / (kSteps * kSteps) + height.cell * s * 0.3;
                    double rise = height.sample(X + dx * t, Y + dy * t) - h0;
                    if (rise > 0)
                        best = std::max(best, rise / std::hypot(rise, t)); // sine of the horizon angle
                }
                hidden += best;
            }
            open.at(i, j) = static_cast<float>(1 - hidden / kDirections);
        }
    // Blur the plate's values (not across its edge) to even out the sampling.
    for (int pass = 0; pass < 2; ++pass) {
        Grid blurred = open;
        for (int j = 2; j + 2 < open.h; ++j)
            for (int i = 2; i + 2 < open.w; ++i) {
                if (height.at(i, j) < 0)
                    continue;
                float sum = 0;
                int n = 0;
                for (int dj = -2; dj <= 2; ++dj)
                    for (int di = -2; di <= 2; ++di)
                        if (height.at(i + di, j + dj) == height.at(i, j)) {
                            sum += open.at(i + di, j + dj);
                            ++n;
                        }
                blurred.at(i, j) = sum / n;
            }
        open = blurred;
    }
    return open;
}

// Circuit traces on the plate: walks in steps of 45 degrees that start beside
// a letter and run off across the open metal, each ending in a round pad.
struct Trace {
    std::vector<Point> points;
};

std::vector<Trace> circuits(const Fields& f)
{
    std::vector<Trace> traces;
    constexpr double kStep = 0.006;
    auto open = [&](Point p) {
        return f.plateSd.sample(p.x, p.y) > kRimWidth + 0.018 && f.letterSd.sample(p.x, p.y) < -0.016 &&
               f.emblemSd.sample(p.x, p.y) < -0.016;
    };
    auto clearOfTraces = [&](Point p, size_t skip) {
        for (size_t t = 0; t < traces.size(); ++t) {
            if (t == skip)
                continue;
            for (const Point& q : traces[t].points)
                if (std::hypot(p.x - q.x, p.y - q.y) < 0.016)
                    return false;
        }
        return true;
    };
    for (int attempt = 0; attempt < 1200 && traces.size() < 40; ++attempt) {
        // A start just outside a letter.
        Point p{-0.95 + 1.9 * noise::hashUnit(attempt, 1, 77), -0.2 + 0.4 * noise::hashUnit(attempt, 2, 77)};
        float d = f.letterSd.sample(p.x, p.y);
        if (d > -0.016 || d < -0.03 || !open(p) || !clearOfTraces(p, traces.size()))
            continue;
        int dir = static_cast<int>(noise::hash(attempt, 3, 77) % 8);
        // Prefer heading away from the letter, roughly horizontally or vertically.
        double best = -1e9;
        for (int k = 0; k < 8; k += 2) {
            Point q{p.x + 0.03 * std::cos(k * kPi / 4), p.y + 0.03 * std::sin(k * kPi / 4)};
            double away = f.letterSd.sample(p.x, p.y) - f.letterSd.sample(q.x, q.y);
            if (away > best) {
                best = away;
                dir = k;
            }
        }
        Trace trace{{p}};
        int length = 14 + static_cast<int>(noise::hash(attempt, 4, 77) % 40);
        int heading = dir, jog = 0; // a jog runs diagonally for a few steps, then straightens
        for (int s = 0; s < length; ++s) {
            if (jog > 0 && --jog == 0)
                heading = dir;
            else if (jog == 0 && s > 2 && noise::hashUnit(attempt, 100 + s, 78) < 0.1) {
                int side = noise::hash(attempt, 200 + s, 78) % 2 ? 1 : 7;
                heading = (dir + side) % 8;
                jog = 2 + static_cast<int>(noise::hash(attempt, 300 + s, 78) % 4);
                if (noise::hashUnit(attempt, 400 + s, 78) < 0.4)
                    dir = (dir + 2 * side) % 8; // a quarter turn instead of a jog
            }
            Point q{trace.points.back().x + kStep * std::cos(heading * kPi / 4),
                    trace.points.back().y + kStep * std::sin(heading * kPi / 4)};
            if (!open(q) || !clearOfTraces(q, traces.size()))
                break;
            trace.points.push_back(q);
        }
        if (trace.points.size() >= 10)
            traces.push_back(trace);
    }
    return traces;
}

float distanceToSegment(Point p, Point a, Point b)
{
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return static_cast<float>(std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
}

// A soft line: 1 on the line, falling off over `width`.
float line(float distance, float width)
{
    float x = distance / width;
    return std::exp(-x * x);
}

void paint(const Layout& layout, const Fields& f, const std::string& dataDir)
{
    assetgen::Image colour(kTexW, kTexH, 3), ao(kTexW, kTexH, 3), map(kTexW, kTexH, 3);
    Grid open = occlusion(layout, f);
    std::vector<Trace> traces = circuits(f);
    Grid traceLines = frontFrame(layout);
    for (const Trace& trace : traces) {
        // Lines, then a ring for a pad at the end.
        auto stamp = [&](Point centre, double reach, auto value) {
            int i0 = std::max(0, static_cast<int>((centre.x - reach - traceLines.x0) / traceLines.cell));
            int i1 = std::min(traceLines.w - 1, static_cast<int>((centre.x + reach - traceLines.x0) / traceLines.cell) + 1);
            int j0 = std::max(0, static_cast<int>((centre.y - reach - traceLines.y0) / traceLines.cell));
            int j1 = std::min(traceLines.h - 1, static_cast<int>((centre.y + reach - traceLines.y0) / traceLines.cell) + 1);
            for (int j = j0; j <= j1; ++j)
                for (int i = i0; i <= i1; ++i) {
                    Point p{traceLines.x0 + i * traceLines.cell, traceLines.y0 + j * traceLines.cell};
                    traceLines.at(i, j) = std::max(traceLines.at(i, j), value(p));
                }
        };
        for (size_t k = 0; k + 1 < trace.points.size(); ++k) {
            Point a = trace.points[k], b = trace.points[k + 1];
            stamp({(a.x + b.x) / 2, (a.y + b.y) / 2}, 0.012,
                  [&](Point p) { return line(distanceToSegment(p, a, b), 0.0016f); });
        }
        Point end = trace.points.back();
        stamp(end, 0.014, [&](Point p) {
            float r = static_cast<float>(std::hypot(p.x - end.x, p.y - end.y));
            return std::max(line(r - 0.0055f, 0.0016f), 0.6f * line(r, 0.002f));
        });
    }

    const Colour silver{0.80f, 0.81f, 0.87f}, sheen{0.64f, 0.60f, 0.96f}, gold{0.97f, 0.84f, 0.60f},
        gunmetal{0.17f, 0.16f, 0.27f}, lineColour{0.92f, 0.93f, 1.0f};
    for (int y = 0; y < kFrontRows; ++y) {
        for (int x = 0; x < kTexW; ++x) {
            int j = kFrontRows - 1 - y;
            double X = traceLines.x0 + x * traceLines.cell, Y = traceLines.y0 + j * traceLines.cell;
            float metal = brushed(X, Y, 11);
            // A slow violet-blue sheen drifting across the silver.
            float drift = 0.5f + 0.5f * static_cast<float>(std::sin(X * 2.3 + Y * 4.0 + 0.8));
            Colour pale = mixc(silver, sheen, 0.45f * drift * drift);
            Colour c = scale(gunmetal, 0.85f + 0.3f * metal);
            float occ = open.sample(X, Y);
            float glow = traceLines.at(x, j);
            if (f.rim.at(x, j) > 0.5f) {
                c = scale(pale, 0.62f + 0.25f * metal + 0.5f * bevel(f.plateSd, X, Y, kRimWidth));
                glow = line(f.plateSd.at(x, j) - static_cast<float>(kRimWidth / 2), 0.0015f);
            }
            if (f.emblem.at(x, j) > 0.5f) {
                c = scale(gold, 0.8f + 0.2f * metal + 0.45f * bevel(f.emblemSd, X, Y, 0.012));
                glow = line(f.emblemSd.at(x, j) - 0.0065f, 0.0015f);
            }
            if (f.letters.at(x, j) > 0.5f) {
                c = scale(pale, 0.82f + 0.2f * metal + 0.45f * bevel(f.letterSd, X, Y, 0.012));
                glow = line(f.letterSd.at(x, j) - 0.0055f, 0.0015f);
            }
            put(colour, x, y, c);
            float o = 0.3f + 0.7f * std::pow(std::clamp(occ, 0.0f, 1.0f), 1.6f);
            put(ao, x, y, {o, o, o});
            put(map, x, y, scale(lineColour, glow));
        }
    }
    // The wall strips: metal streaked along the contour, occluded towards the foot.
    for (int y = kFrontRows; y < kTexH; ++y) {
        double v = 1.0 - (y + 0.5) / kTexH;
        for (int x = 0; x < kTexW; ++x) {
            double u = (x + 0.5) / kTexW;
            float metal = noise::fbm(static_cast<float>(u * 3), static_cast<float>(v * 300), 64, 1024, 3, 0.5f, 21);
            metal = 0.5f + 0.4f * metal;
            Colour c = scale(gunmetal, 0.8f + 0.3f * metal);
            float o = 0.85f;
            auto within = [v](Strip s) { return v > s.v0 - 0.005 && v < s.v1 + 0.005; };
            auto footward = [v](Strip s) { return static_cast<float>(std::clamp((s.v1 - v) / (s.v1 - s.v0), 0.0, 1.0)); };
            if (within(kRaisedWalls)) {
                float s = footward(kRaisedWalls);
                c = scale(silver, 0.62f + 0.25f * metal - 0.15f * s);
                o = 1.0f - 0.6f * std::pow(s, 1.5f);
            } else if (within(kRimWalls)) {
                float s = footward(kRimWalls);
                c = scale(silver, 0.55f + 0.2f * metal);
                o = 1.0f - 0.4f * s;
            } else if (within(kPlateWalls)) {
                o = 0.8f;
            }
            put(colour, x, y, c);
            put(ao, x, y, {o, o, o});
            put(map, x, y, {0, 0, 0});
        }
    }
    assetgen::savePng(dataDir + "/3D/logo2.png", colour);
    assetgen::savePng(dataDir + "/3D/logo2ao.png", ao);
    assetgen::savePng(dataDir + "/3D/logo2map.png", map);
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    Layout layout = makeLayout();

    Fields f;
    Grid frame = frontFrame(layout);
    f.plate = logos::coverage({layout.plate}, frame, 4);
    f.plateSd = logos::signedDistance(f.plate);
    // The rim: the plate less the plate shrunk by the rim's width.
    Shape inset = logos::isoContours(f.plateSd, static_cast<float>(kRimWidth), frame.cell * 0.15);
    layout.rim = layout.plate;
    layout.rim.insert(layout.rim.end(), inset.begin(), inset.end());
    f.rim = logos::coverage({layout.rim}, frame, 4);
    f.letters = logos::coverage(layout.letters, frame, 4);
    f.letterSd = logos::signedDistance(f.letters);
    f.emblem = logos::coverage(layout.emblem, frame, 4);
    f.emblemSd = logos::signedDistance(f.emblem);

    assetgen::save3ds(dirs.data + "/3D/logo2.3ds", buildModel(layout));
    paint(layout, f, dirs.data);
    return 0;
}
