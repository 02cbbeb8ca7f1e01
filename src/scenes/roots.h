// The roots: six tubes that grow out of the ground along coiling paths,
// tapering, wobbling in the flow field and lit by a glow that runs up them,
// seen through the bump-mapping program by a camera that climbs beside them,
// upside down at first. Its set-up also loads the bark maps, which shade the
// greetings ground too.
#pragma once
#include <array>

#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

class CameraPath;

// One root's tube: 128 rings of 32 sides, recomputed at every draw.
struct RootTube {
    explicit RootTube(float baseRadius);
    int rings = 128;
    int sides = 32;
    float radius;
    std::array<float, 129> texOffset{};
    std::array<float, 129> ringRadius{};
    std::array<Vec3, 129> ringCentre{};
};

// Loads the bark colour and normal maps, creates "root path 1" to "root path 6"
// and fills them.
void setupRoots(const Stage& stage);
// The update moves the flow field the roots wobble in.
void updateRoots(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawRoots(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);
// The six paths and the two pictures.
void releaseRoots();

// Appends the six paths' 132 points each, in order (no GL, no log).
void addRootPoints(CameraPath* paths[6]);
// Recomputes the tube's rings and, unless ring 20 lies at or below cut.y,
// draws it as one quad strip. growth <= 0 draws nothing and changes no state.
void drawRoot(RootTube& tube, float growth, const CameraPath& path, int field, const Vec3& cut, float t,
              const Vec3& glowWindow, bool tapered, const FlowField& flow);
// The rings drawRoot would draw (no GL); false when growth <= 0.
bool computeRootRings(RootTube& tube, float growth, const CameraPath& path, int field, const Vec3& glowWindow,
                      float t, bool tapered, const FlowField& flow);
// The colour of ring pair j: grey 0.85 without glow or swell.
Vec3 rootRingColour(float growth, float t, const Vec3& glowWindow, int j);

struct RootsCamera {
    Vec3 eye, target, up;
};
RootsCamera rootsCamera(float r, const CameraPath& path1, const CameraPath& path2, const CameraPath& path3);
