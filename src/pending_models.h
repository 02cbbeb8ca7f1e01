// Stand-ins for the image manager until the graphics foundation is merged; at
// the merge this file goes and its includes point at gfx/image_manager.h.
#pragma once
#include <epoxy/gl.h>

class ImageManager {
public:
    GLuint loadImage(const char* path, bool mipmapped, bool clampToEdge);
    void bind(GLuint texture);
    void beginOrtho(float width, float height);
    void endOrtho();
};
ImageManager& imageManager();
