// Under the greetings: a camera circling low over the bump-mapped ground,
// lit by a point light that follows it, with the ground dust drifting by
// until four fifths of the window.
#pragma once
#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// Builds the near ground, then configures the ground dust. Both draw from the
// shared generators, after the far ground of the sky, so that order fixes
// their heights.
void setupGreetings(const Stage& stage);
// The update moves the dust on while it drifts; each of its spheres moves the
// flow field on a little.
void updateGreetings(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawGreetings(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);
// The near ground.
void releaseGreetings();

struct GreetingsCamera {
    Vec3 eye, target;
};
GreetingsCamera greetingsCamera(float r);
