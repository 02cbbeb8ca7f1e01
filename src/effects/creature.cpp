#include "effects/creature.h"

#include "gfx/animated_mesh.h"
#include "gfx/creature_mesh.h"

namespace {

struct {
    AnimatedMesh mesh;
} state;

} // namespace

void loadCreature()
{
    state.mesh.load(kCreatureMesh);
}

void releaseCreature()
{
    state.mesh.release();
}

AnimatedMesh& creatureMesh()
{
    return state.mesh;
}
