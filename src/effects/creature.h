// The pale creature of the sky: the animated mesh generated at build time,
// loaded by the clouds' set-up and flown again by the mushrooms.
#pragma once
class AnimatedMesh;

// Loads the generated table into the mesh (no file, no log).
void loadCreature();
// Frees the mesh's arrays and buffer objects.
void releaseCreature();
AnimatedMesh& creatureMesh();
