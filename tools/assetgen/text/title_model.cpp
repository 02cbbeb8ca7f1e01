// The opening quotation as 3D letters, 3D/starttext-export.3ds: glyph outlines
// of DejaVu Serif Condensed Bold flattened into polygons, capped front and
// back by GLU's tessellator and joined by side walls (smooth along curves,
// creased at corners). One object per line, one face group each.
//
// Axes: the show draws the title with rot.y = 90 after the loader's y-up swap,
// so a file vertex (x, y, z) lands at world (-y, z, -x). The text therefore
// runs along the file's -y, stands up along +z and faces -x.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "common/asset_file.h"
#include "common/model_3ds_writer.h"

namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSerifCondensed-Bold.ttf";
constexpr float kModelScale = 1.55f;                   // the scene's scale
constexpr float kWorldWidth = 8.0f;                    // of the verse line
constexpr float kDepth = 0.10f / kModelScale;          // extrusion, in file units
constexpr float kVerseBaseline = 1.02f / kModelScale;  // world heights, as file z
constexpr float kAuthorBaseline = 0.62f / kModelScale;
constexpr float kAuthorSize = 0.72f;                   // relative to the verse
constexpr float kTracking = 0.03f;                     // extra space between letters, in em
constexpr float kTextureSpan = 1.4f;                   // file units per repeat of the texture
constexpr int kCurveSteps = 6;                         // segments per curve of an outline
constexpr float kCreaseCos = 0.82f;                    // sharper turns than ~35 degrees crease

struct Point {
    double x, y;
};
using Contour = std::vector<Point>;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "assetgen title model: %s\n", what);
    std::exit(1);
}

// ---- Outlines -------------------------------------------------------------

struct OutlineSink {
    std::vector<Contour> contours;
    Point last{0, 0};
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
    for (int i = 1; i <= kCurveSteps; ++i) {
        double t = static_cast<double>(i) / kCurveSteps, s = 1 - t;
        sink->contours.back().push_back({s * s * a.x + 2 * s * t * c.x + t * t * b.x,
                                         s * s * a.y + 2 * s * t * c.y + t * t * b.y});
    }
    sink->last = b;
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto* sink = static_cast<OutlineSink*>(user);
    Point a = sink->last, p = toPoint(c1), q = toPoint(c2), b = toPoint(to);
    for (int i = 1; i <= kCurveSteps; ++i) {
        double t = static_cast<double>(i) / kCurveSteps, s = 1 - t;
        double wa = s * s * s, wp = 3 * s * s * t, wq = 3 * s * t * t, wb = t * t * t;
        sink->contours.back().push_back(
            {wa * a.x + wp * p.x + wq * q.x + wb * b.x, wa * a.y + wp * p.y + wq * q.y + wb * b.y});
    }
    sink->last = b;
    return 0;
}

// The glyph's contours in font units, closed, without a repeated last point.
std::vector<Contour> glyphContours(FT_Face face, FT_UInt index, bool& fillOnRight)
{
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING))
        fail("cannot load a glyph outline");
    FT_Outline_Funcs funcs = {moveTo, lineTo, conicTo, cubicTo, 0, 0};
    OutlineSink sink;
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink))
        fail("cannot decompose a glyph outline");
    fillOnRight = FT_Outline_Get_Orientation(&face->glyph->outline) == FT_ORIENTATION_TRUETYPE;
    for (Contour& contour : sink.contours) {
        Contour clean;
        for (const Point& p : contour)
            if (clean.empty() || std::hypot(p.x - clean.back().x, p.y - clean.back().y) > 1e-6)
                clean.push_back(p);
        while (clean.size() > 1 && std::hypot(clean[0].x - clean.back().x, clean[0].y - clean.back().y) < 1e-6)
            clean.pop_back();
        contour = clean;
    }
    return sink.contours;
}

// ---- Caps -----------------------------------------------------------------

struct Tessellation {
    std::deque<Point> points;            // stable addresses for GLU
    std::vector<int> triangles;          // indices into points
};

void GLAPIENTRY tessVertex(void* vertex, void* data)
{
    static_cast<Tessellation*>(data)->triangles.push_back(static_cast<int>(reinterpret_cast<intptr_t>(vertex)));
}

void GLAPIENTRY tessCombine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4], void** out,
                            void* data)
{
    auto* tess = static_cast<Tessellation*>(data);
    tess->points.push_back({coords[0], coords[1]});
    *out = reinterpret_cast<void*>(static_cast<intptr_t>(tess->points.size() - 1));
}

void GLAPIENTRY tessEdgeFlag(GLboolean, void*) {} // its presence asks GLU for plain triangles

void GLAPIENTRY tessError(GLenum error, void*)
{
    std::fprintf(stderr, "assetgen title model: tessellation: %s\n", gluErrorString(error));
    std::exit(1);
}

// Triangles covering the glyph's filled area, each counter-clockwise.
Tessellation tessellate(const std::vector<Contour>& contours)
{
    Tessellation result;
    for (const Contour& contour : contours)
        for (const Point& p : contour)
            result.points.push_back(p);
    std::vector<GLdouble> coords;
    for (const Point& p : result.points)
        coords.insert(coords.end(), {p.x, p.y, 0.0});

    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(tessVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(tessCombine));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(tessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(tessError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessBeginPolygon(tess, &result);
    size_t next = 0;
    for (const Contour& contour : contours) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < contour.size(); ++i, ++next)
            gluTessVertex(tess, &coords[3 * next], reinterpret_cast<void*>(static_cast<intptr_t>(next)));
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    for (size_t t = 0; t + 2 < result.triangles.size(); t += 3) {
        const Point& a = result.points[result.triangles[t]];
        const Point& b = result.points[result.triangles[t + 1]];
        const Point& c = result.points[result.triangles[t + 2]];
        if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0)
            std::swap(result.triangles[t + 1], result.triangles[t + 2]);
    }
    return result;
}

// ---- The mesh -------------------------------------------------------------

// Builds one line of text into a mesh. Layout coordinates (X along the text,
// Y up) become file coordinates (x = depth, y = -X, z = Y).
class LineBuilder {
public:
    explicit LineBuilder(const char* name) { mesh_.name = name; }

    uint16_t vertex(double X, double Y, double depth, double u, double v)
    {
        return mesh_.addVertex(static_cast<float>(depth), static_cast<float>(-X), static_cast<float>(Y),
                               static_cast<float>(u), static_cast<float>(v));
    }

    // A glyph's contours, already scaled and placed in layout units.
    void addGlyph(const std::vector<Contour>& contours, bool fillOnRight)
    {
        Tessellation caps = tessellate(contours);
        for (int side = 0; side < 2; ++side) {
            double depth = side == 0 ? -kDepth / 2 : kDepth / 2; // front faces -x
            std::vector<uint16_t> ids;
            for (const Point& p : caps.points)
                ids.push_back(vertex(p.x, p.y, depth, p.x / kTextureSpan, p.y / kTextureSpan));
            for (size_t t = 0; t + 2 < caps.triangles.size(); t += 3) {
                uint16_t a = ids[caps.triangles[t]], b = ids[caps.triangles[t + 1]], c = ids[caps.triangles[t + 2]];
                // Counter-clockwise in the layout plane faces the viewer (-x); the back turns round.
                if (side == 0)
                    mesh_.addTriangle(a, b, c);
                else
                    mesh_.addTriangle(a, c, b);
            }
        }
        for (const Contour& contour : contours)
            addWalls(contour, fillOnRight);
    }

    assetgen::Mesh3ds finish()
    {
        mesh_.groupAll("stone");
        return mesh_;
    }

private:
    // The wall along one contour: quads between front and back, sharing
    // vertices across gentle bends so that curves shade smoothly.
    void addWalls(const Contour& contour, bool fillOnRight)
    {
        size_t n = contour.size();
        if (n < 3)
            return;
        std::vector<bool> smooth(n);
        for (size_t i = 0; i < n; ++i) {
            const Point& prev = contour[(i + n - 1) % n];
            const Point& here = contour[i];
            const Point& next = contour[(i + 1) % n];
            double ax = here.x - prev.x, ay = here.y - prev.y, bx = next.x - here.x, by = next.y - here.y;
            double cosTurn = (ax * bx + ay * by) / (std::hypot(ax, ay) * std::hypot(bx, by));
            smooth[i] = cosTurn > kCreaseCos;
        }
        // Arc length along the contour carries the texture round the wall.
        std::vector<double> arc(n + 1, 0.0);
        for (size_t i = 0; i < n; ++i)
            arc[i + 1] = arc[i] + std::hypot(contour[(i + 1) % n].x - contour[i].x, contour[(i + 1) % n].y - contour[i].y);

        std::vector<int> shared(n, -1); // first vertex of the front/back pair at a smooth point
        auto pair = [&](size_t i, double along, bool allowShare) {
            if (allowShare && smooth[i] && shared[i] >= 0)
                return static_cast<uint16_t>(shared[i]);
            const Point& p = contour[i];
            uint16_t front = vertex(p.x, p.y, -kDepth / 2, along / kTextureSpan, 0.0);
            vertex(p.x, p.y, kDepth / 2, along / kTextureSpan, kDepth / kTextureSpan);
            if (allowShare && smooth[i])
                shared[i] = front;
            return front;
        };
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + 1) % n;
            // The seam at the contour's start gets its own vertices, so the texture does not wrap back.
            uint16_t a = pair(i, arc[i], true);
            uint16_t b = pair(j, arc[i + 1], j != 0);
            const Point& p = contour[i];
            const Point& q = contour[j];
            // Outward is to the left of travel when the fill lies on the right.
            double ox = -(q.y - p.y), oy = q.x - p.x;
            if (!fillOnRight) {
                ox = -ox;
                oy = -oy;
            }
            addFacing(a, b, static_cast<uint16_t>(b + 1), ox, oy);
            addFacing(a, static_cast<uint16_t>(b + 1), static_cast<uint16_t>(a + 1), ox, oy);
        }
    }

    // A triangle wound so that its normal points along the layout direction (ox, oy).
    void addFacing(uint16_t a, uint16_t b, uint16_t c, double ox, double oy)
    {
        const float* pa = &mesh_.positions[3 * a];
        const float* pb = &mesh_.positions[3 * b];
        const float* pc = &mesh_.positions[3 * c];
        double e1[3] = {pb[0] - pa[0], pb[1] - pa[1], pb[2] - pa[2]};
        double e2[3] = {pc[0] - pa[0], pc[1] - pa[1], pc[2] - pa[2]};
        double ny = e1[2] * e2[0] - e1[0] * e2[2];
        double nz = e1[0] * e2[1] - e1[1] * e2[0];
        // Layout X is file -y, layout Y is file z.
        if (-ny * ox + nz * oy < 0)
            mesh_.addTriangle(a, c, b);
        else
            mesh_.addTriangle(a, b, c);
    }

    assetgen::Mesh3ds mesh_;
};

// Code points of a UTF-8 string.
std::vector<uint32_t> decodeUtf8(const std::string& text)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(code);
        i += 1 + extra;
    }
    return out;
}

// Width of a line in font units, with tracking and kerning.
double lineWidth(FT_Face face, const std::vector<uint32_t>& text)
{
    double width = 0;
    FT_UInt previous = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        FT_UInt index = FT_Get_Char_Index(face, text[i]);
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNSCALED, &kern);
            width += kern.x;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING))
            fail("cannot load a glyph");
        width += face->glyph->advance.x;
        if (i + 1 < text.size())
            width += kTracking * face->units_per_EM;
        previous = index;
    }
    return width;
}

// Lays out one line from penX at baseline, scale file units per font unit.
assetgen::Mesh3ds buildLine(FT_Face face, const char* name, const std::string& utf8, double penX, double baseline,
                            double scale)
{
    LineBuilder builder(name);
    std::vector<uint32_t> text = decodeUtf8(utf8);
    FT_UInt previous = 0;
    for (uint32_t code : text) {
        FT_UInt index = FT_Get_Char_Index(face, code);
        if (index == 0)
            fail("the font lacks a character of the quotation");
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, index, FT_KERNING_UNSCALED, &kern);
            penX += kern.x * scale;
        }
        bool fillOnRight = true;
        std::vector<Contour> contours = glyphContours(face, index, fillOnRight);
        double advance = face->glyph->advance.x * scale;
        for (Contour& contour : contours)
            for (Point& p : contour)
                p = {penX + p.x * scale, baseline + p.y * scale};
        if (!contours.empty())
            builder.addGlyph(contours, fillOnRight);
        penX += advance + kTracking * face->units_per_EM * scale;
        previous = index;
    }
    return builder.finish();
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, kFontFile, 0, &face))
        fail("cannot open DejaVu Serif Condensed Bold (package fonts-dejavu-core)");

    // Baudelaire, "Correspondances" (1857), and its author below, to the right.
    std::string verse = "L'HOMME Y PASSE À TRAVERS DES FORÊTS DE SYMBOLES";
    std::string author = "— BAUDELAIRE";
    double verseWidth = lineWidth(face, decodeUtf8(verse));
    double scale = kWorldWidth / kModelScale / verseWidth;
    double left = -verseWidth * scale / 2;
    double authorScale = scale * kAuthorSize;
    double authorWidth = lineWidth(face, decodeUtf8(author)) * authorScale;
    double authorLeft = -left - authorWidth;

    std::vector<assetgen::Mesh3ds> meshes;
    meshes.push_back(buildLine(face, "verse", verse, left, kVerseBaseline, scale));
    meshes.push_back(buildLine(face, "author", author, authorLeft, kAuthorBaseline, authorScale));
    assetgen::save3ds(dirs.data + "/3D/starttext-export.3ds", meshes);

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}
