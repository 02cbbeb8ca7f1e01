// The 3DS reader on files made by the asset generator's writer and on broken
// ones. This executable is built with AddressSanitizer and UBSan, so a read
// past a buffer fails the run even where the result would look right.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gfx/model_3ds.h"
#include "square_mesh.h"

using assetgen::ChunkWriter;
using assetgen::Mesh3ds;

namespace {

bool load(Model_3DS& model, const std::vector<unsigned char>& bytes, std::string& error)
{
    return model.loadFromBytes(bytes.data(), bytes.size(), error);
}

Model_3DS loaded(const std::vector<Mesh3ds>& meshes)
{
    Model_3DS model;
    std::string error;
    EXPECT_TRUE(load(model, assetgen::encode3ds(meshes), error)) << error;
    return model;
}

void expectEmpty(const Model_3DS& model)
{
    EXPECT_EQ((std::vector<size_t>{size_t(model.numObjects), model.Objects.size(), size_t(model.totalVerts),
                                   size_t(model.totalFaces)}),
              (std::vector<size_t>{0, 0, 0, 0}));
}

std::vector<float> first(const std::vector<float>& values, size_t from, size_t count)
{
    return std::vector<float>(values.begin() + from, values.begin() + from + count);
}

// A file with one object whose mesh holds the chunks that fill() writes.
std::vector<unsigned char> fileWithMesh(void (*fill)(ChunkWriter&))
{
    ChunkWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    out.begin(0x4000);
    out.name("broken");
    out.begin(0x4100);
    fill(out);
    out.end();
    out.end();
    out.end();
    out.end();
    return out.bytes();
}

void threeVertices(ChunkWriter& out)
{
    out.begin(0x4110);
    out.u16(3);
    for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f})
        out.f32(v);
    out.end();
}

std::string failureOf(const std::vector<unsigned char>& bytes)
{
    Model_3DS model;
    std::string error;
    EXPECT_FALSE(load(model, bytes, error));
    expectEmpty(model);
    return error;
}

} // namespace

TEST(Model3dsAxes, AFileVertexBecomesYUpWithTheFileYNegatedAsZAndMappingCoordinatesAreKept)
{
    Mesh3ds mesh = square("square", false);
    mesh.positions[0] = 1;
    mesh.positions[1] = 2;
    mesh.positions[2] = 3;
    Model_3DS model = loaded({mesh});
    const Model_3DS::Object& object = model.Objects[0];
    EXPECT_EQ(first(object.Vertexes, 0, 3), (std::vector<float>{1, 3, -2}));
    // Without mapping coordinates the texture is projected along z.
    EXPECT_FALSE(object.textured);
    EXPECT_EQ(object.numTexCoords, 4);
    EXPECT_EQ(first(object.TexCoords, 0, 2), (std::vector<float>{1, 3}));
    // With them they are kept.
    EXPECT_EQ(loaded({square()}).Objects[0].TexCoords, (std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1}));
}

TEST(Model3dsNormals, ACounterClockwiseFloorPointsUpAndAnUnusedVertexKeepsAZeroNormal)
{
    Mesh3ds mesh = square();
    mesh.addVertex(5, 5, 5, 0, 0);
    EXPECT_EQ(loaded({mesh}).Objects[0].Normals, (std::vector<float>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0}));
}

TEST(Model3dsNormals, SharedVerticesWeighFacesByTheirArea)
{
    // Vertex 0 is shared by a floor triangle of area 2 and a wall triangle of area 0.5.
    Mesh3ds mesh;
    mesh.name = "corner";
    mesh.addVertex(0, 0, 0, 0, 0);
    mesh.addVertex(2, 0, 0, 0, 0);
    mesh.addVertex(0, 2, 0, 0, 0);
    mesh.addVertex(0, 1, 0, 0, 0);
    mesh.addVertex(0, 0, 1, 0, 0);
    mesh.addTriangle(0, 1, 2); // floor, normal file +z (loaded +y), cross length 4
    mesh.addTriangle(0, 3, 4); // wall, normal file +x, cross length 1
    mesh.groupAll("stone");
    std::vector<float> n = first(loaded({mesh}).Objects[0].Normals, 0, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(n[i], (std::vector<float>{1, 4, 0})[i] / std::sqrt(17.0f), 1e-6f) << i;
}

TEST(Model3dsFaceGroups, ATriangleListedInTwoGroupsIsCopiedIntoBothAndNoGroupDrawsNothing)
{
    Mesh3ds mesh = square();
    mesh.groups = {{"stone", {1}}, {"metal", {1, 0}}};
    Model_3DS model = loaded({mesh});
    const Model_3DS::Object& object = model.Objects[0];
    ASSERT_EQ(object.numMatFaces, 2);
    EXPECT_EQ((std::vector<int>{object.MatFaces[0].numSubFaces, object.MatFaces[1].numSubFaces, model.numMaterials}),
              (std::vector<int>{3, 6, 2}));
    EXPECT_EQ(object.MatFaces[0].subFaces, (std::vector<uint16_t>{0, 2, 3}));
    EXPECT_EQ(object.MatFaces[1].subFaces, (std::vector<uint16_t>{0, 2, 3, 0, 1, 2}));

    // A mesh without groups loads but has nothing to draw.
    mesh.groups.clear();
    const Model_3DS::Object ungrouped = loaded({mesh}).Objects[0];
    EXPECT_EQ(ungrouped.numFaces, 6);
    EXPECT_TRUE(ungrouped.numMatFaces == 0 && ungrouped.MatFaces.empty());
}

TEST(Model3dsRoundTrip, EveryObjectComesBackInFileOrderWithItsCounts)
{
    Mesh3ds second = square("second");
    second.addVertex(3, 3, 3, 0, 0);
    second.uvs.clear();
    second.addTriangle(2, 3, 4);
    second.groupAll("metal");
    Model_3DS model = loaded({square("first"), second});
    ASSERT_EQ(model.numObjects, 2);
    const Model_3DS::Object& b = model.Objects[1];
    EXPECT_EQ(std::string(model.Objects[0].name) + " " + b.name, "first second");
    // Objects' vertices, faces (three indices each) and groups; the model's vertices, triangles and materials.
    EXPECT_EQ((std::vector<int>{b.numVerts, b.numFaces, b.numMatFaces, model.totalVerts, model.totalFaces,
                                model.numMaterials}),
              (std::vector<int>{5, 9, 2, 9, 5, 2}));
    EXPECT_EQ(b.Faces, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 2, 3, 4}));
    EXPECT_EQ(first(b.Vertexes, 12, 3), (std::vector<float>{3, 3, -3}));
}

TEST(Model3dsRoundTrip, UnknownChunksAreSkipped)
{
    ChunkWriter out;
    out.begin(0x4D4D);
    out.begin(0x0002); // version
    out.u32(3);
    out.end();
    out.begin(0x3D3D);
    out.begin(0x3D3E); // mesh version
    out.u32(3);
    out.end();
    out.end();
    out.end();
    Model_3DS model;
    std::string error;
    EXPECT_TRUE(load(model, out.bytes(), error)) << error;
    EXPECT_EQ(model.numObjects, 0);
}

TEST(Model3dsNames, QuotesAroundANameAreDroppedAndThePathRunsToTheLastSeparator)
{
    for (auto [name, stripped] : {std::pair{"\"data/3D/logo2.3ds\"", "data/3D/logo2.3ds"},
                                  {"data/3D/logo2.3ds", "data/3D/logo2.3ds"}, {"a.3ds\" trailing\"", "a.3ds"},
                                  {"\"\"\"", ""}})
        EXPECT_EQ(model3ds::stripQuotes(name), stripped) << name;
    for (auto [path, directory] : {std::pair{"data/3D/logo2.3ds", "data/3D/"}, {"data\\3D\\logo2.3ds", "data\\3D\\"},
                                   {"data/3D\\logo2.3ds", "data/3D\\"}, {"logo2.3ds", ""}})
        EXPECT_EQ(model3ds::directoryOf(path), directory) << path;
}

namespace {

void faceList(ChunkWriter& out, std::initializer_list<uint16_t> face)
{
    out.begin(0x4120);
    out.u16(1);
    for (uint16_t v : face)
        out.u16(v);
}

// A face list of one triangle holding a group that names the triangles in `listed`.
void groupOf(ChunkWriter& out, uint16_t count, std::initializer_list<uint16_t> listed)
{
    threeVertices(out);
    faceList(out, {0, 1, 2, 0});
    out.begin(0x4130);
    out.name("stone");
    out.u16(count);
    for (uint16_t t : listed)
        out.u16(t);
    out.end();
    out.end();
}

// A list chunk whose count says one thing and whose values (halves) another.
void counted(ChunkWriter& out, uint16_t id, uint16_t count, int values)
{
    out.begin(id);
    out.u16(count);
    for (int i = 0; i < values; ++i)
        out.f32(0.5f);
    out.end();
}

} // namespace

TEST(Model3dsMalformed, EachBrokenMeshIsRefusedWithItsReason)
{
    struct Case {
        const char* what;
        void (*fill)(ChunkWriter&);
        const char* reason; // part of the error, or "" for any
    } cases[] = {
        {"a vertex count running past its chunk", [](ChunkWriter& out) { counted(out, 0x4110, 4, 9); }, "vertex list"},
        {"a huge vertex count, refused at once", [](ChunkWriter& out) { counted(out, 0x4110, 65535, 1); }, "65535"},
        {"a face index past the vertices",
         [](ChunkWriter& out) { threeVertices(out); faceList(out, {0, 1, 3, 0}); out.end(); }, "vertex 3 of 3"},
        {"a face list before any vertices", [](ChunkWriter& out) { faceList(out, {0, 0, 0, 0}); out.end(); }, ""},
        {"a group listing a missing triangle", [](ChunkWriter& out) { groupOf(out, 1, {1}); }, "triangle 1 of 1"},
        {"a group count running past its chunk", [](ChunkWriter& out) { groupOf(out, 2, {0}); }, ""},
        {"fewer mapping coordinates than vertices",
         [](ChunkWriter& out) {
             threeVertices(out);
             counted(out, 0x4140, 2, 4);
         },
         ""},
    };
    for (const Case& c : cases) {
        std::string error = failureOf(fileWithMesh(c.fill));
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

TEST(Model3dsMalformed, ChunkLengthsOutsideTheirParentOrShorterThanAHeaderAreRefused)
{
    // The vertex list's length reaching far past the mesh and the file.
    std::vector<unsigned char> bytes = fileWithMesh(threeVertices);
    size_t at = bytes.size() - (2 + 36 + 6);
    ASSERT_EQ(bytes[at], 0x10);
    ASSERT_EQ(bytes[at + 1], 0x41);
    bytes[at + 5] = 0x7F;
    std::string error = failureOf(bytes);
    EXPECT_NE(error.find("0x4110"), std::string::npos) << error;

    bytes = fileWithMesh(threeVertices);
    std::memset(&bytes[at + 2], 0, 4);
    bytes[at + 2] = 5;
    error = failureOf(bytes);
    EXPECT_NE(error.find("impossible length"), std::string::npos) << error;
}

TEST(Model3dsMalformed, ANameWithoutItsEndIsRefused)
{
    ChunkWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    out.begin(0x4000);
    for (int i = 0; i < 90; ++i)
        out.u16(0x4141); // 'AA', never a NUL
    out.end();
    out.end();
    out.end();
    std::string error = failureOf(out.bytes());
    EXPECT_NE(error.find("object name"), std::string::npos) << error;
}

TEST(Model3dsMalformed, EveryTruncationFailsCleanlyAndChangingAnyByteNeverReadsOutOfBounds)
{
    std::vector<unsigned char> whole = assetgen::encode3ds({square(), square("b", false)});
    for (size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly size bytes, so that ASan sees any read past it; from
        // the empty buffer on, the top chunk claims more bytes than there are.
        std::vector<unsigned char> cut(whole.begin(), whole.begin() + size);
        EXPECT_FALSE(failureOf(cut).empty()) << size;
    }
    // Every byte set to each of a few telling values: the load either succeeds
    // or fails with a reason, and the sanitizers watch the reads.
    int failures = 0;
    for (size_t at = 0; at < whole.size(); ++at) {
        for (unsigned char value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            std::vector<unsigned char> bytes = whole;
            bytes[at] = value;
            Model_3DS model;
            std::string error;
            if (!load(model, bytes, error)) {
                ++failures;
                EXPECT_FALSE(error.empty());
            }
        }
    }
    EXPECT_GT(failures, 0);
}
