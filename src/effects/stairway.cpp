#include "effects/stairway.h"

#include "core/rng.h"
#include "gfx/camera_path.h"
#include "gfx/image_manager.h"
#include "gfx/model_3ds.h"

namespace {

struct {
    Model_3DS models[3];
    StairwayImages images{};
    CameraPath paths[kStairwayCount];
    StairSprite sparks[kStairwayCount][kSparksPerStairway];
} state;

const char* const kPathNames[kStairwayCount] = {"stairway to heaven", "stairway to heaven 2",
                                                "stairway to heaven 3", "stairway to heaven 4"};

Vec3 curve(float r, float a, int kind)
{
    Vec3 p;
    curvePoint(r, a, kind, p);
    return p;
}

// Per stairway: the spark colour (stairway 1 fades along f), the start and end
// of the climb and the lead's scale; the three windows run 0.05 wide.
struct SparkStyle {
    float startFrom, endFrom, leadScale;
};
const SparkStyle kStyles[kStairwayCount] = {
    {0.165f, 0.8f, 0.015f}, {0.0f, 0.652f, 0.015f}, {0.35f, 0.852f, 0.01f}, {0.15f, 0.882f, 0.01f}};

Vec3 sparkColour(int k, float f)
{
    switch (k) {
    case 0: return {f, 0.45f * f, 1.0f - f};
    case 1: return {0.14f, 1.0f, 0.35f};
    case 2: return {0.94f, 0.5f, 0.35f};
    default: return {0.5f, 0.7f, 0.95f};
    }
}

} // namespace

void buildStairways(CameraPath paths[kStairwayCount], StairSprite sparks[kStairwayCount][kSparksPerStairway])
{
    const Vec3 firstPoints[kStairwayCount] = {{0.0f, 0.0f, 0.0f}, {-15.0f, 5.0f, -45.0f}, {-35.0f, 0.0f, -12.0f},
                                              {15.0f, 5.0f, -10.0f}};
    for (int k = 0; k < kStairwayCount; ++k) {
        paths[k].create(kPathNames[k]);
        paths[k].addPoint(firstPoints[k]);
    }
    for (int i = 0; i < kSparksPerStairway; ++i) {
        const float f = static_cast<float>(i) * 0.0009765625f;
        const float a = 2.0f * f * 3.1415927f;
        // Kind 6 is a tangent curve: near a quarter turn its points fly far off.
        paths[0].addPoint(curve(15.0f * f, a, 6) + Vec3{0.0f, 20.0f * f, 0.0f});
        paths[1].addPoint(curve(15.0f * f, a, 7) + Vec3{0.0f, 20.0f * f, 0.0f} + Vec3{-15.0f, -5.0f, -45.0f});
        paths[2].addPoint(curve(12.0f * f, a, 7) + Vec3{0.0f, 5.0f * f, 0.0f} + Vec3{-35.0f, 0.0f, -10.0f});
        paths[3].addPoint(curve(10.0f * f, 1.12f * a, 5) + Vec3{2.5f * f, -10.0f * f, 0.0f} +
                          Vec3{15.0f, 5.0f, -10.0f});

        for (int k = 0; k < kStairwayCount; ++k) {
            StairSprite& s = sparks[k][i];
            s.position = paths[k].sample(f);
            const float u1 = rng::next(), u2 = rng::next(), u3 = rng::next(), u4 = rng::next();
            s.colour = sparkColour(k, f);
            s.start = kStyles[k].startFrom + 0.05f * u1;
            s.end = kStyles[k].endFrom + 0.05f * u2;
            s.size = 0.4f + 0.6f * u3;
            s.lead = kStyles[k].leadScale * u4;
            s.alpha = 1.0f;
            s.field = i % 3;
        }
    }
}

void setupStairway(ImageManager& images)
{
    state.models[0].Load("data/3D/shrooms5.3DS");
    state.models[1].Load("data/3D/shrooms5.3DS");
    state.models[2].Load("data/3D/shrooms4.3DS");
    state.images.clusterColour = images.loadImage("data/3D/shrooms5col2.jpg", true, false);
    state.images.clusterNormals = images.loadImage("data/3D/shrooms5Nor2.jpg", true, false);
    state.images.tallColour = images.loadImage("data/3D/shrooms4col.png", true, false);
    state.images.tallNormals = images.loadImage("data/3D/shrooms4Nor.png", true, false);
    state.images.starflare = images.loadImage("data/gfx/starflare.png", true, false);
    buildStairways(state.paths, state.sparks);
}

void releaseStairway()
{
    StairwayImages& im = state.images;
    for (GLuint* t : {&im.clusterColour, &im.clusterNormals, &im.tallColour, &im.tallNormals, &im.starflare}) {
        if (*t != 0)
            glDeleteTextures(1, t);
        *t = 0;
    }
    for (CameraPath& path : state.paths)
        path.destroy();
}

const StairwayImages& stairwayImages() { return state.images; }
Model_3DS& mushroom(int k) { return state.models[k]; }
const CameraPath& stairwayPath(int k) { return state.paths[k]; }
const StairSprite& stairSpark(int path, int i) { return state.sparks[path][i]; }
