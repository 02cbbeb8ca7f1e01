// The score of the show: called once per frame with the music time, it draws
// every marker window that holds the time and ends the show. The values of
// each window (scene, backdrop, blur, grading, quad, overlays) are a pure
// function of the time, so that the show table can be checked without GL.
#pragma once
#include <cstdint>
#include <vector>

#include "post/post_chain.h"
#include "timeline/marker_table.h"

struct FrameSequencer {
    static void drawFrame(int timeMs);
};

enum class Scene { OpeningText, Mist, Lair, Beast, Moon, Iterations, Roots, Branch, Greetings };

struct SceneCall {
    Scene scene = Scene::OpeningText;
    float r = 0.0f;
    int mode = 0; // for the scenes with variants
};

struct Backdrop {
    bool present = false;
    bool lightingOff = true;       // lighting disabled before the backdrop
    bool lightingOffAfter = false; // and again after it
    float translateY = 0.0f;       // pre-translation along y
    Vec3 colour;
    float alpha = 1.0f;
    int mode = 0;
};

struct Overlays {
    int lensFlares = -1;   // variant, or -1 for none
    float lensFlaresR = 0.0f;
    int creditsPage = -1;  // page, or -1 for none
    float creditsR = 0.0f;
    float flash = 0.0f;    // the roots flash, drawn while > 0
    bool titleWords = false;
    bool glow = false;
    bool greetingNames = false;
    float r = 0.0f;        // the window ramp the words and names follow
    bool quit = false;     // the recall's own end of the show
};

struct WindowValues {
    Window window = Window::Count;
    SceneCall scene;
    Backdrop backdrop;
    BlurValues blur;
    FinalValues final;
    Overlays overlays;
};

// The windows whose composite runs at t, in the order a frame draws them.
std::vector<Window> compositesAt(int32_t t, const MarkerWindows& windows);
// Every value of a window's composite at t (the window holds t).
WindowValues windowValues(Window w, int32_t t, const MarkerWindows& windows);
// Whether a frame at t posts the quit message (the recall past 0.98, or demoend).
bool showEndsAt(int32_t t, const MarkerWindows& windows);

// The four title words and the eight greeted names, as drawn.
extern const char* const kTitleWords[4];
extern const char* const kGreetingNames[8];
// The fade of title word i (0..3) at the roots ramp r.
float titleWordFade(int i, float r);

// The window whose picture a frame at time t shows (the last composite in the
// frame's order that holds t), or Window::Count when none does.
Window shownWindow(int32_t t, const MarkerWindows& windows);
// The name reports use for a window, "none" for Window::Count.
const char* windowReportName(Window w);
