// The mushroom stairway: three mushroom models with their colour and normal
// maps, four climbing paths and 4 x 1024 sparks that later climb them, each
// with its colour, its climbing window, its size and its flow-field variant.
// Built once at start-up; the iterations scene draws it.
#pragma once
#include <epoxy/gl.h>

#include "core/vec3.h"

class CameraPath;
class ImageManager;
class Model_3DS;

constexpr int kStairwayCount = 4;
constexpr int kSparksPerStairway = 1024;

struct StairSprite {
    Vec3 position; // the stairway at f, sampled at set-up (not drawn)
    Vec3 colour;
    float start = 0.0f; // the climb's window, in units of the scene's ramp
    float end = 0.0f;
    float size = 0.0f;  // alpha and size factor
    float alpha = 1.0f;
    float lead = 0.0f;  // added to the climb ramp
    int field = 0;      // flow-field variant 0-2
};

// The three models, the five pictures, then the paths and sparks.
void setupStairway(ImageManager& images);
// The pictures and the four paths.
void releaseStairway();

// Creates the four paths with their first points and appends 1024 more to
// each while filling the sparks, drawing 16 values per step from the
// program's generator (no GL, no file).
void buildStairways(CameraPath paths[kStairwayCount], StairSprite sparks[kStairwayCount][kSparksPerStairway]);

struct StairwayImages {
    GLuint clusterColour, clusterNormals; // shrooms5: mushrooms A and B
    GLuint tallColour, tallNormals;       // shrooms4: mushroom C
    GLuint starflare;                     // the sparks
};
const StairwayImages& stairwayImages();
Model_3DS& mushroom(int k); // 0, 1: the cluster (A, B); 2: the tall pair (C)
const CameraPath& stairwayPath(int k);
const StairSprite& stairSpark(int path, int i);
