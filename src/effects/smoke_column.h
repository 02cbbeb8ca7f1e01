// The column of smoke that rises through the mist and stands behind both
// swarms: one particle system on the flow field, and the two smoke pictures
// (the second is the clouds' haze).
#pragma once
#include <epoxy/gl.h>

class ImageManager;

// Loads data/gfx/smoke1.png, then data/gfx/smoke4.png.
void loadSmokePictures(ImageManager& images);
// Configures the column and warms it up by 0.1 s; the warm-up draws from the
// C library's sequence. Needs the pictures.
void setupSmokeColumn();
void releaseSmokePictures();

// The column at (0, height, 0.5), advanced by dt when asked, drawn
// additively with depth writes off. The mist and both swarm scenes draw it.
void drawSmokeColumn(float height, bool advance, float dt);
// The second smoke picture, data/gfx/smoke4.png: the clouds' haze.
GLuint secondSmokeImage();
