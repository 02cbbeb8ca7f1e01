// The opening quotation: lit, textured 3D letters seen by a slowly moving
// camera in two shots. Its set-up also loads the bitmap font that every text
// of the show uses.
#pragma once
#include <epoxy/gl.h>

#include "core/vec3.h"

// Loads the font image and the title texture, builds the font lists and loads
// the title model. A file that cannot be loaded ends the program.
void setupOpeningText();
// t: progress of the shot in [0, 1]; shot 0 or 1.
void drawOpeningText(float t, int shot);
void releaseOpeningText();
// The bitmap font's texture (data/gfx/modern-space.png).
GLuint fontTexture();

// Where the camera stands and looks in a shot; any other shot gives zeros.
struct OpeningCamera {
    Vec3 eye;
    Vec3 target;
};
OpeningCamera openingCamera(float t, int shot);
// Light 0 follows the camera: above and behind it, seen from the target.
void openingLightPosition(const OpeningCamera& camera, float out[4]);
