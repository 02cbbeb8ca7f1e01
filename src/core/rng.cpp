#include "core/rng.h"

namespace {
const float kPi = 3.141592f; // the show's pi, as a float
}

namespace rng {

namespace {
uint32_t gState = kInitialState;
}

void seed(uint32_t value)
{
    gState = value;
}

uint32_t state()
{
    return gState;
}

uint32_t step(uint32_t x)
{
    uint32_t b = x & 1u;
    uint32_t h = x >> 1;
    return 1588635695u * b - 1117695901u * h; // wraps; no correction for a negative difference
}

float next()
{
    gState = step(gState);
    return static_cast<float>(static_cast<double>(gState) / 4294967291.0);
}

} // namespace rng

Vec3 randomSpherePoint(float r)
{
    float u1 = rng::next();
    float u2 = rng::next();
    float theta = u2 * kPi;
    float phi = 2.0f * u1 * kPi;
    return spherePoint(r, theta, phi);
}

Vec3 randomInCube(float s)
{
    float u1 = rng::next();
    float u2 = rng::next();
    float u3 = rng::next();
    return {(u1 - 0.5f) * s, (u2 - 0.5f) * s, (u3 - 0.5f) * s};
}

Vec3 randomInBox(float sx, float sy, float sz)
{
    float u1 = rng::next();
    float u2 = rng::next();
    float u3 = rng::next();
    return {(2.0f * u3 - 1.0f) * sx, (2.0f * u2 - 1.0f) * sy, (2.0f * u1 - 1.0f) * sz};
}
