#include "effects/ground_plane.h"

#include <epoxy/gl.h>

#include <cmath>
#include <initializer_list>

#include "core/log.h"
#include "core/rng.h"

GroundPlane::GroundPlane()
{
    logWrite(" -> Creation :: GroundPlane instance \n");
}

GroundPlane::~GroundPlane()
{
    cols = 0;
    rows = 0;
    delete[] vertices;
    vertices = nullptr;
    logWrite(" -> Destruction :: GroundPlane instance destroyed \n");
}

void GroundPlane::init(int newCols, int newRows, float falloff, float size, float baseHeight, float texRepeat,
                       float roughness)
{
    cols = newCols;
    rows = newRows;
    count = cols * rows;
    delete[] vertices;
    vertices = new GridVertex[count > 0 ? count : 0];
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            // Both run from -0.5 to 0.5 - 1/n: the grid sits a step off centre.
            float fz = static_cast<float>(r) / static_cast<float>(rows) - 0.5f;
            float fx = static_cast<float>(c) / static_cast<float>(cols) - 0.5f;
            float d = std::sqrt(fx * fx + fz * fz);
            float shade = std::pow((0.5f - d) + (0.5f - d), falloff); // negative beyond the inscribed circle
            GridVertex& v = vertices[r * cols + c];
            v.position.set(fx * size, rng::next() * roughness + baseHeight, fz * size);
            v.texcoord[0] = static_cast<float>(c) / static_cast<float>(cols) * texRepeat;
            v.texcoord[1] = static_cast<float>(r) / static_cast<float>(rows) * texRepeat;
            v.colour.set(shade, shade, shade);
            v.normal.set(0.0f, 1.0f, 0.0f);
        }
    }
    logWrite(" -> Initialisation :: GroundPlane \n");
}

float groundScroll(float seconds, float scrollRate)
{
    return 1000.0f * seconds * scrollRate / 2700.0f;
}

void GroundPlane::draw(float alpha, bool textured, float scrollRate, float seconds) const
{
    if (rows - 1 < 1)
        return;
    float scroll = groundScroll(seconds, scrollRate);
    for (int r = 0; r < rows - 1; ++r) {
        if (textured)
            glEnable(GL_TEXTURE_2D);
        glBegin(GL_TRIANGLE_STRIP);
        for (int c = 0; c < cols; ++c) {
            for (int row : {r, r + 1}) {
                const GridVertex& v = at(row, c);
                glColor4f(v.colour.x, v.colour.y, v.colour.z, alpha);
                glNormal3f(v.normal.x, v.normal.y, v.normal.z);
                glTexCoord2f(v.texcoord[0], v.texcoord[1] - scroll);
                glVertex3f(v.position.x, v.position.y, v.position.z);
            }
        }
        glEnd();
    }
}
