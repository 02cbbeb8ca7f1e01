// Drawing 3DS models on a real GL context (Mesa, virtual display): which
// triangles reach the screen, in which colours, and what releasing the
// opening text frees.
#include <gtest/gtest.h>

#include <epoxy/gl.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/model_3ds_writer.h"
#include "effects/font.h"
#include "gfx/bitmap_text.h"
#include "gfx/model_3ds.h"
#include "gl/gl_context.h"
#include "scenes/quotation.h"

namespace {

constexpr int kSize = 64;

class ModelTextGl : public ::testing::Test {
protected:
    // One pixel per unit over a white kSize square.
    void SetUp() override { clearTo(1.0f); }
    static void clearTo(float level)
    {
        gltest::resetState();
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glOrtho(0.0, kSize, 0.0, kSize, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(level, level, level, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static void expectPixel(int x, int y, int r, int g, int b)
    {
        gltest::Pixel p = gltest::readPixel(x, y);
        EXPECT_TRUE(std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2)
            << x << "," << y << ": " << p.r << " " << p.g << " " << p.b;
    }
};

// A file quad over x0..x1 of the screen: after the loader's swap a file vertex
// (x, y, z) is drawn at (x, z, -y), so the quad lies in the file's xz plane.
assetgen::Mesh3ds panel(const char* name, float x0, float x1)
{
    assetgen::Mesh3ds mesh;
    mesh.name = name;
    mesh.addVertex(x0, 0, 0, 0, 0);
    mesh.addVertex(x1, 0, 0, 1, 0);
    mesh.addVertex(x1, 0, kSize, 1, 1);
    mesh.addVertex(x0, 0, kSize, 0, 1);
    mesh.addTriangle(0, 1, 2);
    mesh.addTriangle(0, 2, 3);
    mesh.groupAll("stone");
    return mesh;
}

Model_3DS modelOf(const std::vector<assetgen::Mesh3ds>& meshes)
{
    std::vector<unsigned char> bytes = assetgen::encode3ds(meshes);
    Model_3DS model;
    std::string error;
    EXPECT_TRUE(model.loadFromBytes(bytes.data(), bytes.size(), error)) << error;
    model.lit = false;
    return model;
}

} // namespace

TEST_F(ModelTextGl, AppliedColoursPaintObjectZeroBlackAndTheOthersPaleElseTheCurrentColourStays)
{
    Model_3DS model = modelOf({panel("backing", 0, 32), panel("letters", 32, 64)});
    model.Draw(true);
    expectPixel(16, 32, 0, 0, 0);
    expectPixel(48, 32, 242, 193, 182); // (0.95, 0.758, 0.715)
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    model.Draw(false);
    expectPixel(16, 32, 0, 255, 0);
    expectPixel(48, 32, 0, 255, 0);
}

TEST_F(ModelTextGl, ATriangleInTwoGroupsIsDrawnTwice)
{
    assetgen::Mesh3ds mesh = panel("twice", 0, 64);
    mesh.groups = {{"stone", {0, 1}}, {"metal", {1}}};
    Model_3DS model = modelOf({mesh});
    clearTo(0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(0.25f, 0.25f, 0.25f, 1.0f);
    model.Draw(false);
    expectPixel(60, 10, 64, 64, 64);   // triangle 0 only (below the diagonal)
    expectPixel(10, 60, 128, 128, 128); // triangle 1, listed in both groups
}

TEST_F(ModelTextGl, AnUngroupedMeshOrAnInvisibleModelDrawsNothingAndTransformsApply)
{
    assetgen::Mesh3ds ungrouped = panel("ungrouped", 0, 64);
    ungrouped.groups.clear();
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    modelOf({ungrouped}).Draw(false);
    expectPixel(32, 32, 255, 255, 255);
    Model_3DS model = modelOf({panel("panel", 0, 16)});
    model.visible = false;
    model.Draw(false);
    expectPixel(8, 32, 255, 255, 255);
    model.visible = true;
    model.pos = {32.0f, 0.0f, 0.0f};
    model.Draw(false);
    expectPixel(8, 32, 255, 255, 255);
    expectPixel(40, 32, 0, 0, 0);
}

TEST_F(ModelTextGl, ReleasingTheOpeningTextDeletesItsTexturesAndTheFontLists)
{
    // The scene loads its files from data/ under the working directory.
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(VELMORA_DATA_DIR).parent_path());
    const DisplaySettings display;
    const Stage stage{gltest::images(), display};
    setupQuotation(stage);
    std::filesystem::current_path(previous);

    GLuint font = fontTexture();
    uint32_t lists = fontBase();
    drawQuotation(stage, {.r = 0.5f, .mode = 0}, {}, {}); // binds the title texture
    GLuint title = static_cast<GLuint>(gltest::getInteger(GL_TEXTURE_BINDING_2D));
    ASSERT_TRUE(glIsTexture(font));
    ASSERT_TRUE(glIsTexture(title));
    ASSERT_NE(font, title);
    ASSERT_TRUE(glIsList(lists));

    releaseQuotation();
    EXPECT_FALSE(glIsTexture(font));
    EXPECT_FALSE(glIsTexture(title));
    EXPECT_FALSE(glIsList(lists));
    EXPECT_EQ(fontTexture(), 0u);

    // What the scene left on for the tests that follow.
    gltest::resetState();
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
