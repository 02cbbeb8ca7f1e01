// Under the greetings: a camera circling low over the bump-mapped ground,
// lit by a point light that follows it, with the ground dust drifting by
// until four fifths of the window.
#pragma once
#include "core/vec3.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// Builds the near ground, then configures the ground dust. Both draw from the
// shared generators, after the far ground of the sky, so that order fixes
// their heights.
void setupGreetings(const Stage& stage);
void drawGreetings(const Stage& stage, const SceneCall& call, const FrameTime& time);
// The near ground.
void releaseGreetings();

struct GreetingsCamera {
    Vec3 eye, target;
};
GreetingsCamera greetingsCamera(float r);
