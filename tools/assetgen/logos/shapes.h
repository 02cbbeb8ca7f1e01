// Flat shapes for the two logos and what is made of them: glyph outlines of a
// line of text, tessellated caps, extruded prisms written into 3DS meshes, and
// raster fields (coverage, signed distance, iso-contours) for painting the
// textures and for offset outlines. The title's 3D letters read their glyphs
// and tessellate their caps with the same functions.
#pragma once
#include <ft2build.h>
#include FT_FREETYPE_H

#include <functional>
#include <string>
#include <vector>

#include "common/model_3ds_writer.h"

namespace logos {

struct Point {
    double x, y;
};
using Contour = std::vector<Point>; // closed; the last point does not repeat the first
using Shape = std::vector<Contour>; // filled by the even-odd rule

[[noreturn]] void fail(const char* what);

// One line of text as glyph outlines: one Shape per visible glyph, baseline at
// y = 0, pen starting at x = 0, `em` layout units per em, extra `tracking` (in
// em) between letters, curves flattened into `curveSteps` segments.
struct TextLine {
    std::vector<Shape> glyphs;
    double width = 0;
};
TextLine layoutText(const char* fontFile, const std::string& ascii, double em, double tracking, int curveSteps);

// Loads glyph `index` unscaled and unhinted into face->glyph and returns its
// contours in font units, curves flattened into `curveSteps` segments. A
// contour may still repeat points, its first one included at the end.
Shape glyphContours(FT_Face face, FT_UInt index, int curveSteps);
// Drops points closer than `tolerance` to the one before, and last points
// that close back onto the first.
void dropRepeatedPoints(Shape& shape, double tolerance);

struct Box {
    double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
    void add(const Shape& shape);
};
void translate(std::vector<Shape>& shapes, double dx, double dy);
bool inside(const Shape& shape, Point p);

// Triangles covering a shape, each counter-clockwise. Points the
// tessellator adds where edges cross follow the shape's own points.
struct Triangles {
    std::vector<Point> points;
    std::vector<int> indices;
};
enum class FillRule { evenOdd, nonZero };
Triangles tessellate(const Shape& shape, FillRule rule = FillRule::evenOdd);

// A shape made into a prism of a mesh. `place` maps layout (X, Y) and a depth
// to file coordinates; the front cap lies at depth `front` and faces towards
// it from `back`. Caps take capUv(X, Y); walls take wallUv(X, Y, t, s) with t
// the fraction along their contour and s from 0 at the front edge to 1 at the back.
struct Extrusion {
    std::function<void(double X, double Y, double depth, float out[3])> place;
    double front = 0, back = 0;
    bool backCap = true;
    // With an inset (the shape shrunk by some margin), the front cap is the
    // inset and a chamfer slopes from it back by bevelDepth to the walls.
    Shape bevelInset;
    double bevelDepth = 0;
    std::function<void(double X, double Y, float& u, float& v)> capUv;
    std::function<void(double X, double Y, double t, double s, float& u, float& v)> wallUv;
};
void extrude(assetgen::Mesh3ds& mesh, const Shape& shape, const Extrusion& how);

// A regular grid of values over layout space; value (i, j) belongs to the
// point (x0 + i * cell, y0 + j * cell), j growing upwards.
struct Grid {
    int w = 0, h = 0;
    double x0 = 0, y0 = 0, cell = 1;
    std::vector<float> v;
    Grid() = default;
    Grid(int width, int height, double left, double bottom, double step, float fill = 0)
        : w(width), h(height), x0(left), y0(bottom), cell(step), v(static_cast<size_t>(width) * height, fill)
    {
    }
    float& at(int i, int j) { return v[static_cast<size_t>(j) * w + i]; }
    float at(int i, int j) const { return v[static_cast<size_t>(j) * w + i]; }
    // Bilinear, clamped at the borders.
    float sample(double X, double Y) const;
};

// The covered fraction of each grid point's cell (ss x ss samples), the shapes
// filled together by the even-odd rule.
Grid coverage(const std::vector<Shape>& shapes, const Grid& frame, int ss);
// Distance to the edge of the covered (> 0.5) region in layout units: positive inside.
Grid signedDistance(const Grid& covered);
// The closed lines where the grid crosses `level` (greater is inside), smoothed
// and thinned to points at most `tolerance` off the line. The grid's border must lie outside.
Shape isoContours(const Grid& grid, float level, double tolerance);

} // namespace logos
