// The mist windows: a camera sweeping over the glowing, fogged terrain
// through a column of smoke; in the fog window two logos appear lit and
// textured, then dissolve into noise through their shader programs.
#pragma once
#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// Loads the two logo models and their five images (the smoke's two among
// them), builds the mist beat envelope, reseeds the program's generator with
// 1091059 and sets up the smoke column.
void setupMist(const Stage& stage);
// mode 1: under the mist (sous_la_brume), mode 0: in the fog (dans_le_brouillard).
// The update asks the beat envelope for this frame's pulse and moves the smoke on.
void updateMist(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawMist(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);
void releaseMist();

// The second group's logo (mode 0, 0 < r < 0.25) and the show's (mode 0, 0.35 < r < 0.65).
void drawSilvateLogo(float r, int mode);
void drawShowLogo(float r, int mode, float strength);

// Where the camera stands and looks, and its up vector, for ramp r, mode and beat value m.
struct MistCamera {
    Vec3 eye, target, up;
};
MistCamera mistCamera(float r, int mode, float m);
