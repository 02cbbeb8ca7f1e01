// Where the beast lies: the lair swarm strung along "tracking the beast",
// seen from a camera riding the path and then from two fixed shots, while a
// wave runs through it and the beat swells its shaking.
#pragma once
#include "effects/beast_swarms.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// The update asks the shared beat envelope for this frame's pulse, moves the
// flow field on and the smoke early in the window.
void updateLair(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawLair(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);
// The lair's camera along "tracking the beast".
BeastCamera lairCamera(float r, const CameraPath& tracking);
