// The one table of the show's parts, in start-up order. Start-up runs the rows'
// set-up steps in table order, shutdown runs their releases in release order,
// and the frame updates and draws each window's scene through the row that
// names the window. Adding a scene is its own file pair and one row here.
#pragma once
#include "timeline/window_values.h"

struct FlowField;

// A window whose scene a row runs: the scene's update, which moves its state
// and the flow field on for the frame (no GL; none where the scene keeps no
// state), and its draw, which reads what the update left.
struct SceneDraw {
    Window window = Window::Count;
    void (*update)(const SceneCall& call, const FrameTime& time, FlowField& flow) = nullptr;
    void (*draw)(const SceneCall& call, const FrameTime& time, const FlowField& flow) = nullptr;
};

struct SceneRow {
    const char* name = nullptr;     // start-up step in the log, on the loading bar and in the timedemo; none: no step
    void (*setup)() = nullptr;      // the step's work (a step may have none: the bar still moves)
    const char* releaseName = nullptr; // the shutdown step; none: the row releases nothing
    void (*release)() = nullptr;    // the shutdown step's work, once its owner holds something
    int releaseOrder = 0;           // the shutdown step's place, 1 first
    SceneDraw draws[3] = {};
};

extern const SceneRow kSceneTable[];
extern const int kSceneRowCount;

// The number of start-up steps, which is the loading bar's total.
int startupStepCount();

// Updates the scene of window w, when a row runs one with an update.
void updateScene(Window w, const SceneCall& call, const FrameTime& time, FlowField& flow);
// Draws the scene of window w, when a row draws one.
void drawScene(Window w, const SceneCall& call, const FrameTime& time, const FlowField& flow);
