// The opening quotation as 3D letters, 3D/starttext-export.3ds: glyph outlines
// of DejaVu Serif Condensed Bold flattened into polygons, capped front and
// back by GLU's tessellator (both read and tessellated by the logos' shape
// code) and joined by side walls (smooth along curves, creased at corners).
// One object per line, one face group each.
//
// Axes: the show draws the title with rot.y = 90 after the loader's y-up swap,
// so a file vertex (x, y, z) lands at world (-y, z, -x). The text therefore
// runs along the file's -y, stands up along +z and faces -x.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/asset_file.h"
#include "common/model_3ds_writer.h"
#include "logos/shapes.h"

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

using logos::Contour;
using logos::Point;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "assetgen title model: %s\n", what);
    std::exit(1);
}

// The glyph's contours in font units, closed, without a repeated last point.
std::vector<Contour> glyphContours(FT_Face face, FT_UInt index, bool& fillOnRight)
{
    logos::Shape contours = logos::glyphContours(face, index, kCurveSteps);
    fillOnRight = FT_Outline_Get_Orientation(&face->glyph->outline) == FT_ORIENTATION_TRUETYPE;
    logos::dropRepeatedPoints(contours, 1e-6);
    return contours;
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
        logos::Triangles caps = logos::tessellate(contours, logos::FillRule::nonZero);
        for (int side = 0; side < 2; ++side) {
            double depth = side == 0 ? -kDepth / 2 : kDepth / 2; // front faces -x
            std::vector<uint16_t> ids;
            for (const Point& p : caps.points)
                ids.push_back(vertex(p.x, p.y, depth, p.x / kTextureSpan, p.y / kTextureSpan));
            for (size_t t = 0; t + 2 < caps.indices.size(); t += 3) {
                uint16_t a = ids[caps.indices[t]], b = ids[caps.indices[t + 1]], c = ids[caps.indices[t + 2]];
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
