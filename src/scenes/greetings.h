// Under the greetings: a camera circling low over the bump-mapped ground,
// lit by a point light that follows it, with the ground dust drifting by
// until four fifths of the window.
#pragma once
#include "timeline/window_values.h"

void drawGreetingsScene(const SceneCall& call, const FrameTime& time);

struct GreetingsCamera {
    Vec3 eye, target;
};
GreetingsCamera greetingsCamera(float r);
