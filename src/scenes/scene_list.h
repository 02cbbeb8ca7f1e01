// The one list of the show's parts. A row is a scene (the windows it draws,
// with their looks, its draw and its update) or a shared resource, and either
// may own a start-up step and a shutdown step. Start-up runs the steps in list
// order; shutdown releases the show's content in list order, then the drawing
// tools; a frame draws the windows that hold its time in list order, so the
// last one listed shows. Adding a scene is its own file pair and one row here.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/show_table.h"

// What several rows share: each is made by one row's set-up and read by the
// draws of the rows that name it in uses.
enum Shared : unsigned {
    kShaderPrograms = 1u << 0,
    kQuadric = 1u << 1,
    kProceduralTextures = 1u << 2,
    kSmokeColumn = 1u << 3, // with the smoke pictures, the second of which is the clouds' haze
    kSkyAndGround = 1u << 4,
    kFoggedTerrain = 1u << 5,
    kBeastSwarms = 1u << 6, // the swarms, their skin, paths and beat envelope
    kCreature = 1u << 7,
    kMoonPicture = 1u << 8,
    kBarkMaps = 1u << 9,
    kStairway = 1u << 10,
    kFont = 1u << 11,
};

// One window a row draws, and its look there.
struct SceneWindow {
    Marker marker = Marker::Count;
    Look look = nullptr;
};

struct SceneRow {
    const char* step = nullptr;        // a start-up step, named so in the timedemo; none: no step
    void (*setup)(const Stage& stage) = nullptr; // the step's work (a step may have none: the bar still moves)
    const char* releaseStep = nullptr; // the shutdown step; none: the row releases nothing
    void (*release)() = nullptr;
    bool tool = false;                 // a drawing tool, released after everything drawn with it
    SceneWindow windows[3] = {};       // in the order a frame tests them
    bool firstTwoExclusive = false;    // where its first two windows both hold t, only the first draws
    // The update moves the scene's state and the flow field on for the frame
    // (no GL; none where the scene keeps no state); the draw reads what it left.
    void (*update)(const SceneCall& call, const FrameTime& time, FlowField& flow) = nullptr;
    void (*draw)(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow) = nullptr;
    unsigned makes = 0;                // Shared values its set-up makes
    unsigned uses = 0;                 // Shared values its draw reads
};

extern const std::span<const SceneRow> kSceneList;

// The number of start-up steps, which is the loading bar's total.
int startupStepCount();

// The windows whose composite runs at t, in the order a frame draws them.
std::vector<Marker> compositesAt(int32_t t, const MarkerWindows& windows);
// Every value of a window's composite at t (the window holds t); a window no
// row draws has default values.
WindowValues windowValues(Marker w, int32_t t, const MarkerWindows& windows);
// The window whose picture a frame at time t shows (the last composite in the
// frame's order that holds t), or Marker::Count when none does.
Marker shownWindow(int32_t t, const MarkerWindows& windows);
// Updates the scene of window w, when a row draws one and it has an update.
void updateScene(Marker w, const SceneCall& call, const FrameTime& time, FlowField& flow);
// Draws the scene of window w, when a row draws one.
void drawScene(const Stage& stage, Marker w, const SceneCall& call, const FrameTime& time, const FlowField& flow);
