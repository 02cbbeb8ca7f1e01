// The sky creature carried inside the program: a pale jellyfish with a domed,
// pulsing bell, eight long thin tentacles and four frilled mouth arms, swept
// through one swimming cycle of ten key frames (plus an eleventh equal to the
// first, so the loop closes without a jump). Written as a C++ float table,
// gen/creature_mesh.cpp, in AnimatedMesh's layout.
//
// Axes: the bell points along -y and the tentacles trail towards +y, the
// creature centred on the y axis with the bell's rim at y = 0. The moon scene
// turns the mesh half a turn about x, so there the bell is up and the
// tentacles hang; the sweep of the iterations scene carries it along +x with
// its tentacles ahead, arms first like a cruising squid. About 1.6 units from
// the crown to the longest tentacle tip.
//
// The cycle: the bell contracts quickly (three frames), pulling its rim in
// and its crown up, and relaxes slowly; the tentacles writhe with a wave that
// travels from root to tip, each tentacle a little behind its neighbour, and
// splay when the bell relaxes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "common/asset_file.h"

namespace {

constexpr int kFrames = 10;          // key frames of one cycle
constexpr int kCapacity = 65536;     // faces and vertices the program's mesh can hold
constexpr double kPi = 3.14159265358979323846;

struct P {
    double x, y, z;
};
P operator+(P a, P b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
P operator-(P a, P b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P operator*(P a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(P a, P b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P crossTrue(P a, P b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
P unit(P a) { return a * (1.0 / std::sqrt(dot(a, a))); }

// Everything below is built with y up (bell on top); the table gets the
// half turn about x described above.

// The bell: a closed shell of revolution, its profile running from the crown
// down the outside to a lip at the rim and back up the inside.
constexpr int kBellSegments = 32;
constexpr int kOuterRings = 13;  // below the crown
constexpr int kInnerRings = 7;   // above the lip, below the inner crown
constexpr int kBellRings = kOuterRings + 1 + kInnerRings;
constexpr int kBellVertices = 2 + kBellRings * kBellSegments;
constexpr double kBellRadius = 0.42;
constexpr double kBellHeight = 0.34;
constexpr double kRimAngle = 1.75; // radians from the crown: just past the equator

// Tentacles: thin tapering tubes of a few sides hanging from the rim.
constexpr int kTentacles = 8;
constexpr int kTentacleSides = 5;
constexpr int kTentacleRings = 44;
constexpr int kTentacleVertices = kTentacleSides * kTentacleRings + 1;

// Mouth arms: thicker, shorter, with a three-lobed twisting cross-section.
constexpr int kArms = 4;
constexpr int kArmSides = 6;
constexpr int kArmRings = 24;
constexpr int kArmVertices = kArmSides * kArmRings + 1;

constexpr int kTentacleBase = kBellVertices;
constexpr int kArmBase = kTentacleBase + kTentacles * kTentacleVertices;
constexpr int kVertexCount = kArmBase + kArms * kArmVertices;

// The contraction of the bell over the cycle, 0 relaxed to 1 contracted:
// quick to close, slow to open.
double contraction(double tau)
{
    if (tau < 0.3) {
        double s = std::sin(0.5 * kPi * tau / 0.3);
        return s * s;
    }
    double c = std::cos(0.5 * kPi * (tau - 0.3) / 0.7);
    return c * c;
}

// A point of the bell's surface at profile angle phi (0 at the crown) and
// angle theta around, pushed inwards by depth (0 on the outside).
P bellPoint(double phi, double theta, double depth, double c)
{
    double sx = kBellRadius * std::sin(phi), sy = kBellHeight * std::cos(phi);
    P normal = unit({kBellHeight * std::sin(phi), kBellRadius * std::cos(phi), 0.0});
    double r = sx - depth * normal.x;
    double y = sy - depth * normal.y;
    double towardsRim = phi / kRimAngle;
    // Scallops between the tentacles, strongest at the rim.
    r *= 1.0 + 0.035 * std::cos(8.0 * theta) * towardsRim * towardsRim;
    // Contracting draws the rim in and lifts the crown.
    r *= 1.0 - 0.24 * c * std::pow(towardsRim, 1.5);
    y = y * (1.0 + 0.16 * c) - 0.03 * c * towardsRim;
    return {r * std::cos(theta), y, r * std::sin(theta)};
}

double bellThickness(double phi) { return 0.09 - 0.05 * phi / kRimAngle; }

// Profile ring m of the bell (0 .. kBellRings - 1): its angle and depth.
void bellRing(int m, double& phi, double& depth)
{
    if (m < kOuterRings) {
        phi = kRimAngle * (m + 1) / kOuterRings;
        depth = 0.0;
    } else if (m == kOuterRings) { // the lip, between the two rims
        phi = kRimAngle + 0.04;
        depth = 0.5 * bellThickness(kRimAngle);
    } else {
        int n = m - kOuterRings; // 1 .. kInnerRings, climbing the inside
        phi = kRimAngle * (1.0 - double(n) / (kInnerRings + 1));
        depth = bellThickness(phi);
    }
}

double bellTheta(int j) { return 2.0 * kPi * j / kBellSegments; }

void bellPositions(double c, std::vector<P>& out)
{
    out[0] = bellPoint(0.0, 0.0, 0.0, c);             // outer crown
    out[1] = bellPoint(0.0, 0.0, bellThickness(0.0), c); // inner crown
    for (int m = 0; m < kBellRings; ++m) {
        double phi, depth;
        bellRing(m, phi, depth);
        for (int j = 0; j < kBellSegments; ++j)
            out[2 + m * kBellSegments + j] = bellPoint(phi, bellTheta(j), depth, c);
    }
}

double tentacleRadius(double s) { return 0.03 * std::pow(1.0 - s, 0.8) + 0.004; }
double armRadius(double s) { return 0.055 * std::pow(1.0 - s, 0.7) + 0.008; }
double tentacleTheta(int i) { return 2.0 * kPi * (i + 0.5) / kTentacles; } // in the notches between scallops
double armTheta(int a) { return 2.0 * kPi * (a + 0.125) / kArms; }

// A small fixed hash for the per-tentacle variations.
double jitter(int i, int salt)
{
    unsigned h = unsigned(i) * 2654435761u ^ unsigned(salt) * 40503u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xffff) / 65535.0;
}

// A tube along the centre line: rings of `sides` points around a frame
// carried along the line without twisting, then the tip.
void tubePositions(const std::vector<P>& centre, const std::vector<double>& radius, int sides, P firstNormal,
                   double lobes, double twist, std::vector<P>& out, int base)
{
    int rings = static_cast<int>(centre.size());
    P n = firstNormal;
    for (int m = 0; m < rings; ++m) {
        P t = unit(centre[std::min(m + 1, rings - 1)] - centre[std::max(m - 1, 0)]);
        n = unit(n - t * dot(n, t));
        P b = crossTrue(t, n);
        for (int j = 0; j < sides; ++j) {
            double a = 2.0 * kPi * j / sides;
            double r = radius[m] * (1.0 + lobes * std::sin(3.0 * a + twist * m));
            out[base + m * sides + j] = centre[m] + (n * std::cos(a) + b * std::sin(a)) * r;
        }
    }
    P tipDirection = unit(centre[rings - 1] - centre[rings - 2]);
    out[base + rings * sides] = centre[rings - 1] + tipDirection * (radius[rings - 1] + 0.01);
}

void tentaclePositions(double tau, double c, std::vector<P>& out)
{
    for (int i = 0; i < kTentacles; ++i) {
        double theta = tentacleTheta(i);
        P outward = {std::cos(theta), 0.0, std::sin(theta)};
        P around = {-std::sin(theta), 0.0, std::cos(theta)};
        P root = bellPoint(kRimAngle + 0.02, theta, 0.6 * bellThickness(kRimAngle), c);
        double length = 1.15 + 0.25 * jitter(i, 1);
        double phase = 2.0 * kPi * (0.37 * i + 0.2 * jitter(i, 2));
        double splay = 0.13 * (1.0 - 0.6 * c);
        std::vector<P> centre(kTentacleRings);
        std::vector<double> radius(kTentacleRings);
        for (int m = 0; m < kTentacleRings; ++m) {
            double s = double(m) / (kTentacleRings - 1);
            double amplitude = 0.17 * std::pow(s, 1.3);
            // The wave travels towards the tip as the cycle advances.
            double wr = amplitude * std::sin(2.0 * kPi * (1.3 * s - tau) + phase);
            double wt = 0.8 * amplitude * std::cos(2.0 * kPi * (1.0 * s - tau) + phase + 0.7);
            double drop = length * s * (1.0 - 0.25 * amplitude);
            centre[m] = root + outward * (splay * std::sqrt(s) + wr) + around * wt + P{0.0, -drop, 0.0};
            radius[m] = tentacleRadius(s);
        }
        tubePositions(centre, radius, kTentacleSides, outward, 0.0, 0.0, out, kTentacleBase + i * kTentacleVertices);
    }
}

void armPositions(double tau, double c, std::vector<P>& out)
{
    for (int a = 0; a < kArms; ++a) {
        double theta = armTheta(a);
        P outward = {std::cos(theta), 0.0, std::sin(theta)};
        P around = {-std::sin(theta), 0.0, std::cos(theta)};
        P root = P{0.0, kBellHeight * (1.0 + 0.16 * c) - bellThickness(0.0) - 0.03, 0.0} + outward * 0.05;
        double length = 0.72 + 0.12 * jitter(a, 3);
        double phase = 2.0 * kPi * (0.29 * a + 0.3 * jitter(a, 4));
        std::vector<P> centre(kArmRings);
        std::vector<double> radius(kArmRings);
        for (int m = 0; m < kArmRings; ++m) {
            double s = double(m) / (kArmRings - 1);
            double amplitude = 0.07 * s;
            double wr = amplitude * std::sin(2.0 * kPi * (0.8 * s - tau) + phase);
            double wt = amplitude * std::cos(2.0 * kPi * (0.6 * s - tau) + phase);
            centre[m] = root + outward * (0.12 * s + wr) + around * wt + P{0.0, -length * s, 0.0};
            radius[m] = armRadius(s);
        }
        tubePositions(centre, radius, kArmSides, outward, 0.35, 0.5, out, kArmBase + a * kArmVertices);
    }
}

std::vector<P> shapeAt(int k)
{
    double tau = double(k) / kFrames;
    double c = contraction(tau);
    std::vector<P> out(kVertexCount);
    bellPositions(c, out);
    tentaclePositions(tau, c, out);
    armPositions(tau, c, out);
    return out;
}

// Texture coordinates, one pair per vertex, so that no edge shows a seam.
// They make a disc about the texture's middle, where the round flare texture
// of the iterations scene is brightest (its texel 16 of 32): around the body
// is around the disc, and the distance from the middle grows from the crowns
// down the bell to its lip (the inside mirrors the outside), then on along
// the tentacles and mouth arms, each setting off at its own angle and turning
// part of the way round the middle as it goes, so that the noise texture of the
// clouds scene passes along it. Under the flare the crown is lit fully, the
// rim at about two fifths and the tentacles fade to about a quarter at their
// tips; the noise is turbulent all over, so the disc still mottles every part
// of the body (the bell's dome a little darker: the noise is dim in the middle).
struct UV {
    double u, v;
};
constexpr double kUVMiddle = 16.5 / 32.0;
constexpr double kUVRim = 0.13;        // from the middle to the bell's rim
constexpr double kUVTentacleTip = 0.19;
constexpr double kUVArmRoot = 0.03;
constexpr double kUVArmTip = 0.13;
constexpr double kUVTurn = 1.5;        // radians a tube's path turns about the middle, root to tip
constexpr double kUVAround = 0.15;     // a tube's circle in the disc per unit of its radius

UV polar(double r, double angle) { return {kUVMiddle + r * std::cos(angle), kUVMiddle + r * std::sin(angle)}; }

// A tube's rings each make a small circle about a point of its path.
void tubeCoordinates(std::vector<UV>& uv, int base, int sides, int rings, double theta, double r0, double r1,
                     double (*radius)(double))
{
    for (int m = 0; m < rings; ++m) {
        double s = double(m) / (rings - 1);
        UV centre = polar(r0 + (r1 - r0) * s, theta + kUVTurn * s);
        for (int j = 0; j < sides; ++j) {
            double a = 2.0 * kPi * j / sides;
            uv[base + m * sides + j] = {centre.u + kUVAround * radius(s) * std::cos(a),
                                        centre.v + kUVAround * radius(s) * std::sin(a)};
        }
    }
    uv[base + rings * sides] = polar(r1 + 0.005, theta + kUVTurn);
}

std::vector<UV> textureCoordinates()
{
    std::vector<UV> uv(kVertexCount);
    uv[0] = uv[1] = polar(0.0, 0.0);
    for (int m = 0; m < kBellRings; ++m) {
        double phi, depth;
        bellRing(m, phi, depth);
        for (int j = 0; j < kBellSegments; ++j)
            uv[2 + m * kBellSegments + j] = polar(kUVRim * phi / kRimAngle, bellTheta(j));
    }
    double lip = kUVRim * (kRimAngle + 0.04) / kRimAngle;
    for (int i = 0; i < kTentacles; ++i)
        tubeCoordinates(uv, kTentacleBase + i * kTentacleVertices, kTentacleSides, kTentacleRings, tentacleTheta(i),
                        lip, kUVTentacleTip, tentacleRadius);
    for (int a = 0; a < kArms; ++a)
        tubeCoordinates(uv, kArmBase + a * kArmVertices, kArmSides, kArmRings, armTheta(a), kUVArmRoot, kUVArmTip,
                        armRadius);
    return uv;
}

// Faces: three corners of (vertex, u, v), counter-clockwise seen from outside.
struct Corner {
    int vertex;
    double u, v;
};
struct Faces {
    std::vector<UV> uv; // per vertex
    std::vector<Corner> corners;
    void triangle(int a, int b, int c)
    {
        for (int w : {a, b, c})
            corners.push_back({w, uv[w].u, uv[w].v});
    }
    // a, b along the lower ring, d, c above them (a -> b -> c -> d counter-clockwise).
    void quad(int a, int b, int c, int d)
    {
        triangle(a, b, c);
        triangle(a, c, d);
    }
};

void bellFaces(Faces& faces)
{
    auto ringVertex = [](int m, int j) { return 2 + m * kBellSegments + j % kBellSegments; };
    for (int j = 0; j < kBellSegments; ++j) {
        // Seen from outside the outer crown fan turns clockwise in theta
        // (theta runs from +x towards +z, which is clockwise seen from above).
        faces.triangle(0, ringVertex(0, j + 1), ringVertex(0, j));
        for (int m = 0; m + 1 < kBellRings; ++m)
            faces.quad(ringVertex(m, j), ringVertex(m, j + 1), ringVertex(m + 1, j + 1), ringVertex(m + 1, j));
        int last = kBellRings - 1;
        faces.triangle(ringVertex(last, j), ringVertex(last, j + 1), 1);
    }
}

void tubeFaces(Faces& faces, int base, int sides, int rings)
{
    auto vertex = [&](int m, int j) { return base + m * sides + j % sides; };
    for (int m = 0; m + 1 < rings; ++m)
        for (int j = 0; j < sides; ++j)
            // Around the tube turns counter-clockwise about the way to the tip.
            faces.quad(vertex(m, j), vertex(m, j + 1), vertex(m + 1, j + 1), vertex(m + 1, j));
    int tip = base + rings * sides;
    for (int j = 0; j < sides; ++j)
        faces.triangle(vertex(rings - 1, j), vertex(rings - 1, j + 1), tip);
}

// Six times the volume enclosed by the bell's faces at frame k: positive when
// every face turns outwards.
double bellVolume(const Faces& faces, int bellCorners, const std::vector<P>& p)
{
    double sum = 0.0;
    for (int n = 0; n < bellCorners; n += 3) {
        P a = p[faces.corners[n].vertex], b = p[faces.corners[n + 1].vertex], c = p[faces.corners[n + 2].vertex];
        sum += dot(a, crossTrue(b, c));
    }
    return sum;
}

// Whether no two faces run along the same edge in the same direction, as on
// a surface whose faces all turn the same way.
bool consistentlyWound(const Faces& faces)
{
    std::set<std::pair<int, int>> edges;
    for (size_t n = 0; n < faces.corners.size(); n += 3)
        for (int c = 0; c < 3; ++c)
            if (!edges.insert({faces.corners[n + c].vertex, faces.corners[n + (c + 1) % 3].vertex}).second)
                return false;
    return true;
}

void put(std::string& out, double value, int& column)
{
    char text[48];
    std::snprintf(text, sizeof text, "%af,", static_cast<double>(static_cast<float>(value)));
    out += text;
    if (++column % 6 == 0)
        out += '\n';
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);

    Faces faces{textureCoordinates(), {}};
    bellFaces(faces);
    int bellCorners = static_cast<int>(faces.corners.size());
    for (int i = 0; i < kTentacles; ++i)
        tubeFaces(faces, kTentacleBase + i * kTentacleVertices, kTentacleSides, kTentacleRings);
    for (int a = 0; a < kArms; ++a)
        tubeFaces(faces, kArmBase + a * kArmVertices, kArmSides, kArmRings);
    const int faceCount = static_cast<int>(faces.corners.size() / 3);

    if (faceCount > kCapacity || kVertexCount > kCapacity) {
        std::fprintf(stderr, "creature: %d faces and %d vertices exceed the mesh's capacity of %d each\n", faceCount,
                     kVertexCount, kCapacity);
        return 1;
    }

    if (!consistentlyWound(faces)) {
        std::fprintf(stderr, "creature: faces disagree about which side is out\n");
        return 1;
    }

    std::vector<std::vector<P>> frames;
    for (int k = 0; k < kFrames; ++k) {
        frames.push_back(shapeAt(k));
        if (bellVolume(faces, bellCorners, frames.back()) <= 0.0) {
            std::fprintf(stderr, "creature: the bell's faces turn inwards at frame %d\n", k);
            return 1;
        }
    }
    frames.push_back(frames.front()); // the loop closes on the first frame exactly

    std::string out =
        "// Generated by tools/assetgen/creature: the sky creature's mesh table.\n"
        "#include \"gfx/creature_mesh.h\"\n\n";
    out += "extern const int kCreatureMeshFloats = " +
           std::to_string(3 + 9 * faceCount + 3 * kVertexCount * (kFrames + 1)) + ";\n";
    out += "extern const float kCreatureMesh[] = {\n";
    int column = 0;
    put(out, faceCount, column);
    put(out, kVertexCount, column);
    put(out, kFrames + 2, column);
    for (const Corner& corner : faces.corners) {
        put(out, corner.vertex, column);
        put(out, corner.u, column);
        put(out, corner.v, column);
    }
    // Stored with the half turn about x: (x, y, z) becomes (x, -y, -z).
    for (const std::vector<P>& frame : frames) {
        for (const P& p : frame) {
            put(out, p.x, column);
            put(out, -p.y, column);
            put(out, -p.z, column);
        }
    }
    out += "};\n";
    assetgen::writeFile(dirs.gen + "/creature_mesh.cpp", out);
    return 0;
}
