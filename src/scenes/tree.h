// The branch scene: a glowing tree of sprite dots grows out of a chrome wheel,
// splitting four ways at each of its seven levels while it sways in the flow
// field, then shrinks back from its tips. Two shots, each with its own camera
// and tree colour.
#pragma once
#include <epoxy/gl.h>

#include <array>
#include <functional>
#include <vector>

#include "core/vec3.h"
#include "effects/flow_field.h"
#include "scenes/stage.h"
#include "timeline/window_values.h"

// t = call.r, shot = call.mode (0 or 1); the frame clock is not read. Needs no
// set-up and owns nothing. The update moves the flow field the tree sways in.
void updateTree(const SceneCall& call, const FrameTime& time, FlowField& flow);
void drawTree(const Stage& stage, const SceneCall& call, const FrameTime& time, const FlowField& flow);

// One branch from a to b with its dots, then its four sub-branches below it,
// drawn a call and a dot at a time. Leaves the model-view matrix as it found it.
void drawBranch(const Vec3& a, const Vec3& b, float angle, int depth, int fan, float time, float start, float end,
                int count, int variant, const FlowField& flow);
// The chrome wheel: three hub rings, six spokes and the rim, sphere-mapped.
void drawPedestal();
void drawTubeRing(const Vec3& position, const Vec3& colour, float alpha, float innerRadius, float height,
                  float thickness, int slices, int stacks);
void drawSpokes(const Vec3& position, float inner, float outer, float baseRadius, float topRadius, int count,
                int slices, int stacks);

// The arguments of one drawBranch call.
struct Branch {
    Vec3 a, b;
    float angle = 0.0f;
    int depth = 0;
    int fan = 2;
    float time = 0.0f;
    float start = 0.0f;
    float end = 0.0f;
    int count = 0;
    int variant = 0;
};

// The trunk the scene hands the tree at progress t in a shot.
Branch branchTrunk(float t, int shot);
// The four sub-branches of a branch in the order they are drawn (the tree
// draws them only below depth 0 and with fan 2).
std::array<Branch, 4> subBranches(const Branch& parent);
// Every drawBranch call the tree makes, in drawing order.
void walkBranches(const Branch& root, const std::function<void(const Branch&)>& visit);

// A dot as drawn: its centre (flow field applied) and half edge.
struct BranchDot {
    Vec3 centre;
    float half = 0.0f;
};
// The dots one branch draws in the flow field.
std::vector<BranchDot> branchDots(const Branch& branch, const FlowField& flow);
// The half edge of the dots of a branch at depth in a variant.
float branchDotHalf(int depth, int variant);

struct TreeCamera {
    Vec3 eye, target, up;
};
TreeCamera treeCamera(float t, int shot);
