// The two mushroom models of the stairway scene and their maps:
// 3D/shrooms5.3DS, a cluster of four mushrooms about 1.5 units tall with
// 3D/shrooms5col2.jpg and 3D/shrooms5Nor2.jpg (orange caps with cream warts,
// cream gills, ivory stems); 3D/shrooms4.3DS, two tall slender mushrooms about
// 2.5 units tall with 3D/shrooms4col.png and 3D/shrooms4Nor.png (violet bells
// with dark tips and fine streaks, pale gills, cold pale stems).
//
// Axes: the scene draws both with rot.x = 90, which turns the loader's frame
// back into the file's own, so here y is up and the feet stand on y = 0.
//
// Every mushroom is one object with two face groups, "cap" and "stem", made of
// surfaces of revolution: the stem is swept along a bent spine, the cap's top
// and its gills are turned about the cap's axis, which leans with the stem.
//
// Texture layout (v up), shared by both models: the caps' tops are mapped as
// a disc in the upper left quarter (apex at its centre, rim on its circle),
// the gills as a disc in the upper right quarter (stem at the centre), and
// the stems fill the lower half with their length along u and their girth
// along v. Each mushroom turns the discs by its own angle, so that the spots
// of one cap do not repeat on the next. The normal maps come from the same
// height fields as the colours.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "common/asset_file.h"
#include "common/image_io.h"
#include "common/model_3ds_writer.h"
#include "common/noise.h"
#include "common/normal_map.h"
#include "common/paint.h"

using noise::fbm;
using noise::smoothstep;

namespace {

constexpr double kPi = 3.14159265358979;

struct P3 {
    double x = 0, y = 0, z = 0;
    P3 operator+(const P3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    P3 operator-(const P3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    P3 operator*(double s) const { return {x * s, y * s, z * s}; }
};
double dot(const P3& a, const P3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P3 crossProduct(const P3& a, const P3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
P3 unit(const P3& a) { return a * (1.0 / std::sqrt(dot(a, a))); }
double lerp(double a, double b, double t) { return a + (b - a) * t; }

// Two unit vectors across an axis, turning the same way round it for every axis near +y.
void across(const P3& axis, P3& side, P3& front)
{
    P3 reference{0, 0, 1};
    side = unit(reference - axis * dot(reference, axis));
    front = crossProduct(side, axis);
}

// Where each part's mapping sits in the texture.
constexpr double kDiscRadius = 0.235;
constexpr double kTopU = 0.25, kTopV = 0.75, kGillU = 0.75, kGillV = 0.75;
constexpr double kStemU0 = 0.01, kStemU1 = 0.99, kStemV0 = 0.01, kStemV1 = 0.49;

struct Mushroom {
    P3 foot;            // on the ground
    double height;      // of the stem's top above the foot
    double leanX, leanZ; // where the stem's top sits, across from the foot
    double bow;         // sideways bend of the stem's middle
    double stemRadius;  // under the cap
    double bulb;        // how much wider the foot is
    double capRadius, capHeight;
    double bell;        // 0: a flattened dome, 1: a pointed bell
    double turn;        // of the painted discs, radians
    uint32_t seed;
};

// The stem's spine: a quadratic curve from the foot to the top.
struct Spine {
    P3 p0, p1, p2;
    P3 at(double t) const { return p0 * ((1 - t) * (1 - t)) + p1 * (2 * t * (1 - t)) + p2 * (t * t); }
    P3 tangent(double t) const { return unit((p1 - p0) * (2 * (1 - t)) + (p2 - p1) * (2 * t)); }
};

Spine spineOf(const Mushroom& m)
{
    P3 top = m.foot + P3{m.leanX, m.height, m.leanZ};
    double lean = std::hypot(m.leanX, m.leanZ);
    P3 sideways = lean > 1e-6 ? P3{-m.leanZ / lean, 0, m.leanX / lean} : P3{1, 0, 0};
    // Rising steeply first and leaning out later, as stems grow towards the light.
    P3 middle = m.foot + P3{m.leanX * 0.15, m.height * 0.55, m.leanZ * 0.15} + sideways * m.bow;
    return {m.foot + P3{0, -0.03, 0}, middle, top}; // sunk a little into the ground
}

// Adds triangle (a, b, c) turned so that its front faces along `outward`.
void addFacing(assetgen::Mesh3ds& mesh, uint16_t a, uint16_t b, uint16_t c, const P3& outward)
{
    auto pos = [&](uint16_t i) { return P3{mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]}; };
    P3 n = crossProduct(pos(b) - pos(a), pos(c) - pos(a));
    if (dot(n, outward) < 0)
        std::swap(b, c);
    mesh.addTriangle(a, b, c);
}

// A grid of rings: columns around, rows along.
struct RingGrid {
    int columns = 0, rows = 0;
    std::vector<uint16_t> index; // rows x (columns + 1): the seam column is doubled for its own u
    std::vector<P3> centre;      // a point on the axis per row, for the outward test
};

// Stitches the grid into quads of two triangles each, listed in `group`. A quad
// faces away from its row's axis point, or along `direction` when not awayFromAxis.
void stitch(assetgen::Mesh3ds& mesh, const RingGrid& grid, bool awayFromAxis, const P3& direction,
            std::vector<uint16_t>& group)
{
    int stride = grid.columns + 1;
    for (int r = 0; r + 1 < grid.rows; ++r)
        for (int c = 0; c < grid.columns; ++c) {
            uint16_t a = grid.index[r * stride + c], b = grid.index[r * stride + c + 1];
            uint16_t d = grid.index[(r + 1) * stride + c], e = grid.index[(r + 1) * stride + c + 1];
            P3 corner{mesh.positions[3 * e], mesh.positions[3 * e + 1], mesh.positions[3 * e + 2]};
            P3 out = awayFromAxis ? corner - grid.centre[r + 1] : direction;
            for (auto tri : {std::array<uint16_t, 3>{a, b, e}, std::array<uint16_t, 3>{a, e, d}}) {
                group.push_back(static_cast<uint16_t>(mesh.triangles.size() / 3));
                addFacing(mesh, tri[0], tri[1], tri[2], out);
            }
        }
}

// Small irregularities of a surface of revolution, periodic around it.
double wobble(double angle, double along, uint32_t seed)
{
    return fbm(static_cast<float>(angle / (2 * kPi) * 8), static_cast<float>(along * 3), 8, 64, 3, 0.5f, seed);
}

assetgen::Mesh3ds buildMushroom(const Mushroom& m, const std::string& name)
{
    constexpr int kStemColumns = 24, kStemRows = 20;
    constexpr int kCapColumns = 36, kTopRows = 14, kGillRows = 6;
    assetgen::Mesh3ds mesh;
    mesh.name = name;
    assetgen::Mesh3ds::Group cap{"cap", {}}, stem{"stem", {}};

    Spine spine = spineOf(m);
    P3 axis = unit(spine.tangent(1.0) + P3{0, 1.2, 0}); // caps turn up a little more than their stems
    P3 side, front;
    across(axis, side, front);
    // The stem reaches well up inside the cap, which closes over it.
    P3 capOrigin = spine.p2 - axis * (0.5 * m.capHeight);

    // Stem: rings along the spine, closed to a point at the foot.
    RingGrid grid;
    grid.columns = kStemColumns;
    // Four rows round off the foot, the rest run evenly up to the cap.
    const double footEnd = m.stemRadius * m.bulb / m.height;
    std::vector<double> rows = {0.0, 0.3 * footEnd, 0.6 * footEnd};
    for (int r = 0; r <= kStemRows; ++r)
        rows.push_back(footEnd + (1 - footEnd) * r / kStemRows);
    grid.rows = static_cast<int>(rows.size());
    for (double t : rows) {
        P3 c = spine.at(t), s, f;
        across(spine.tangent(t), s, f);
        double radius = m.stemRadius * (1 + (m.bulb - 1) * std::exp(-t * 7)) * (1 + 0.12 * std::exp(-(1 - t) * 14));
        double close = t < footEnd ? 1 - (1 - t / footEnd) * (1 - t / footEnd) : 1.0; // a rounded foot
        radius *= std::sqrt(close);
        grid.centre.push_back(c);
        for (int k = 0; k <= kStemColumns; ++k) {
            double a = 2 * kPi * k / kStemColumns;
            double rr = radius * (1 + 0.06 * wobble(a, t, m.seed));
            P3 p = c + (s * std::cos(a) + f * std::sin(a)) * rr;
            float u = static_cast<float>(kStemU0 + (kStemU1 - kStemU0) * t);
            float v = static_cast<float>(kStemV0 + (kStemV1 - kStemV0) * k / kStemColumns);
            grid.index.push_back(mesh.addVertex(float(p.x), float(p.y), float(p.z), u, v));
        }
    }
    stitch(mesh, grid, true, {}, stem.triangles);

    // The cap's top: s runs from the apex (0) to the rim (1).
    auto capPoint = [&](double s, double a, double& radius) {
        double phi = s * 1.74;
        double domeR = std::sin(phi), domeH = std::cos(phi);
        double bellR = std::pow(std::sin(s * kPi / 2), 0.9), bellH = 1 - std::pow(s, 1.25) - 0.1 * std::pow(s, 6);
        double rim = s * s * s * (0.05 * std::sin(5 * a + m.seed) + 0.06 * wobble(a, 0.3, m.seed + 5));
        radius = m.capRadius * lerp(domeR, bellR, m.bell) * (1 + rim);
        double h = m.capHeight * lerp(domeH, bellH, m.bell) - m.capRadius * 0.08 * rim;
        return capOrigin + axis * h + (side * std::cos(a) + front * std::sin(a)) * radius;
    };
    grid = RingGrid();
    grid.columns = kCapColumns;
    grid.rows = kTopRows + 1;
    double rimHeight = 0;
    for (int r = 0; r <= kTopRows; ++r) {
        double s = static_cast<double>(r) / kTopRows;
        grid.centre.push_back(capOrigin - axis * m.capHeight); // below the cap, so "out" is up and outwards
        for (int k = 0; k <= kCapColumns; ++k) {
            double a = 2 * kPi * k / kCapColumns, radius;
            P3 p = capPoint(s, a, radius);
            float u = static_cast<float>(kTopU + kDiscRadius * s * std::cos(a + m.turn));
            float v = static_cast<float>(kTopV + kDiscRadius * s * std::sin(a + m.turn));
            grid.index.push_back(mesh.addVertex(float(p.x), float(p.y), float(p.z), u, v));
        }
    }
    stitch(mesh, grid, true, {}, cap.triangles);
    {
        double radius;
        P3 rimPoint = capPoint(1.0, 0.0, radius);
        rimHeight = dot(rimPoint - capOrigin, axis);
    }

    // The gills: from the rim (q = 0) inwards and up to inside the stem (q = 1).
    grid = RingGrid();
    grid.columns = kCapColumns;
    grid.rows = kGillRows + 1;
    double innerRadius = m.stemRadius * 0.8, innerHeight = rimHeight + 0.45 * (0.5 * m.capHeight - rimHeight);
    for (int r = 0; r <= kGillRows; ++r) {
        double q = static_cast<double>(r) / kGillRows;
        grid.centre.push_back(capOrigin);
        for (int k = 0; k <= kCapColumns; ++k) {
            double a = 2 * kPi * k / kCapColumns, radius;
            P3 p;
            if (r == 0) {
                p = capPoint(1.0, a, radius); // the same rim as the top
            } else {
                P3 rim = capPoint(1.0, a, radius);
                double rimH = dot(rim - capOrigin, axis);
                double rr = lerp(radius, innerRadius, q);
                double h = rimH + (innerHeight - rimH) * (1 - (1 - q) * (1 - q));
                p = capOrigin + axis * h + (side * std::cos(a) + front * std::sin(a)) * rr;
            }
            double reach = kDiscRadius * (1 - 0.85 * q);
            float u = static_cast<float>(kGillU + reach * std::cos(a + m.turn));
            float v = static_cast<float>(kGillV + reach * std::sin(a + m.turn));
            grid.index.push_back(mesh.addVertex(float(p.x), float(p.y), float(p.z), u, v));
        }
    }
    stitch(mesh, grid, false, axis * -1.0, cap.triangles);

    mesh.groups.push_back(cap);
    mesh.groups.push_back(stem);
    return mesh;
}

// ---------------------------------------------------------------------------
// Painting

using assetgen::blend;
using assetgen::Rgb;
using assetgen::toByte;

// A texel's colour and its height for the normal map.
struct Paint {
    Rgb colour;
    float height;
};

// The look of one model: what its caps, gills and stems are painted with.
struct Look {
    Rgb capCentre, capMiddle, capRim;
    Rgb wart;          // raised spots on the cap; none when warts is 0
    float warts;       // how many cells carry one (0 to 1)
    float streaks;     // strength of the cap's radial streaks
    Rgb gill, gillShade;
    int gills;         // full-length gills round the cap
    Rgb stemTop, stemFoot;
    uint32_t seed;
};

// The cap's top at polar position (s from the apex to the rim, angle).
Paint capTop(const Look& look, float s, float angle, float dx, float dy)
{
    float warpS = s + 0.04f * fbm(dx * 6.0f, dy * 6.0f, 64, 64, 3, 0.5f, look.seed + 1);
    Rgb c = blend(look.capCentre, look.capMiddle, smoothstep(0.0f, 0.55f, warpS));
    c = blend(c, look.capRim, smoothstep(0.55f, 1.0f, warpS));
    float mottle = fbm(dx * 10.0f, dy * 10.0f, 64, 64, 4, 0.5f, look.seed + 2);
    c = c * (0.92f + 0.12f * mottle);
    float height = 0.3f * (1.0f - s) + 0.05f * mottle;

    // Fine radial fibres, stronger towards the rim.
    float around = angle / (2.0f * 3.14159265f);
    float fibre = noise::ridged(around * 90.0f, s * 3.0f, 90, 64, 2, 0.5f, look.seed + 3);
    float streak = look.streaks * fibre * smoothstep(0.1f, 0.9f, s);
    c = c * (1.0f - 0.35f * streak);
    height -= 0.08f * streak;
    // Striations where the thin rim shows the gills through.
    float lines = 0.5f + 0.5f * std::cos(angle * 2.0f * look.gills);
    float striate = look.streaks * smoothstep(0.7f, 1.0f, s) * lines;
    c = c * (1.0f - 0.25f * striate);
    height -= 0.05f * striate;

    if (look.warts > 0.0f) {
        // Warts: torn flakes of the veil, larger near the apex.
        float wx = dx * 15.0f + 0.3f * fbm(dx * 20.0f, dy * 20.0f, 64, 64, 2, 0.5f, look.seed + 4);
        float wy = dy * 15.0f + 0.3f * fbm(dx * 20.0f + 5.0f, dy * 20.0f, 64, 64, 2, 0.5f, look.seed + 5);
        noise::Cells cells = noise::voronoi(wx + 50.0f, wy + 50.0f, 256, 256, look.seed + 6);
        float present = noise::hashUnit(static_cast<int>(cells.id), 1, look.seed + 7) < look.warts ? 1.0f : 0.0f;
        float size = (0.2f + 0.16f * noise::hashUnit(static_cast<int>(cells.id), 2, look.seed + 7)) * (1.1f - 0.4f * s);
        float wart = present * (1.0f - smoothstep(size * 0.7f, size, cells.f1));
        float dome = wart * std::sqrt(std::max(0.0f, 1.0f - cells.f1 / size));
        Rgb w = look.wart * (0.9f + 0.1f * mottle) * (0.85f + 0.15f * dome);
        c = blend(c, w, wart);
        height += 0.35f * dome;
    }
    return {c, height};
}

// The gills at polar position (s from the stem to the rim).
Paint gillsAt(const Look& look, float s, float angle)
{
    // Full gills from stem to rim, and shorter ones between them towards the rim.
    auto ridge = [](float phase, float sharpness) { return std::pow(0.5f + 0.5f * std::cos(phase), sharpness); };
    float full = ridge(angle * look.gills, 6.0f);
    float half = ridge(angle * look.gills + 3.14159265f, 6.0f) * smoothstep(0.45f, 0.55f, s);
    float quarter = ridge(angle * 2.0f * look.gills + 1.5707963f, 8.0f) * smoothstep(0.72f, 0.8f, s);
    float g = std::max({full, half, quarter});
    float wave = fbm(angle * 4.0f, s * 4.0f, 64, 64, 3, 0.5f, look.seed + 11);
    Rgb c = blend(look.gillShade, look.gill, g * (0.85f + 0.15f * wave));
    c = c * (0.8f + 0.2f * smoothstep(0.0f, 0.3f, s)); // darker deep under the cap, by the stem
    return {c, 0.6f * g};
}

// The stem at (t from the foot to the cap, around from 0 to 1).
Paint stemAt(const Look& look, float t, float around)
{
    float fibres = noise::ridged(t * 6.0f, around * 36.0f, 64, 36, 4, 0.55f, look.seed + 21);
    float coarse = fbm(t * 3.0f, around * 6.0f, 64, 6, 3, 0.5f, look.seed + 22);
    Rgb c = blend(look.stemFoot, look.stemTop, smoothstep(0.0f, 0.45f, t + 0.05f * coarse));
    c = c * (0.86f + 0.14f * fibres + 0.05f * coarse);
    // Soil and bruising on the foot.
    float soil = (1.0f - smoothstep(0.0f, 0.12f, t + 0.04f * coarse));
    c = blend(c, Rgb{0.22f, 0.15f, 0.10f}, 0.7f * soil);
    // A faint torn ring where the veil hung, just under the cap.
    float ring = std::exp(-std::pow((t - 0.86f - 0.015f * coarse) / 0.018f, 2.0f));
    c = c * (1.0f + 0.12f * ring);
    return {c, 0.45f * fibres + 0.2f * coarse + 0.4f * ring};
}

Paint paintTexel(const Look& look, float u, float v)
{
    if (v < 0.5f) {
        float t = static_cast<float>((u - kStemU0) / (kStemU1 - kStemU0));
        float around = static_cast<float>((v - kStemV0) / (kStemV1 - kStemV0));
        return stemAt(look, std::clamp(t, 0.0f, 1.0f), around - std::floor(around));
    }
    bool top = u < 0.5f;
    float dx = u - static_cast<float>(top ? kTopU : kGillU), dy = v - static_cast<float>(top ? kTopV : kGillV);
    float s = std::min(1.0f, std::hypot(dx, dy) / static_cast<float>(kDiscRadius)); // beyond the rim: the rim repeated
    float angle = std::atan2(dy, dx);
    if (top)
        return capTop(look, s, angle, dx, dy);
    return gillsAt(look, (s - 0.15f) / 0.85f, angle);
}

void paintModel(const Look& look, int size, const std::string& colourPath, const std::string& normalPath, bool png)
{
    assetgen::Image colour(size, size, 3);
    assetgen::HeightField heights(size, size, false);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = (x + 0.5f) / size, v = 1.0f - (y + 0.5f) / size;
            Paint p = paintTexel(look, u, v);
            uint8_t* px = colour.at(x, y);
            px[0] = toByte(p.colour.r);
            px[1] = toByte(p.colour.g);
            px[2] = toByte(p.colour.b);
            heights.at(x, y) = p.height;
        }
    assetgen::Image normals = assetgen::normalMap(heights, 4.0f);
    if (png) {
        assetgen::savePng(colourPath, colour);
        assetgen::savePng(normalPath, normals);
    } else {
        assetgen::saveJpeg(colourPath, colour, 92);
        assetgen::saveJpeg(normalPath, normals, 95);
    }
}

void saveModel(const std::string& path, const std::vector<Mushroom>& mushrooms)
{
    std::vector<assetgen::Mesh3ds> meshes;
    for (size_t i = 0; i < mushrooms.size(); ++i)
        meshes.push_back(buildMushroom(mushrooms[i], "mushroom" + std::to_string(i + 1)));
    assetgen::save3ds(path, meshes);
}

} // namespace

int main(int argc, char** argv)
{
    std::string data = assetgen::parseDirs(argc, argv).data;

    // The cluster: one tall mushroom and three smaller ones leaning away from it.
    //               foot                  height leanX  leanZ  bow    stemR  bulb capR  capH  bell turn seed
    saveModel(data + "/3D/shrooms5.3DS", {
        {{0.02, 0, 0.00}, 1.36, 0.10, 0.06, 0.04, 0.075, 1.6, 0.42, 0.26, 0.0, 0.0, 501},
        {{-0.12, 0, 0.06}, 0.95, -0.35, 0.12, -0.05, 0.060, 1.5, 0.32, 0.21, 0.1, 1.9, 502},
        {{0.10, 0, 0.08}, 0.62, 0.32, 0.22, 0.04, 0.050, 1.5, 0.24, 0.16, 0.0, 3.7, 503},
        {{0.00, 0, -0.10}, 0.40, -0.08, -0.30, 0.03, 0.042, 1.4, 0.16, 0.14, 0.3, 5.1, 504},
    });
    Look amber{{0.55f, 0.16f, 0.07f}, {0.93f, 0.42f, 0.12f}, {0.98f, 0.70f, 0.30f}, {0.97f, 0.93f, 0.82f},
                0.75f, 0.35f, {0.98f, 0.92f, 0.80f}, {0.55f, 0.45f, 0.36f}, 40,
                {0.96f, 0.92f, 0.84f}, {0.70f, 0.62f, 0.52f}, 510};
    paintModel(amber, 1024, data + "/3D/shrooms5col2.jpg", data + "/3D/shrooms5Nor2.jpg", false);

    // The tall pair: slender stems with pointed bells.
    saveModel(data + "/3D/shrooms4.3DS", {
        {{0.00, 0, 0.00}, 2.24, 0.18, -0.05, 0.10, 0.055, 1.3, 0.30, 0.42, 1.0, 0.0, 601},
        {{0.16, 0, 0.10}, 1.60, 0.45, 0.20, -0.08, 0.045, 1.3, 0.23, 0.32, 0.85, 2.6, 602},
    });
    Look violet{{0.25f, 0.12f, 0.28f}, {0.62f, 0.50f, 0.78f}, {0.86f, 0.84f, 0.96f}, {0, 0, 0},
                0.0f, 1.0f, {0.92f, 0.90f, 0.98f}, {0.45f, 0.40f, 0.55f}, 34,
                {0.88f, 0.90f, 0.97f}, {0.45f, 0.38f, 0.55f}, 610};
    paintModel(violet, 1024, data + "/3D/shrooms4col.png", data + "/3D/shrooms4Nor.png", true);
    return 0;
}
