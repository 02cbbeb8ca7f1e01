// The clouds: a violet, fogged night with four pale creatures writhing in the
// sky, black mounds with glowing pink crests sliding towards the viewer, a
// rising blue haze and the moon. Its set-up also loads the creature mesh and
// the moon picture that the mushroom scene shows again.
#pragma once
#include <epoxy/gl.h>

#include <vector>

#include "core/vec3.h"
#include "timeline/window_values.h"

struct FlowField;

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
struct MoonGround {
    Vec3 centres[5];
    std::vector<MoundVertex> grid;
    Mound mounds[kMoundCount];
};

// Reseeds the program's generator with 52326, then draws the centres, the
// grid and the mounds in that order (no GL).
MoonGround buildMoonGround();

// The creature mesh, the moon, the haze (warmed up by 3 s), then the ground.
// Needs the logo scene's set-up: the haze is its second smoke picture.
void setupMoonScene();
// The update moves the haze on by the frame's step.
void updateMoonScene(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawMoonScene(const SceneCall& call, const FrameTime& time, const FlowField& flow);
// The mounds' lists, the moon picture, the grid and the mesh's arrays.
void releaseMoonScene();

GLuint moonImage();

struct MoonCamera {
    Vec3 eye, target, up;
};
// The drifting view at progress p, tilted between 0.35 and 0.65.
MoonCamera moonCamera(float p);

// Where mound k lies along z at progress p; it is drawn only below 140.
float moundDepth(const Mound& mound, float p);
