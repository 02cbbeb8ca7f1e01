// The animated mesh draws through vertex arrays; the pictures must be those of
// sending every corner one call at a time, as the mesh's drawing is defined.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/animated_mesh.h"
#include "gfx/creature_mesh.h"
#include "gl/gl_context.h"

using namespace gltest;

namespace {

// The definition: per face, the face normal at frame i in mode 1; per corner
// the blended position, the texture coordinate and, in other modes, the
// vertex's normal (the unit tests pin it to the average of its face normals).
void drawOneCornerAtATime(AnimatedMesh& mesh, float position, int mode)
{
    mesh.setTime(position);
    const int i = static_cast<int>(mesh.time);
    const float frac = mesh.time - static_cast<float>(i);
    const int K = mesh.frameCount;
    const float* a = mesh.table + mesh.frameDataStart + 3 * mesh.vertexCount * i;
    const float* b = a + 3 * mesh.vertexCount;
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < mesh.faceCount; ++f) {
        if (mode == 1)
            glNormal3f(mesh.faceNormal[0][size_t(f) * K + i], mesh.faceNormal[1][size_t(f) * K + i],
                       mesh.faceNormal[2][size_t(f) * K + i]);
        for (int c = 0; c < 3; ++c) {
            const int w = mesh.faceVertex[3 * f + c];
            float p[3];
            for (int j = 0; j < 3; ++j)
                p[j] = a[3 * w + j] + (b[3 * w + j] - a[3 * w + j]) * frac;
            glTexCoord2f(mesh.faceU[3 * f + c], mesh.faceV[3 * f + c]);
            if (mode != 1)
                glNormal3fv(mesh.vertexNormal(i, w));
            glVertex3fv(p);
        }
    }
    glEnd();
}

// A lit, textured, depth-tested view of the creature filling the window, as
// the sky scenes set it up; normalise on to make small normal errors show.
void setUpView(bool normalise)
{
    resetState();
    glClearColor(0.1f, 0.0f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-0.8, 0.8, -0.6, 0.6, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    const float lightPosition[4] = {1.0f, 2.0f, 3.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glTranslatef(0.0f, 0.0f, -9.0f);
    glRotatef(180.0f, -1.0f, 0.0f, 0.0f);
    glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
    glScalef(3.5f, 3.5f, 3.5f);
    glTranslatef(0.0f, 0.6f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    (normalise ? glEnable : glDisable)(GL_NORMALIZE);
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.4f, 0.4f, 0.5f, 1.0f);
}

std::vector<uint8_t> readWindow()
{
    std::vector<uint8_t> pixels(640 * 480 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int pixelsDiffering(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    int n = 0;
    for (size_t k = 0; k < a.size(); k += 4)
        n += a[k] != b[k] || a[k + 1] != b[k + 1] || a[k + 2] != b[k + 2];
    return n;
}

} // namespace

TEST(AnimatedMeshGl, ArrayDrawIsByteIdenticalToCornerByCornerInBothModes)
{
    ensureContext();
    AnimatedMesh mesh;
    mesh.load(kCreatureMesh);
    ASSERT_GT(mesh.faceCount, 0);
    // A noisy texture, so that a wrong texture coordinate changes pixels.
    std::vector<uint32_t> texels(64 * 64);
    uint32_t x = 12345;
    for (uint32_t& t : texels) {
        x = x * 1103515245u + 12345u;
        t = 0xff000000u | ((x >> 8) & 0x00ffffffu);
    }
    GLuint texture = makeTexture(64, 64, texels);

    std::vector<uint8_t> background;
    for (bool normalise : {false, true}) {
        std::vector<uint8_t> smoothPicture, flatPicture;
        for (int mode : {0, 1}) {
            for (float position : {0.0f, 3.25f, 9.5f, 87.6f}) {
                SCOPED_TRACE(testing::Message() << "mode " << mode << " at " << position
                                                << (normalise ? ", normalised" : ""));
                setUpView(normalise);
                if (background.empty())
                    background = readWindow();
                drawOneCornerAtATime(mesh, position, mode);
                std::vector<uint8_t> reference = readWindow();
                GLfloat referenceNormal[4], referenceTexCoord[4];
                glGetFloatv(GL_CURRENT_NORMAL, referenceNormal);
                glGetFloatv(GL_CURRENT_TEXTURE_COORDS, referenceTexCoord);

                setUpView(normalise);
                mesh.draw(position, mode);
                std::vector<uint8_t> fast = readWindow();
                GLfloat normal[4], texCoord[4];
                glGetFloatv(GL_CURRENT_NORMAL, normal);
                glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);

                // The creature covers a good part of the window ...
                EXPECT_GT(pixelsDiffering(reference, background), 10000);
                // ... and the array draw gives every byte of it unchanged.
                EXPECT_EQ(pixelsDiffering(fast, reference), 0);
                for (int j = 0; j < 3; ++j)
                    EXPECT_EQ(normal[j], referenceNormal[j]);
                for (int j = 0; j < 2; ++j)
                    EXPECT_EQ(texCoord[j], referenceTexCoord[j]);
                for (GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
                    EXPECT_FALSE(glIsEnabled(array)) << array;
                if (position == 3.25f)
                    (mode == 1 ? flatPicture : smoothPicture) = fast;
            }
        }
        // The normals reach the picture: flat and smooth shading differ.
        if (normalise) {
            EXPECT_GT(pixelsDiffering(smoothPicture, flatPicture), 1000);
        }
    }
    for (GLenum capability : {GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL, GL_NORMALIZE, GL_DEPTH_TEST, GL_TEXTURE_2D})
        glDisable(capability);
    glDeleteTextures(1, &texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
