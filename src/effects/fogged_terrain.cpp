#include "effects/fogged_terrain.h"

#include <epoxy/gl.h>

#include "gfx/terrain.h"

void drawFoggedGrid(bool smooth)
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHT0);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_DENSITY, 0.65f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, 60.0f);
    glEnable(GL_FOG);
    if (smooth)
        glEnable(GL_LINE_SMOOTH);
    glCallList(terrainList());
    glDisable(GL_FOG);
    if (smooth)
        glDisable(GL_LINE_SMOOTH);
}
