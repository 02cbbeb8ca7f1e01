// What one marker window's composite is made of at a given time: the scene
// call, the backdrop, the blur and grading values of the post chain and the
// overlays. Plain values, so that the show table can be checked without GL.
#pragma once
#include <cstdint>
#include <optional>

#include "core/vec3.h"
#include "timeline/marker_table.h"

// The scene's ramp and its variant (shot, camera mode, colour), where it has one.
struct SceneCall {
    float r = 0.0f;
    int mode = 0;
};

// The clocks a scene reads: the music time of the frame and the frame clock's
// elapsed time and delta, for motion that does not follow the music.
struct FrameTime {
    int32_t musicMs = 0;
    float elapsed = 0.0f;
    float delta = 0.0f;
};

// The sky-and-ground backdrop's modes.
enum class BackdropMode { SkyA = 0, SkyAWithFarGround = 1, RootsDome = 2, SkyB = 3 };

struct Backdrop {
    Vec3 colour{1.0f, 1.0f, 1.0f};
    float alpha = 1.0f;
    BackdropMode mode = BackdropMode::SkyA;
    float translateY = 0.0f;       // pre-translation along y
    bool lightingOff = true;       // lighting disabled before the backdrop
    bool lightingOffAfter = false; // and again after it
};

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

struct Overlays {
    std::optional<int> lensFlares; // the variant drawn
    float lensFlaresR = 0.0f;
    std::optional<int> creditsPage;
    float creditsR = 0.0f;
    float flash = 0.0f;    // the roots flash, drawn while > 0
    bool titleWords = false;
    bool glow = false;
    bool greetingNames = false;
    float r = 0.0f;        // the window ramp the words and names follow
};

struct WindowValues {
    Marker window = Marker::Count;
    SceneCall scene;
    std::optional<Backdrop> backdrop;
    BlurValues blur;
    FinalValues final;
    Overlays overlays;
};
