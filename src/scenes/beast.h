// The beast: the beast swarm strung along "following the beast", thrown
// outward by waves that run along it, shaken by the flow field and kicked on
// every beat, while the camera flies round it in four shots.
#pragma once
#include "effects/beast_swarms.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

void drawBeast(const Stage& stage, const SceneCall& call, const FrameTime& time);

// The beast scene's four shots along "following the beast".
BeastCamera beastCamera(float r, const CameraPath& following);
