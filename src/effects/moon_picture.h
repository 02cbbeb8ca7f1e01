// The moon, data/gfx/moon.png: loaded by the clouds' set-up, it hangs in the
// clouds' sky and far behind the mushrooms.
#pragma once
#include <epoxy/gl.h>

class ImageManager;

void loadMoonPicture(ImageManager& images);
void releaseMoonPicture();
GLuint moonImage();
