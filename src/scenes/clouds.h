// The clouds: a violet, fogged night with four pale creatures writhing in the
// sky, black mounds with glowing pink crests sliding towards the viewer, a
// rising blue haze and the moon. Its set-up also loads the creature and the
// moon picture, which the mushrooms show again.
#pragma once
#include <vector>

#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

constexpr int kMoundGridWidth = 76;
constexpr int kMoundGridHeight = 76;
constexpr int kMoundCount = 20;

struct MoundVertex {
    Vec3 position;
    float spare = 0.0f;
};

struct Mound {
    Vec3 position;
    float scale = 0.0f;
    float speed = 0.0f; // model units per window, towards the viewer
};

// The mounds' height grid (row-major, row * width + column), the bump
// centres it was raised from and the twenty placed copies.
struct CloudsGround {
    Vec3 centres[5];
    std::vector<MoundVertex> grid;
    Mound mounds[kMoundCount];
};

// Reseeds the program's generator with 52326, then draws the centres, the
// grid and the mounds in that order (no GL).
CloudsGround buildCloudsGround();

// The creature, the moon, the haze (warmed up by 3 s), then the ground.
// Needs the smoke pictures: the haze is the second.
void setupClouds(const Stage& stage);
// The update moves the haze on by the frame's step.
void updateClouds(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawClouds(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);
// The mounds' lists, the moon picture, the grid and the creature.
void releaseClouds();

struct CloudsCamera {
    Vec3 eye, target, up;
};
// The drifting view at progress p, tilted between 0.35 and 0.65.
CloudsCamera cloudsCamera(float p);

// Where mound k lies along z at progress p; it is drawn only below 140.
float moundDepth(const Mound& mound, float p);
