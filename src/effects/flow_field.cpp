#include "effects/flow_field.h"

#include <cmath>

namespace {

Vec3 field(const Vec3& p, int k, float t)
{
    const float x = p.x, y = p.y, z = p.z;
    switch (k) {
    case 0:
        return {0.4f * std::sin(x + 0.5f * y + 1.5f * z + 2.3f * t), 0.7f * std::sin(0.5f * x + y + 0.15f * z + 3.3f * t),
                0.5f * std::sin(0.85f * x - y + 0.8f * z + 1.5f * t)};
    case 1:
        return {0.3f * std::sin(1.5f * x + 0.5f * y + 0.5f * z + 2.3f * t), 0.5f * std::sin(0.75f * x + y - z + 3.3f * t),
                0.3f * std::sin(x - 1.55f * y + 1.3f * z + 1.5f * t)};
    case 2:
        return {0.4f * std::sin(0.5f * x - 1.5f * y - 1.5f * z + 2.3f * t), 0.3f * std::sin(x + 0.5f * y + z + 3.3f * t),
                0.6f * std::sin(1.5f * x + 1.2f * y - 1.3f * z + 1.5f * t)};
    case 3:
        return {0.4f * std::sin(1.25f * x + y + 1.1f * z + 2.3f * t),
                0.7f * std::sin(0.85f * x - 1.25f * y + 0.75f * z + 3.3f * t),
                0.5f * std::sin(1.05f * x - 1.8f * y + 0.8f * z + 1.5f * t)};
    default:
        return Vec3::zero();
    }
}

} // namespace

Vec3 flowField(const FlowField& flow, const Vec3& p, int k)
{
    if (flow.blend >= 0.99999f)
        return field(p, k, flow.time);
    if (k < 0 || k > 3)
        return Vec3::zero();
    int previous = k == 0 ? 3 : k - 1;
    return field(p, k, flow.time) * flow.blend + field(p, previous, flow.time) * (1.0f - flow.blend);
}
