#include "scenes/beast.h"

#include <cmath>

#include "core/time_window.h"
#include "effects/flow_field.h"
#include "effects/smoke_column.h"
#include "gfx/camera_path.h"
#include "sound/beat_envelope.h"

namespace {

struct {
    float beat = 0.0f; // the envelope's pulse this frame
} state;

} // namespace

BeastCamera beastCamera(float r, const CameraPath& following)
{
    auto follow = [&following](float u) { return following.sample(u); };
    const double rd = r;
    BeastCamera c;
    if (r < 0.252f) {
        Vec3 p1{static_cast<float>(4.0 * std::cos(5.0 * rd) + 10.0), 15.0f * r + 4.0f,
                static_cast<float>(-12.0 * std::sin(10.0 * rd) - 12.0)};
        Vec3 p2{static_cast<float>(4.0 * std::cos(5.0 * rd) + 8.0), 15.0f * r + 4.0f,
                static_cast<float>(12.0 - 12.0 * std::sin(10.0 * rd))};
        c.eye = lerp(p1, p2, ramp(r, 0.0f, 0.195f));
        c.target = follow(0.95f * r);
    } else if (r < 0.47f) {
        float u = ramp(r, 0.495f, 0.7f);
        c.eye = follow(0.5f * r + 0.3f) + Vec3{static_cast<float>(8.0 * std::sin(5.0 * rd)), -3.0f * r,
                                                 static_cast<float>(18.0 * u - 7.0 + 8.0 * std::cos(10.0 * rd))};
        c.target = follow(0.45f * ramp(r, 0.252f, 0.5f) + 0.15f);
    } else if (r < 0.75f) {
        float v = ramp(r, 0.5f, 1.0f);
        c.eye = follow(1.0f - 0.5f * ramp(r, 0.35f, 0.8f)) +
                Vec3{static_cast<float>((2.5 * rd + 5.5) * std::sin(10.0 * rd)), 12.0f - 18.0f * v,
                     static_cast<float>((9.0 - 8.0 * v) * std::cos(10.0 * rd))};
        c.target = follow(0.9f * r);
    } else if (r < 1.0f) {
        c.eye = {3.0f, 8.0f * r, 10.0f * r};
        c.target = follow(0.3f * r + 0.4f);
    } // at r = 1 eye and target stay at the origin
    return c;
}

void updateBeast(const SceneCall&, const FrameTime& time, FlowField& flow)
{
    state.beat = beastBeats().value(time.musicMs);
    flow.time += 0.01f;
    flow.blend += 0.01f;
    updateSmokeColumn(5.0f, false, 0.0f, flow);
}

void drawBeast(const Stage& stage, const SceneCall& call, const FrameTime&, const FlowField& flow)
{
    const float r = call.r;
    glLoadIdentity();
    const float m = state.beat;
    const CameraPath& following = followingPath();
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    beginSwarmScene(beastCamera(r, following), ambient, stage.display.antiAlias());

    const float q1 = ramp(r, 0.25f, 0.542f);
    const float q2 = ramp(r, 0.55f, 0.85f);
    const std::vector<SwarmCube>& swarm = beastSwarm();
    std::vector<PlacedCube>& placed = placedCubes();
    placed.resize(kSwarmSize);
    for (int i = 0; i < kSwarmSize; ++i) {
        const SwarmCube& c = swarm[i];
        const float f = static_cast<float>(i) / static_cast<float>(kSwarmSize);
        const float w = swarmWave(q1, q2, c);
        float p = r < 0.252f ? r * f * c.jitter + 0.625f * r * (1.0f - f)
                             : r * f * c.jitter + 0.7f * r * (1.0f - f) + 0.075f;
        Vec3 pos = following.sample(p) + c.base;
        pos = pos + flowField(flow, pos, 2) * 0.2f;
        if (i % 2 == 1)
            pos = pos + c.target * (0.5f * w) + flowField(flow, pos, 2) * (2.15f * w);
        else
            pos = pos + c.target * (-0.5f * w) - flowField(flow, pos, 3) * (2.15f * w);
        pos = pos + flowField(flow, pos, 3) * (1.8f * m);
        placed[i] = {pos, w};
    }
    drawSwarm(swarm, placed, r, 0.225f);
    drawSmokeColumn();
}
