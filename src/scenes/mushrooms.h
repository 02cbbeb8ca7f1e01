// The mushrooms: three bump-mapped mushrooms under the moon, four streams of
// sparks climbing the stairways and, in the first fifth, four glowing
// creatures sweeping past, seen in four shots.
#pragma once
#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// The update moves the flow field the sparks ride on.
void updateMushrooms(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawMushrooms(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);

struct MushroomsCamera {
    Vec3 eye, centre;
};
// The four shots by r; at r >= 1 eye and centre stay at the origin.
MushroomsCamera mushroomsCamera(float r);

// Where the sparks of one stairway climb: the record's ramp plus its lead,
// and the path parameter it reaches at f = i / 1024. Drawn only above 0.
struct SparkPlace {
    float a;
    float along;
};
SparkPlace sparkPlace(float r, float start, float end, float lead, float f);

// The creatures' flight: copy k (0-3) at s = ramp(r, 0, 0.2).
Vec3 creatureSweep(int k, float s);
