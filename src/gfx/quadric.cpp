#include "gfx/quadric.h"

#include "core/log.h"

namespace {

struct {
    GLUquadric* quadric = nullptr;
} state;

} // namespace

void createQuadric()
{
    state.quadric = gluNewQuadric();
    if (!state.quadric)
        failAndExit("cannot make a GLU quadric (out of memory)");
    gluQuadricTexture(state.quadric, GL_TRUE); // normals stay smooth, the GLU default
}

void deleteQuadric()
{
    if (state.quadric)
        gluDeleteQuadric(state.quadric);
    state.quadric = nullptr;
}

GLUquadric* sharedQuadric()
{
    return state.quadric;
}
