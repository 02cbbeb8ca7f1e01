// The bark maps: a colour picture (data/gfx/chaos_color.png) and its normal
// map (data/gfx/normal1.jpg), which shade the roots and the greetings ground
// through the bump-mapping program. The roots' set-up loads them.
#pragma once
#include <epoxy/gl.h>

class ImageManager;

void loadBarkMaps(ImageManager& images);
void releaseBarkMaps();
GLuint barkColourMap();
GLuint barkNormalMap();
