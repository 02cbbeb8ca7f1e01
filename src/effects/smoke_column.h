// The column of smoke that rises through the mist and stands behind both
// swarms: one particle system on the flow field, and the two smoke pictures
// (the second is the clouds' haze).
#pragma once
#include <epoxy/gl.h>

struct FlowField;

class ImageManager;

// Loads data/gfx/smoke1.png, then data/gfx/smoke4.png.
void loadSmokePictures(ImageManager& images);
// Configures the column and warms it up by 0.1 s; the warm-up draws from the
// C library's sequence. Needs the pictures.
void setupSmokeColumn();
void releaseSmokePictures();

// The column, moved to (0, height, 0.5) and advanced by dt when asked, then
// stepped over the flow field as its draw reads it (no GL). The mist and both
// swarm scenes update and draw it.
void updateSmokeColumn(float height, bool advance, float dt, FlowField& flow);
// The column, drawn additively with depth writes off.
void drawSmokeColumn();
// The second smoke picture, data/gfx/smoke4.png: the clouds' haze.
GLuint secondSmokeImage();
