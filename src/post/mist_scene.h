// The mist windows: a camera sweeping over the glowing, fogged terrain
// through a column of smoke; in the fog window two logos appear lit and
// textured, then dissolve into noise through their shader programs.
#pragma once
#include <epoxy/gl.h>

#include "timeline/window_values.h"

struct FlowField;

// Loads the two logo models and their five images, builds the mist beat
// envelope, configures the smoke and warms it up.
void setupLogoScene();
// mode 1: under the mist (sous_la_brume), mode 0: in the fog (dans_le_brouillard).
// The update asks the beat envelope for this frame's pulse and moves the smoke on.
void updateMistScene(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawMistScene(const SceneCall& call, const FrameTime& time, const FlowField& flow);
void releaseLogoScene();

// The terrain's list under black fog; the beast's windows draw it too. fade is not read.
void drawFoggedGrid(float fade);
// The second group's logo (mode 0, 0 < r < 0.25) and the show's (mode 0, 0.35 < r < 0.65).
void drawSilvateLogo(float r, int mode);
void drawShowLogo(float r, int mode, float strength);

// The smoke column, moved to (0, height, 0.5) and advanced by dt when asked,
// then stepped over the flow field as its draw reads it (no GL). The mist and
// both swarm scenes update and draw it.
void updateSmokeColumn(float height, bool advance, float dt, FlowField& flow);
// The smoke column, drawn additively with depth writes off.
void drawSmokeColumn();
// The second smoke picture, data/gfx/smoke4.png: the moon scene's haze.
GLuint secondSmokeImage();

// Where the camera stands and looks, and its up vector, for ramp r, mode and beat value m.
struct MistCamera {
    Vec3 eye, target, up;
};
MistCamera mistCamera(float r, int mode, float m);
