// The chain every scene goes through on its way to the screen: the scene into
// SceneTarget, its brightness as depth into DepthTarget, a blur (with an
// optional outline) into BlurTarget, and a depth-of-field and grading pass
// onto the window through a plain, zooming or mirrored full-screen quad.
#pragma once
#include <cstdint>
#include <functional>

#include "gfx/vec3.h"

class FrameBuffer;

struct BlurValues {
    float outline = 0.0f; // 1 draws the tinted outline
    Vec3 tint{1.0f, 1.0f, 1.0f}; // m_r, m_g, m_b
    float strength[2] = {0.0f, 0.0f}; // blur share, outline share
};

enum class FinalQuad { Plain, Zoom, Mirror };

struct FinalValues {
    float saturation = 0.0f;
    float godrayintensity = 0.0f;
    Vec3 ambientCol{1.0f, 1.0f, 1.0f};
    float bias = 0.0f;
    float focus = 0.0f;
    float alpha = 0.0f; // the window's fade from and to black
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // current colour, steers the caustic
    FinalQuad quad = FinalQuad::Plain;
    float amount = 0.0f; // zoom amount, or mirror angle in degrees
};

// Runs the whole chain once; drawScene draws the scene and its backdrop into
// the bound SceneTarget. Leaves texture unit 0 active and no program in use.
void runPostChain(const std::function<void()>& drawScene, const BlurValues& blur, const FinalValues& final);
