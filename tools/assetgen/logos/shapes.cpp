#include "logos/shapes.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <unordered_map>

namespace logos {

void fail(const char* what)
{
    std::fprintf(stderr, "assetgen logos: %s\n", what);
    std::exit(1);
}

// ---- Glyph outlines -------------------------------------------------------

namespace {

struct OutlineSink {
    Shape contours;
    Point last{0, 0};
    int steps = 8;
};

Point toPoint(const FT_Vector* v)
{
    return {static_cast<double>(v->x), static_cast<double>(v->y)};
}

int moveTo(const FT_Vector* to, void* user)
{
    auto* sink = static_cast<OutlineSink*>(user);
    sink->contours.emplace_back();
    sink->last = toPoint(to);
    sink->contours.back().push_back(sink->last);
    return 0;
}

int lineTo(const FT_Vector* to, void* user)
{
    auto* sink = static_cast<OutlineSink*>(user);
    sink->last = toPoint(to);
    sink->contours.back().push_back(sink->last);
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* sink = static_cast<OutlineSink*>(user);
    Point a = sink->last, c = toPoint(control), b = toPoint(to);
    for (int i = 1; i <= sink->steps; ++i) {
        double t = static_cast<double>(i) / sink->steps, s = 1 - t;
        sink->contours.back().push_back(
            {s * s * a.x + 2 * s * t * c.x + t * t * b.x, s * s * a.y + 2 * s * t * c.y + t * t * b.y});
    }
    sink->last = b;
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto* sink = static_cast<OutlineSink*>(user);
    Point a = sink->last, p = toPoint(c1), q = toPoint(c2), b = toPoint(to);
    for (int i = 1; i <= sink->steps; ++i) {
        double t = static_cast<double>(i) / sink->steps, s = 1 - t;
        double wa = s * s * s, wp = 3 * s * s * t, wq = 3 * s * t * t, wb = t * t * t;
        sink->contours.back().push_back(
            {wa * a.x + wp * p.x + wq * q.x + wb * b.x, wa * a.y + wp * p.y + wq * q.y + wb * b.y});
    }
    sink->last = b;
    return 0;
}

// Drops repeated points, then contours too small to enclose anything.
void clean(Shape& shape)
{
    dropRepeatedPoints(shape, 1e-9);
    shape.erase(std::remove_if(shape.begin(), shape.end(), [](const Contour& c) { return c.size() < 3; }),
                shape.end());
}

} // namespace

Shape glyphContours(FT_Face face, FT_UInt index, int curveSteps)
{
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING))
        fail("cannot load a glyph outline");
    FT_Outline_Funcs funcs = {moveTo, lineTo, conicTo, cubicTo, 0, 0};
    OutlineSink sink;
    sink.steps = curveSteps;
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink))
        fail("cannot decompose a glyph outline");
    return sink.contours;
}

void dropRepeatedPoints(Shape& shape, double tolerance)
{
    for (Contour& contour : shape) {
        Contour kept;
        for (const Point& p : contour)
            if (kept.empty() || std::hypot(p.x - kept.back().x, p.y - kept.back().y) > tolerance)
                kept.push_back(p);
        while (kept.size() > 1 && std::hypot(kept[0].x - kept.back().x, kept[0].y - kept.back().y) < tolerance)
            kept.pop_back();
        contour = kept;
    }
}

TextLine layoutText(const char* fontFile, const std::string& ascii, double em, double tracking, int curveSteps)
{
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, fontFile, 0, &face))
        fail("cannot open a DejaVu font (package fonts-dejavu-core)");
    double scale = em / face->units_per_EM;
    TextLine line;
    double pen = 0;
    FT_UInt previous = 0;
    for (size_t i = 0; i < ascii.size(); ++i) {
        FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(ascii[i]));
        if (index == 0)
            fail("the font lacks a letter of the logo");
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNSCALED, &kern);
            pen += kern.x * scale;
        }
        Shape glyph = glyphContours(face, index, curveSteps);
        for (Contour& contour : glyph)
            for (Point& p : contour)
                p = {pen + p.x * scale, p.y * scale};
        clean(glyph);
        if (!glyph.empty())
            line.glyphs.push_back(glyph);
        pen += face->glyph->advance.x * scale;
        line.width = pen;
        if (i + 1 < ascii.size())
            pen += tracking * em;
        previous = index;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return line;
}

void Box::add(const Shape& shape)
{
    for (const Contour& contour : shape)
        for (const Point& p : contour) {
            x0 = std::min(x0, p.x);
            y0 = std::min(y0, p.y);
            x1 = std::max(x1, p.x);
            y1 = std::max(y1, p.y);
        }
}

void translate(std::vector<Shape>& shapes, double dx, double dy)
{
    for (Shape& shape : shapes)
        for (Contour& contour : shape)
            for (Point& p : contour)
                p = {p.x + dx, p.y + dy};
}

bool inside(const Shape& shape, Point p)
{
    bool in = false;
    for (const Contour& contour : shape) {
        size_t n = contour.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const Point& a = contour[i];
            const Point& b = contour[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                in = !in;
        }
    }
    return in;
}

// ---- Caps -----------------------------------------------------------------

namespace {

struct TessState {
    std::deque<Point> points; // stable addresses while GLU works
    std::vector<int> indices;
};

void GLAPIENTRY tessVertex(void* vertex, void* data)
{
    static_cast<TessState*>(data)->indices.push_back(static_cast<int>(reinterpret_cast<intptr_t>(vertex)));
}

void GLAPIENTRY tessCombine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4], void** out,
                            void* data)
{
    auto* state = static_cast<TessState*>(data);
    state->points.push_back({coords[0], coords[1]});
    *out = reinterpret_cast<void*>(static_cast<intptr_t>(state->points.size() - 1));
}

void GLAPIENTRY tessEdgeFlag(GLboolean, void*) {} // its presence asks GLU for plain triangles

void GLAPIENTRY tessError(GLenum error, void*)
{
    std::fprintf(stderr, "assetgen logos: tessellation: %s\n", gluErrorString(error));
    std::exit(1);
}

} // namespace

Triangles tessellate(const Shape& shape, FillRule rule)
{
    TessState state;
    for (const Contour& contour : shape)
        for (const Point& p : contour)
            state.points.push_back(p);
    std::vector<GLdouble> coords;
    for (const Point& p : state.points)
        coords.insert(coords.end(), {p.x, p.y, 0.0});

    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(tessVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(tessCombine));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(tessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(tessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                    rule == FillRule::evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessBeginPolygon(tess, &state);
    size_t next = 0;
    for (const Contour& contour : shape) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < contour.size(); ++i, ++next)
            gluTessVertex(tess, &coords[3 * next], reinterpret_cast<void*>(static_cast<intptr_t>(next)));
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    Triangles result;
    result.points.assign(state.points.begin(), state.points.end());
    result.indices = state.indices;
    for (size_t t = 0; t + 2 < result.indices.size(); t += 3) {
        const Point& a = result.points[result.indices[t]];
        const Point& b = result.points[result.indices[t + 1]];
        const Point& c = result.points[result.indices[t + 2]];
        if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0)
            std::swap(result.indices[t + 1], result.indices[t + 2]);
    }
    return result;
}

// ---- Extrusion ------------------------------------------------------------

namespace {

constexpr double kCreaseCos = 0.82; // sharper turns than about 35 degrees crease the wall

// Adds triangle a, b, c wound so that its normal points along `outward` (file axes).
void addFacing(assetgen::Mesh3ds& mesh, uint16_t a, uint16_t b, uint16_t c, const double outward[3])
{
    const float* pa = &mesh.positions[3 * a];
    const float* pb = &mesh.positions[3 * b];
    const float* pc = &mesh.positions[3 * c];
    double e1[3] = {pb[0] - pa[0], pb[1] - pa[1], pb[2] - pa[2]};
    double e2[3] = {pc[0] - pa[0], pc[1] - pa[1], pc[2] - pa[2]};
    double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
    if (n[0] * outward[0] + n[1] * outward[1] + n[2] * outward[2] < 0)
        mesh.addTriangle(a, c, b);
    else
        mesh.addTriangle(a, b, c);
}

// The file-space direction of a layout step (dx, dy, dDepth) taken at (X, Y, depth).
void direction(const Extrusion& how, double X, double Y, double depth, double dx, double dy, double dd, double out[3])
{
    float p[3], q[3];
    how.place(X, Y, depth, p);
    how.place(X + dx, Y + dy, depth + dd, q);
    for (int i = 0; i < 3; ++i)
        out[i] = q[i] - p[i];
}

uint16_t addVertex(assetgen::Mesh3ds& mesh, const Extrusion& how, double X, double Y, double depth, float u, float v)
{
    float p[3];
    how.place(X, Y, depth, p);
    return mesh.addVertex(p[0], p[1], p[2], u, v);
}

} // namespace

void extrude(assetgen::Mesh3ds& mesh, const Shape& shape, const Extrusion& how)
{
    bool bevelled = !how.bevelInset.empty();
    double backwards = how.back > how.front ? 1.0 : -1.0;
    double wallFront = how.front + (bevelled ? backwards * how.bevelDepth : 0.0);
    double toward[3];
    direction(how, 0, 0, how.back, 0, 0, how.front - how.back, toward);

    Triangles caps = tessellate(bevelled ? how.bevelInset : shape);
    for (int side = 0; side < (how.backCap ? 2 : 1); ++side) {
        double depth = side == 0 ? how.front : how.back;
        double facing[3] = {toward[0], toward[1], toward[2]};
        if (side == 1)
            for (double& t : facing)
                t = -t;
        std::vector<uint16_t> ids;
        for (const Point& p : caps.points) {
            float u, v;
            how.capUv(p.x, p.y, u, v);
            ids.push_back(addVertex(mesh, how, p.x, p.y, depth, u, v));
        }
        for (size_t t = 0; t + 2 < caps.indices.size(); t += 3)
            addFacing(mesh, ids[caps.indices[t]], ids[caps.indices[t + 1]], ids[caps.indices[t + 2]], facing);
    }
    if (bevelled) {
        // The ring between the outline and the inset, its outer points pushed back.
        Shape ring = shape;
        size_t outerPoints = 0;
        for (const Contour& contour : shape)
            outerPoints += contour.size();
        ring.insert(ring.end(), how.bevelInset.begin(), how.bevelInset.end());
        Triangles chamfer = tessellate(ring);
        std::vector<uint16_t> ids;
        for (size_t k = 0; k < chamfer.points.size(); ++k) {
            const Point& p = chamfer.points[k];
            float u, v;
            how.capUv(p.x, p.y, u, v);
            ids.push_back(addVertex(mesh, how, p.x, p.y, k < outerPoints ? wallFront : how.front, u, v));
        }
        for (size_t t = 0; t + 2 < chamfer.indices.size(); t += 3)
            addFacing(mesh, ids[chamfer.indices[t]], ids[chamfer.indices[t + 1]], ids[chamfer.indices[t + 2]], toward);
    }

    double scale = 1e-9;
    Box box;
    box.add(shape);
    scale = std::max(box.x1 - box.x0, box.y1 - box.y0);
    for (const Contour& contour : shape) {
        size_t n = contour.size();
        std::vector<bool> smooth(n);
        for (size_t i = 0; i < n; ++i) {
            const Point& prev = contour[(i + n - 1) % n];
            const Point& here = contour[i];
            const Point& next = contour[(i + 1) % n];
            double ax = here.x - prev.x, ay = here.y - prev.y, bx = next.x - here.x, by = next.y - here.y;
            smooth[i] = (ax * bx + ay * by) / (std::hypot(ax, ay) * std::hypot(bx, by)) > kCreaseCos;
        }
        std::vector<double> arc(n + 1, 0.0);
        for (size_t i = 0; i < n; ++i)
            arc[i + 1] = arc[i] + std::hypot(contour[(i + 1) % n].x - contour[i].x, contour[(i + 1) % n].y - contour[i].y);

        // A front/back vertex pair per point, shared by both neighbouring walls at smooth points.
        std::vector<int> shared(n, -1);
        auto pair = [&](size_t i, double along, bool allowShare) {
            if (allowShare && smooth[i] && shared[i] >= 0)
                return static_cast<uint16_t>(shared[i]);
            const Point& p = contour[i];
            float u, v;
            how.wallUv(p.x, p.y, along / arc[n], 0.0, u, v);
            uint16_t front = addVertex(mesh, how, p.x, p.y, wallFront, u, v);
            how.wallUv(p.x, p.y, along / arc[n], 1.0, u, v);
            addVertex(mesh, how, p.x, p.y, how.back, u, v);
            if (allowShare && smooth[i])
                shared[i] = front;
            return front;
        };
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + 1) % n;
            // The contour's start gets a second pair, so the wall texture does not wrap back.
            uint16_t a = pair(i, arc[i], true);
            uint16_t b = pair(j, arc[i + 1], j != 0);
            const Point& p = contour[i];
            const Point& q = contour[j];
            double len = std::hypot(q.x - p.x, q.y - p.y);
            double lx = -(q.y - p.y) / len, ly = (q.x - p.x) / len; // left of travel
            Point probe{(p.x + q.x) / 2 + lx * scale * 1e-4, (p.y + q.y) / 2 + ly * scale * 1e-4};
            if (inside(shape, probe)) {
                lx = -lx;
                ly = -ly;
            }
            double outward[3];
            direction(how, p.x, p.y, wallFront, lx, ly, 0, outward);
            addFacing(mesh, a, b, static_cast<uint16_t>(b + 1), outward);
            addFacing(mesh, a, static_cast<uint16_t>(b + 1), static_cast<uint16_t>(a + 1), outward);
        }
    }
}

// ---- Raster fields --------------------------------------------------------

float Grid::sample(double X, double Y) const
{
    double fx = std::clamp((X - x0) / cell, 0.0, w - 1.0);
    double fy = std::clamp((Y - y0) / cell, 0.0, h - 1.0);
    int i = std::min(static_cast<int>(fx), w - 2), j = std::min(static_cast<int>(fy), h - 2);
    double tx = fx - i, ty = fy - j;
    return static_cast<float>((at(i, j) * (1 - tx) + at(i + 1, j) * tx) * (1 - ty) +
                              (at(i, j + 1) * (1 - tx) + at(i + 1, j + 1) * tx) * ty);
}

Grid coverage(const std::vector<Shape>& shapes, const Grid& frame, int ss)
{
    Grid out(frame.w, frame.h, frame.x0, frame.y0, frame.cell);
    std::vector<double> crossings;
    std::vector<int> counts(static_cast<size_t>(frame.w));
    double sub = frame.cell / ss;
    for (int j = 0; j < frame.h; ++j) {
        std::fill(counts.begin(), counts.end(), 0);
        for (int sj = 0; sj < ss; ++sj) {
            double y = frame.y0 + j * frame.cell - frame.cell / 2 + (sj + 0.5) * sub;
            crossings.clear();
            for (const Shape& shape : shapes)
                for (const Contour& contour : shape)
                    for (size_t i = 0, k = contour.size() - 1; i < contour.size(); k = i++) {
                        const Point& a = contour[i];
                        const Point& b = contour[k];
                        if ((a.y > y) != (b.y > y))
                            crossings.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
                    }
            std::sort(crossings.begin(), crossings.end());
            for (size_t c = 0; c + 1 < crossings.size(); c += 2) {
                // Sample columns whose centres lie inside [start, end).
                double first = (crossings[c] - (frame.x0 - frame.cell / 2)) / sub - 0.5;
                double last = (crossings[c + 1] - (frame.x0 - frame.cell / 2)) / sub - 0.5;
                int s0 = std::max(0, static_cast<int>(std::ceil(first)));
                int s1 = std::min(frame.w * ss - 1, static_cast<int>(std::ceil(last)) - 1);
                for (int s = s0; s <= s1; ++s)
                    ++counts[s / ss];
            }
        }
        for (int i = 0; i < frame.w; ++i)
            out.at(i, j) = static_cast<float>(counts[i]) / (ss * ss);
    }
    return out;
}

namespace {

// Squared distance transform of one line (Felzenszwalb and Huttenlocher).
void distance1d(const std::vector<double>& f, std::vector<double>& d, std::vector<int>& v, std::vector<double>& z)
{
    int n = static_cast<int>(f.size());
    int k = 0;
    v[0] = 0;
    z[0] = -1e30;
    z[1] = 1e30;
    auto meet = [&](int q, int r) {
        return ((f[q] + q * static_cast<double>(q)) - (f[r] + r * static_cast<double>(r))) / (2.0 * q - 2.0 * r);
    };
    for (int q = 1; q < n; ++q) {
        double s = meet(q, v[k]);
        while (s <= z[k]) { // z[0] is lower than any meeting point
            --k;
            s = meet(q, v[k]);
        }
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = 1e30;
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q)
            ++k;
        d[q] = (q - v[k]) * static_cast<double>(q - v[k]) + f[v[k]];
    }
}

// Distance (in cells) from every point to the nearest point where `seed` holds.
std::vector<double> distanceTo(const Grid& grid, bool seedInside)
{
    int w = grid.w, h = grid.h;
    std::vector<double> d2(static_cast<size_t>(w) * h);
    for (size_t k = 0; k < d2.size(); ++k)
        d2[k] = ((grid.v[k] > 0.5f) == seedInside) ? 0.0 : 1e20;
    int n = std::max(w, h);
    std::vector<double> f(n), d(n), z(n + 1);
    std::vector<int> v(n);
    f.resize(w);
    d.resize(w);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i)
            f[i] = d2[static_cast<size_t>(j) * w + i];
        distance1d(f, d, v, z);
        for (int i = 0; i < w; ++i)
            d2[static_cast<size_t>(j) * w + i] = d[i];
    }
    f.resize(h);
    d.resize(h);
    for (int i = 0; i < w; ++i) {
        for (int j = 0; j < h; ++j)
            f[j] = d2[static_cast<size_t>(j) * w + i];
        distance1d(f, d, v, z);
        for (int j = 0; j < h; ++j)
            d2[static_cast<size_t>(j) * w + i] = d[j];
    }
    for (double& x : d2)
        x = std::sqrt(x);
    return d2;
}

} // namespace

Grid signedDistance(const Grid& covered)
{
    std::vector<double> toInside = distanceTo(covered, true);
    std::vector<double> toOutside = distanceTo(covered, false);
    Grid out(covered.w, covered.h, covered.x0, covered.y0, covered.cell);
    for (size_t k = 0; k < out.v.size(); ++k) {
        // Half a cell to the edge between an inside and an outside point; the
        // coverage fraction refines it to sub-cell precision near the edge.
        double c = covered.v[k];
        double d = covered.v[k] > 0.5f ? toOutside[k] - 1.0 + c : -(toInside[k] - c);
        out.v[k] = static_cast<float>(d * covered.cell);
    }
    return out;
}

namespace {

// Thins a closed line: keeps the points more than `tolerance` off the chords.
void simplifyRun(const Contour& c, size_t a, size_t b, double tolerance, std::vector<bool>& keep)
{
    if (b <= a + 1)
        return;
    const Point& p = c[a];
    const Point& q = c[b % c.size()];
    double dx = q.x - p.x, dy = q.y - p.y, len = std::max(1e-12, std::hypot(dx, dy));
    double worst = -1;
    size_t at = a;
    for (size_t k = a + 1; k < b; ++k) {
        double d = std::fabs((c[k].x - p.x) * dy - (c[k].y - p.y) * dx) / len;
        if (d > worst) {
            worst = d;
            at = k;
        }
    }
    if (worst > tolerance) {
        keep[at] = true;
        simplifyRun(c, a, at, tolerance, keep);
        simplifyRun(c, at, b, tolerance, keep);
    }
}

} // namespace

Shape isoContours(const Grid& grid, float level, double tolerance)
{
    int w = grid.w;
    auto inside = [&](int i, int j) { return grid.at(i, j) > level; };
    // Crossing points keyed by grid edge: 2k for the edge from point k rightwards, 2k + 1 upwards.
    std::unordered_map<long, Point> points;
    auto crossing = [&](int i0, int j0, int i1, int j1) {
        long key = 2L * (static_cast<long>(std::min(j0, j1)) * w + std::min(i0, i1)) + (j0 != j1 ? 1 : 0);
        if (!points.count(key)) {
            double a = grid.at(i0, j0), b = grid.at(i1, j1);
            double t = (level - a) / (b - a);
            points[key] = {grid.x0 + (i0 + (i1 - i0) * t) * grid.cell, grid.y0 + (j0 + (j1 - j0) * t) * grid.cell};
        }
        return key;
    };
    // Each segment runs from where the boundary leaves the inside to where it
    // enters again, counter-clockwise round the cell, so the inside is on its left.
    std::unordered_map<long, long> next;
    for (int j = 0; j + 1 < grid.h; ++j) {
        for (int i = 0; i + 1 < w; ++i) {
            const int ci[4] = {i, i + 1, i + 1, i};
            const int cj[4] = {j, j, j + 1, j + 1};
            long exits[2], entries[2];
            int exitAt[2], entryAt[2], ne = 0, nn = 0;
            for (int k = 0; k < 4; ++k) {
                bool a = inside(ci[k], cj[k]), b = inside(ci[(k + 1) % 4], cj[(k + 1) % 4]);
                if (a == b)
                    continue;
                long key = crossing(ci[k], cj[k], ci[(k + 1) % 4], cj[(k + 1) % 4]);
                if (a) {
                    exitAt[ne] = k;
                    exits[ne++] = key;
                } else {
                    entryAt[nn] = k;
                    entries[nn++] = key;
                }
            }
            if (ne == 1) {
                next[exits[0]] = entries[0];
            } else if (ne == 2) {
                float centre = (grid.at(i, j) + grid.at(i + 1, j) + grid.at(i + 1, j + 1) + grid.at(i, j + 1)) / 4;
                bool joined = centre > level;
                for (int e = 0; e < 2; ++e) {
                    // Joined: the next entry counter-clockwise; apart: the previous one.
                    int best = -1, bestStep = 9;
                    for (int n = 0; n < 2; ++n) {
                        int step = joined ? (entryAt[n] - exitAt[e] + 4) % 4 : (exitAt[e] - entryAt[n] + 4) % 4;
                        if (step < bestStep) {
                            bestStep = step;
                            best = n;
                        }
                    }
                    next[exits[e]] = entries[best];
                }
            }
        }
    }
    Shape shape;
    std::unordered_map<long, bool> used;
    std::vector<long> starts;
    for (const auto& entry : next)
        starts.push_back(entry.first);
    std::sort(starts.begin(), starts.end()); // a fixed order, whatever the hash map does
    for (long start : starts) {
        if (used[start])
            continue;
        Contour loop;
        for (long key = start; !used[key]; key = next.at(key)) {
            used[key] = true;
            loop.push_back(points.at(key));
        }
        if (loop.size() < 8)
            continue;
        // Two passes of neighbour averaging take out the grid's staircase.
        for (int pass = 0; pass < 2; ++pass) {
            Contour smooth(loop.size());
            for (size_t k = 0; k < loop.size(); ++k) {
                const Point& a = loop[(k + loop.size() - 1) % loop.size()];
                const Point& b = loop[(k + 1) % loop.size()];
                smooth[k] = {0.5 * loop[k].x + 0.25 * (a.x + b.x), 0.5 * loop[k].y + 0.25 * (a.y + b.y)};
            }
            loop = smooth;
        }
        std::vector<bool> keep(loop.size(), false);
        size_t half = loop.size() / 2;
        keep[0] = keep[half] = true;
        simplifyRun(loop, 0, half, tolerance, keep);
        simplifyRun(loop, half, loop.size(), tolerance, keep);
        Contour thin;
        for (size_t k = 0; k < loop.size(); ++k)
            if (keep[k])
                thin.push_back(loop[k]);
        if (thin.size() >= 3)
            shape.push_back(thin);
    }
    return shape;
}

} // namespace logos
