// The sky creature's mesh, generated at build time by tools/assetgen/creature
// in AnimatedMesh's table layout.
#pragma once

extern const float kCreatureMesh[];
extern const int kCreatureMeshFloats; // entries of kCreatureMesh
