#include "effects/lens_flares.h"

#include <epoxy/gl.h>

#include <cmath>

#include "core/time_window.h"
#include "effects/billboards.h"
#include "gfx/image_manager.h"
#include "gfx/procedural_textures.h"

namespace {

// A chain turning slowly about a vertical axis as t grows, its elements
// spread along a line; x and z offsets place it.
FlareChain moving(FlareChainType type, float b, float t, float x, float z)
{
    float u = 2.0f * t;
    float s = std::sin(u), c = std::cos(u);
    return {type, b,
            {Vec3{32.0f * s + x, 10.0f, z - 20.0f * c} * 0.7f, Vec3{22.0f * s + x, 15.0f, z - 15.0f * c} * 0.7f,
             Vec3{12.0f * s + x, 20.0f, z - 10.0f * c} * 0.7f, Vec3{2.0f * s + x, 25.0f, z - 5.0f * c} * 0.7f}};
}

struct Element {
    bool flare; // else "circle"
    float colour[4];
    float half;
};

void drawChain(const FlareChain& chain, const Vec3& right, const Vec3& up, const Vec3& forward)
{
    const float b = chain.strength;
    Element elements[4];
    switch (chain.type) {
    case FlareChainType::A:
        glBlendFunc(GL_ONE, GL_ONE);
        elements[0] = {true, {b, 0.1f * b, 0.0f, 0.56f * b}, 7.0f};
        elements[1] = {false, {b, 0.1f * b, 0.0f, 0.56f * b}, 3.5f};
        elements[2] = {true, {0.8f * b, 0.4f * b, 0.0f, 0.56f * b}, 3.5f};
        elements[3] = {false, {0.4f * b, 0.8f * b, 0.0f, 5.56f * b}, 4.0f * b + 3.5f};
        break;
    case FlareChainType::B:
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        elements[0] = {true, {b, 0.1f * b, 0.0f, 0.6f * b}, 4.375f};
        elements[1] = {false, {b, 0.1f * b, 0.0f, 0.6f * b}, 3.5f};
        elements[2] = {true, {0.8f * b, 0.4f * b, 0.18f * b, 0.56f * b}, 3.5f};
        elements[3] = {false, {0.4f * b, 0.8f * b, 0.0f, 5.56f * b}, 4.0f * b + 3.5f};
        break;
    case FlareChainType::C:
        glBlendFunc(GL_ONE, GL_ONE);
        elements[0] = {false, {0.4f * b, 0.1f * b, 0.85f * b, 0.56f * b}, 10.5f};
        elements[1] = {false, {0.4f * b, 0.1f * b, 0.85f * b, 0.56f * b}, 5.25f};
        elements[2] = {true, {0.2f * b, 0.4f * b, 0.0f, 0.56f * b}, 3.5f};
        elements[3] = {false, {0.4f * b, 0.8f * b, 0.0f, 5.56f * b}, 2.0f * b + 3.5f};
        break;
    }
    for (int k = 0; k < 4; ++k) {
        const Element& e = elements[k];
        ImageManager::bind(e.flare ? proceduralTextures().flare : proceduralTextures().circle);
        glColor4fv(e.colour);
        drawBillboard(chain.positions[k], right, up, forward, e.half);
    }
}

} // namespace

std::vector<FlareChain> lensFlareChains(float t, int variant)
{
    std::vector<FlareChain> chains;
    auto bumpOf = [t](float a, float c) { return bump(t, a, c, 1.5f); };
    switch (variant) {
    case 0:
        if (t > 0.25f && t < 0.65f)
            chains.push_back(moving(FlareChainType::A, bumpOf(0.25f, 0.42f), t, -10.0f, 25.0f));
        if (t > 0.65f)
            chains.push_back(moving(FlareChainType::B, bumpOf(0.64f, 0.885f), t, -20.0f, -5.0f));
        break;
    case 1:
        if (t > 0.25f && t < 0.65f)
            chains.push_back(moving(FlareChainType::A, bumpOf(0.35f, 0.45f), t, -10.0f, 25.0f));
        if (t > 0.65f)
            chains.push_back(moving(FlareChainType::B, bumpOf(0.75f, 0.885f), t, -34.0f, -5.0f));
        break;
    case 2:
        if (t > 0.26f && t < 0.4625f)
            chains.push_back({FlareChainType::A, bumpOf(0.28f, 0.385f),
                              {{0.0f, 8.0f, -20.0f}, {5.0f, 12.0f, -20.0f}, {10.0f, 15.0f, -20.0f}, {15.0f, 20.0f, -20.0f}}});
        break;
    case 3:
        if (t > 0.25f && t < 0.3f)
            chains.push_back({FlareChainType::C, bumpOf(0.25f, 0.28f),
                              {{-12.0f, 35.0f, -5.0f}, {-12.0f, 40.0f, -3.5f}, {-12.0f, 45.0f, -1.5f}, {-12.0f, 50.0f, 0.5f}}});
        break;
    default:
        break;
    }
    return chains;
}

void drawLensFlares(float t, int variant)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    glDepthMask(GL_FALSE);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    Vec3 right, up, forward;
    getCameraBasis(right, up, forward);
    for (const FlareChain& chain : lensFlareChains(t, variant))
        drawChain(chain, right, up, forward);
    glDepthMask(GL_TRUE);
}
