#include "core/rng.h"

namespace {
const float kPi = 3.141592f; // the show's pi, as a float
}

namespace rng {

namespace {

struct {
    uint32_t value = kInitialState;
} generator;

} // namespace

void seed(uint32_t value)
{
    generator.value = value;
}

uint32_t state()
{
    return generator.value;
}

uint32_t step(uint32_t x)
{
    uint32_t b = x & 1u;
    uint32_t h = x >> 1;
    return 1588635695u * b - 1117695901u * h; // wraps; no correction for a negative difference
}

float next()
{
    generator.value = step(generator.value);
    return static_cast<float>(static_cast<double>(generator.value) / 4294967291.0);
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
