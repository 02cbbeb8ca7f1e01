// Off-screen render targets: an RGBA colour texture that later passes sample
// and a depth renderbuffer so that 3D scenes draw into them with depth testing.
#pragma once
#include <epoxy/gl.h>

#include <cstdint>

#include "core/display_settings.h"

class FrameBuffer {
public:
    // Makes the GL objects; a framebuffer the driver cannot complete ends the program.
    void create(int32_t width, int32_t height);
    // Draws into this target from now on: attaches, sets its viewport, clears.
    void bind();
    // Draws into the window again: clears it and restores the window's viewport.
    static void unbind(const Viewport& window);
    // Binds the colour texture on the active unit (texturing is not enabled).
    void bindColorTexture();
    // Deletes the GL objects and writes the destruction line.
    ~FrameBuffer();

    GLuint colorTexture = 0;
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The four targets in creation order: the scene (window-sized), the depth
// reading (512 x 512), the blur (window-sized) and a spare (512 x 512).
// They exist, empty, before the window opens; start-up creates their GL objects.
void allocateFrameBuffers();
FrameBuffer* sceneTarget();
FrameBuffer* depthTarget();
FrameBuffer* blurTarget();
FrameBuffer* spareTarget();
// Creates the four at their sizes for a window of width x height (start-up).
void createFrameBuffers(int32_t windowWidth, int32_t windowHeight);
// Destroys them in the order first, fourth, second, third (shutdown).
void destroyFrameBuffers();
