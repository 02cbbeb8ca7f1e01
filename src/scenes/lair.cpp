#include "scenes/lair.h"

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

BeastCamera lairCamera(float r, const CameraPath& tracking)
{
    const double rd = r;
    BeastCamera c;
    if (r < 0.262f) {
        c.eye = tracking.sample(0.33f - 0.15f * r) + Vec3{3.5f, 1.5f, 12.0f * ramp(r, 0.0f, 0.26f) - 10.5f};
    } else if (r < 0.75f) {
        Vec3 q1{static_cast<float>(4.0 * std::cos(5.0 * rd) + 10.0), 15.0f * r + 4.0f,
                static_cast<float>(-12.0 * std::sin(10.0 * rd) - 12.0)};
        Vec3 q2{static_cast<float>(2.0 * std::sin(5.0 * rd)), 15.0f - 3.0f * r, 18.0f * ramp(r, 0.495f, 0.7f) - 7.0f};
        c.eye = lerp(q1, q2, ramp(r, 0.282f, 0.68f));
    } else if (r < 1.0f) {
        c.eye = {-4.5f, 12.0f * ramp(r, 0.75f, 1.0f) + 10.0f, -8.0f};
    } // at r = 1 the eye stays at the origin
    c.target = tracking.sample(r);
    return c;
}

void updateLair(const SceneCall& call, const FrameTime& time, FlowField& flow)
{
    state.beat = beastBeats().value(time.musicMs);
    flow.time += 0.015f;
    flow.blend += 0.01f;
    // The smoke moves early in the window, then stands where it is.
    updateSmokeColumn(5.0f, call.r < 0.12f, time.delta, flow);
}

void drawLair(const Stage& stage, const SceneCall& call, const FrameTime&, const FlowField& flow)
{
    const float r = call.r;
    glLoadIdentity();
    const float m = state.beat;
    const CameraPath& tracking = trackingPath();
    const float ambient[4] = {0.15f, 0.25f, 0.35f, 1.0f};
    beginSwarmScene(lairCamera(r, tracking), ambient, stage.display.antiAlias());

    const std::vector<SwarmCube>& swarm = lairSwarm();
    std::vector<PlacedCube>& placed = placedCubes();
    placed.resize(kSwarmSize);
    const float q1 = ramp(r, 0.322f, 0.58f);
    const float q2 = ramp(r, 0.62f, 0.82f);
    for (int i = 0; i < kSwarmSize; ++i) {
        const SwarmCube& c = swarm[i];
        const float f = static_cast<float>(i) / static_cast<float>(kSwarmSize);
        const float w = swarmWave(q1, q2, c);
        float p = 0.75f * r * (1.0f - f) + 0.075f + r * f * c.jitter;
        Vec3 pos = tracking.sample(p) + c.base;
        Vec3 shake = flowField(flow, pos, 2);
        pos = pos + shake * (2.8f * m) + shake * 0.05f;
        Vec3 field = flowField(flow, pos, i % 3);
        if (i % 2 == 1)
            pos = pos + c.target * (1.15f * w) + field * (0.85f * w);
        else
            pos = pos + c.target * (-1.15f * w) - field * (0.85f * w);
        placed[i] = {pos, w};
    }
    drawSwarm(swarm, placed, r, 0.185f);
    drawSmokeColumn();
}
