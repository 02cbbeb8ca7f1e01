// The second group's logo, 3D/silvate.3ds: the word SILVATE in DejaVu Sans
// Bold, each letter its own object, standing proud of a thick outline of the
// whole word (object 0, which the scene draws black, so the pale letters sit
// on a dark cut-out against the smoke).
//
// Axes: the scene's rotation (180, 245 - 80r, 175) turns the loader's y-up
// frame about the vertical, so the file's z is up, the word runs along +x
// and its front faces -y, towards the camera over the window's first quarter.
// About 3.7 file units wide, centred on the origin across, raised above it.
//
// Texture coordinates project the front straight onto [0, 1]^2 over the
// outline's box (walls included), for the radial "mask" texture the scene binds.
#include <string>
#include <vector>

#include "common/asset_file.h"
#include "common/model_3ds_writer.h"
#include "logos/shapes.h"

using logos::Grid;
using logos::Shape;

namespace {

constexpr const char* kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kWord = "SILVATE";
constexpr double kWordWidth = 3.5;
constexpr double kTracking = 0.05;     // em
constexpr double kOutline = 0.085;     // how far the outline reaches past the letters
constexpr double kBevel = 0.022;       // width and depth of the letters' chamfer
constexpr double kCell = 0.004;        // raster step for the outline and the chamfer
// Depths along the file's y (the front is the more negative side).
constexpr double kLetterFront = -0.12, kLetterBack = 0.0;
constexpr double kOutlineFront = -0.05, kOutlineBack = 0.05;

// The glyph shrunk by the chamfer's width.
Shape inset(const Shape& glyph)
{
    logos::Box box;
    box.add(glyph);
    double margin = 10 * kCell;
    Grid frame(static_cast<int>((box.x1 - box.x0 + 2 * margin) / kCell) + 1,
               static_cast<int>((box.y1 - box.y0 + 2 * margin) / kCell) + 1, box.x0 - margin, box.y0 - margin, kCell);
    Grid distance = logos::signedDistance(logos::coverage({glyph}, frame, 3));
    return logos::isoContours(distance, static_cast<float>(kBevel), kCell * 0.12);
}

} // namespace

int main(int argc, char** argv)
{
    assetgen::Dirs dirs = assetgen::parseDirs(argc, argv);

    logos::TextLine probe = logos::layoutText(kFont, kWord, 1.0, kTracking, 8);
    logos::TextLine word = logos::layoutText(kFont, kWord, kWordWidth / probe.width, kTracking, 8);
    logos::Box letters;
    for (const Shape& glyph : word.glyphs)
        letters.add(glyph);
    logos::translate(word.glyphs, -(letters.x0 + letters.x1) / 2, -(letters.y0 + letters.y1) / 2);
    letters = logos::Box();
    for (const Shape& glyph : word.glyphs)
        letters.add(glyph);

    // The outline: every point within kOutline of a letter.
    double margin = kOutline + 10 * kCell;
    Grid frame(static_cast<int>((letters.x1 - letters.x0 + 2 * margin) / kCell) + 1,
               static_cast<int>((letters.y1 - letters.y0 + 2 * margin) / kCell) + 1, letters.x0 - margin,
               letters.y0 - margin, kCell);
    Grid distance = logos::signedDistance(logos::coverage(word.glyphs, frame, 3));
    Shape outline = logos::isoContours(distance, static_cast<float>(-kOutline), kCell * 0.15);
    logos::Box box;
    box.add(outline);

    // The word stands well above the model's origin: placed in the fog window,
    // it must rise out of the hills that lie between the camera and it.
    constexpr double kLift = 1.28;
    auto place = [](double X, double Y, double depth, float out[3]) {
        out[0] = static_cast<float>(X);
        out[1] = static_cast<float>(depth);
        out[2] = static_cast<float>(Y + kLift);
    };
    auto planar = [box](double X, double Y, float& u, float& v) {
        u = static_cast<float>((X - box.x0) / (box.x1 - box.x0));
        v = static_cast<float>((Y - box.y0) / (box.y1 - box.y0));
    };
    auto extrusion = [&](double front, double back) {
        logos::Extrusion how;
        how.place = place;
        how.front = front;
        how.back = back;
        how.capUv = planar;
        how.wallUv = [planar](double X, double Y, double, double, float& u, float& v) { planar(X, Y, u, v); };
        return how;
    };

    std::vector<assetgen::Mesh3ds> meshes(1);
    meshes[0].name = "outline";
    logos::extrude(meshes[0], outline, extrusion(kOutlineFront, kOutlineBack));
    for (size_t i = 0; i < word.glyphs.size(); ++i) {
        assetgen::Mesh3ds letter;
        letter.name = std::string("letter") + kWord[i];
        logos::Extrusion how = extrusion(kLetterFront, kLetterBack);
        how.bevelInset = inset(word.glyphs[i]);
        how.bevelDepth = kBevel;
        logos::extrude(letter, word.glyphs[i], how);
        meshes.push_back(letter);
    }
    for (assetgen::Mesh3ds& mesh : meshes)
        mesh.groupAll("silvate");
    assetgen::save3ds(dirs.data + "/3D/silvate.3ds", meshes);
    return 0;
}
