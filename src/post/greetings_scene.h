// Under the greetings: a camera circling low over the bump-mapped ground,
// lit by a point light that follows it, with the ground dust drifting by
// until four fifths of the window.
#pragma once
#include "timeline/window_values.h"

struct FlowField;

// The update moves the dust on while it drifts; each of its spheres moves the
// flow field on a little.
void updateGreetingsScene(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawGreetingsScene(const SceneCall& call, const FrameTime& time, const FlowField& flow);

struct GreetingsCamera {
    Vec3 eye, target;
};
GreetingsCamera greetingsCamera(float r);
