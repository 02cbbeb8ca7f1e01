// The beast: the beast swarm strung along "following the beast", thrown
// outward by waves that run along it, shaken by the flow field and kicked on
// every beat, while the camera flies round it in four shots.
#pragma once
#include "effects/beast_swarms.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// The update asks the beat envelope for this frame's pulse and moves the flow
// field on; the smoke stands where the lair left it.
void updateBeast(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawBeast(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);

// The beast scene's four shots along "following the beast".
BeastCamera beastCamera(float r, const CameraPath& following);
