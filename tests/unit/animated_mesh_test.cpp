// The animated mesh: its time wrap, the blended positions it draws, its face
// lists and normals, and the creature's precomputed normals.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/animated_mesh.h"
#include "gfx/creature_mesh.h"

namespace {

// Four vertices, vertex 3 named by no face; face 1 names vertex 0 twice.
// Eleven key frames whose coordinates are small binary fractions, so that
// midpoints are exact; frame 10 differs from frame 0, so reading it is seen.
constexpr int kK = 10;
constexpr int kV = 4;
const int kFaces[2][3] = {{0, 1, 2}, {0, 2, 0}};

float coordinate(int k, int v, int j)
{
    const float base[kV][3] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {5, 5, 5}};
    return base[v][j] + 0.25f * k * (v + 1) * (j + 1);
}

std::vector<float> tinyTable()
{
    std::vector<float> t = {2, kV, kK + 2};
    for (const auto& face : kFaces)
        for (int c = 0; c < 3; ++c)
            t.insert(t.end(), {float(face[c]), 0.5f * c, 0.25f + c});
    for (int k = 0; k <= kK; ++k)
        for (int v = 0; v < kV; ++v)
            for (int j = 0; j < 3; ++j)
                t.push_back(coordinate(k, v, j));
    return t;
}

// The blended positions of every corner at a frame position.
std::vector<float> cornersAt(AnimatedMesh& mesh, float position)
{
    mesh.setTime(position);
    std::vector<float> out(9 * mesh.faceCount);
    mesh.blendCorners(out.data());
    return out;
}

// The corners of the tiny table at key frame k, or halfway between k and k + 1.
std::vector<float> expectedCorners(int k, bool halfway)
{
    std::vector<float> out;
    for (const auto& face : kFaces)
        for (int c = 0; c < 3; ++c)
            for (int j = 0; j < 3; ++j)
                out.push_back(halfway ? 0.5f * (coordinate(k, face[c], j) + coordinate(k + 1, face[c], j))
                                      : coordinate(k, face[c], j));
    return out;
}

// The smooth normal straight from the face lists: the face normals around the
// vertex at frame k, summed in list order, over the list's length.
std::vector<float> directAverage(const AnimatedMesh& mesh, int k, int v)
{
    std::vector<float> sum(3, 0.0f);
    const auto& faces = mesh.vertexFaces[v];
    for (int32_t f : faces)
        for (int j = 0; j < 3; ++j)
            sum[j] += mesh.faceNormal[j][size_t(f) * mesh.frameCount + k];
    for (float& s : sum)
        s /= static_cast<float>(faces.size());
    return sum;
}

// The tiny table, loaded.
class TinyMesh : public ::testing::Test {
protected:
    void SetUp() override { mesh.load(table.data()); }
    std::vector<float> table = tinyTable();
    AnimatedMesh mesh;
};

} // namespace

TEST_F(TinyMesh, SetTimeWrapsFromTheFrameCountAndClampsBelowMinusOne)
{
    const float cases[][2] = {{3.5f, 3.5f}, {10.0f, 0.0f}, {23.25f, 3.25f}, {-0.5f, -0.5f}, {-2.5f, 0.0f}};
    for (const auto& c : cases) {
        mesh.setTime(c[0]);
        EXPECT_EQ(mesh.time, c[1]) << "t = " << c[0];
    }
}

TEST_F(TinyMesh, DrawsKeyFramesExactlyAndMidpointsHalfwayIncludingTheLastFrame)
{
    EXPECT_EQ(cornersAt(mesh, 3.0f), expectedCorners(3, false));
    EXPECT_EQ(cornersAt(mesh, 3.5f), expectedCorners(3, true));
    EXPECT_EQ(cornersAt(mesh, 9.5f), expectedCorners(9, true)); // frame 10, not frame 0
    EXPECT_EQ(cornersAt(mesh, 13.0f), expectedCorners(3, false));
}

TEST_F(TinyMesh, LoadListsFacesPerNamingCornerAndLeavesUnusedVerticesEmpty)
{
    EXPECT_EQ(mesh.faceV[4], 1.25f);
    EXPECT_EQ(mesh.vertexFaces[0], (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(mesh.vertexFaces[2], (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(mesh.vertexFaces[3].empty());
    // Never drawn, yet defined: no division by an empty list.
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(mesh.vertexNormal(4, 3)[j], 0.0f);
}

TEST_F(TinyMesh, FaceNormalsUseTheProgramsCrossProductUnnormalised)
{
    // Frame 0, face 0: (0,0,0), (1,0,0), (0,0,1). (P0 - P1) x (P1 - P2) with
    // the program's second component a.x b.z - a.z b.x gives +y, twice the area.
    const float expected[3] = {0.0f, 1.0f, 0.0f};
    // Face 1 names vertex 0 twice: no area, a zero normal that still counts in
    // vertex 0's average, twice.
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(mesh.faceNormal[j][0 * kK + 0], expected[j]);
        EXPECT_EQ(mesh.faceNormal[j][1 * kK + 0], 0.0f);
        EXPECT_FLOAT_EQ(mesh.vertexNormal(0, 0)[j], expected[j] / 3.0f);
    }
}

TEST(AnimatedMesh, TablesPastTheCapacityLeaveTheMeshEmpty)
{
    std::vector<float> table = tinyTable();
    table[0] = AnimatedMesh::kMaxFaces + 1;
    AnimatedMesh mesh;
    mesh.load(table.data());
    EXPECT_EQ(mesh.faceCount, 0);
    EXPECT_TRUE(mesh.vertexFaces.empty());
}

TEST(CreatureMesh, PrecomputedNormalsAreTheDirectAveragesOfTheFaceLists)
{
    AnimatedMesh mesh;
    mesh.load(kCreatureMesh);
    ASSERT_GT(mesh.faceCount, 0); // a table past the capacity would load empty
    for (int k = 0; k < mesh.frameCount; ++k) {
        const float* flat = mesh.cornerNormals(k, false);
        const float* smooth = mesh.cornerNormals(k, true);
        for (int n = 0; n < 3 * mesh.faceCount; ++n) {
            std::vector<float> average = directAverage(mesh, k, mesh.faceVertex[n]);
            for (int j = 0; j < 3; ++j) {
                // Bit for bit: the drawn values must not change.
                ASSERT_EQ(smooth[3 * n + j], average[j]) << "frame " << k << " corner " << n;
                ASSERT_EQ(flat[3 * n + j], mesh.faceNormal[j][size_t(n / 3) * mesh.frameCount + k]);
            }
        }
    }
}
