#include "gfx/lighting.h"

#include <epoxy/gl.h>

void applyLightSetup(const LightSetup& l)
{
    glLightfv(GL_LIGHT0, GL_POSITION, l.position);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, l.modelAmbient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, l.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, l.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, l.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, l.materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, l.materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, l.materialSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, l.shininess);
}
