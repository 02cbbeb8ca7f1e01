// The one GLU quadric the scenes draw spheres, cylinders and disks with:
// smooth normals, texture coordinates on.
#pragma once
#include <epoxy/gl.h>
#include <GL/glu.h>

void createQuadric();
void deleteQuadric();
GLUquadric* sharedQuadric();
