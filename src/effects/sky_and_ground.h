// The backdrop of the outdoor scenes: a textured sky dome (two skies or the
// roots) and, in the clouds, the far ground flowing beneath it.
#pragma once
#include "core/vec3.h"
#include "timeline/window_values.h"

class GroundPlane;
class ImageManager;

// Loads the roots, the two skies and the ground, builds the far ground and
// the dome list. Needs the image manager and the shared quadric. The far
// ground's heights draw from the program's generator.
void setupSkyAndGround(ImageManager& images);

// Mode 0: sky A; 1: sky A with the far ground; 2: the roots dome; 3: sky B.
// Only position.z is used; seconds is the frame clock's elapsed time, which
// scrolls the far ground. Leaves blending (additive), texturing and the depth test on.
void drawSkyAndGround(const Vec3& tint, float alpha, const Vec3& position, int mode, float seconds);

// A window's backdrop: lighting as it asks, its y shift, then drawSkyAndGround.
void drawBackdrop(const Backdrop& backdrop, float seconds);

GroundPlane* farGround();

// The images, the dome list and the far ground.
void releaseSkyAndGround();
