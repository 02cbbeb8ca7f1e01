#include "gfx/quadric.h"

#include "core/log.h"

namespace {
GLUquadric* gQuadric = nullptr;
}

void createQuadric()
{
    gQuadric = gluNewQuadric();
    if (!gQuadric)
        failAndExit("cannot make a GLU quadric (out of memory)");
    gluQuadricTexture(gQuadric, GL_TRUE); // normals stay smooth, the GLU default
}

void deleteQuadric()
{
    if (gQuadric)
        gluDeleteQuadric(gQuadric);
    gQuadric = nullptr;
}

GLUquadric* sharedQuadric()
{
    return gQuadric;
}
