// Particle systems: one configurable emitter drives the ground dust, the
// smoke around the logos and the moon's haze.
#pragma once
#include <epoxy/gl.h>

#include <vector>

#include "core/vec3.h"
#include "effects/flow_field.h"

class ParticleSystem;

struct Range {
    float min = 0.0f;
    float max = 0.0f;
};

struct Particle {
    Vec3 position;
    Vec3 colour;
    Vec3 velocity;
    Vec3 acceleration;
    float angle = 0.0f;
    float spinSpeed = 0.0f;
    float spinAccel = 0.0f;
    float alpha = 0.0f;
    float alphaRate = 0.0f;
    Vec3 colourRate;
    float size = 0.0f;
    float sizeRate = 0.0f;
    float life = 0.0f;
    float age = 0.0f;
    ParticleSystem* owner = nullptr;
    bool alive = false;
    FlowField flow; // the field as this particle's draw displaces it (systems on the flow)

    void update(float dt);
};

class ParticleSystem {
public:
    // Configuration, one call per group of fields.
    void setPosition(float x, float y, float z, float jx, float jy, float jz);
    void setDirection(float x, float y, float z, float jx, float jy, float jz);
    void setSpin(float min, float max);
    void setAcceleration(float x, float y, float z, float scaleMin, float scaleMax);
    void setAlpha(float startMin, float startMax, float endMin, float endMax);
    void setSize(float startMin, float startMax, float endMin, float endMax);
    void setColourStart(float ar, float ag, float ab, float br, float bg, float bb);
    void setColourEnd(float ar, float ag, float ab, float br, float bg, float bb);
    void setTexture(GLuint id) { texture = id; }
    void setTexture2(GLuint id) { texture2 = id; }
    void setStyle(int value) { style = value; }
    void setShape(int value) { shape = value; }

    // count dead particles; false (and an empty pool) when they cannot be had.
    bool allocate(int count);
    // Spawns at the jittered rate into dead slots and advances the living.
    void update(float dt);
    // What drawing the living particles does to the flow field, done ahead of
    // the draw (no GL): each keeps the field as it stands for its own
    // displacement, then a sprite (style 1) holds the blend at 1 at most and a
    // sphere (style 15) moves the field on. Nothing unless the system is on the flow.
    void stepFlow(FlowField& field);
    // Every living particle, as a sprite (style 1) or a lit sphere (style 15),
    // displaced by the field stepFlow kept for it.
    void draw();
    // Emits particle p: its life, spawn point, launch, colours, alpha, size, spin.
    void emit(Particle& p);

    Vec3 position;
    Vec3 positionJitter;
    Vec3 direction;
    Vec3 directionJitter;
    Range speed;
    Range spin;
    Range spinAccel;
    Vec3 acceleration;
    Range accelScale;
    Range alphaStart;
    Range alphaEnd{1.0f, 1.0f};
    Range sizeStart;
    Range sizeEnd;
    GLuint texture = 0;
    GLuint texture2 = 0;
    Vec3 colourStartA, colourStartB;
    Vec3 colourEndA, colourEndB;
    float shapeRadius = 0.0f;
    float shapeSpread = 0.0f;
    float shapeBlend = 0.0f;
    Range life{1.0f, 1.0f};
    int style = 1;
    bool respawn = false;
    int shape = 0;
    bool shaped = false;
    std::vector<Particle> particles;
    int count = 0;
    int rate = 0;
    float rateJitter = 0.0f;
    Vec3 right, up; // the camera's axes at the last draw
    float clip[16] = {}; // the view at the last draw, for leaving out unseen spheres
    bool flow = false;

private:
    void drawParticle(const Particle& p, int index, float fraction);
};

// The number a system update emits for the rand() draw u in [0, 1].
int emissionCount(float dt, int rate, float rateJitter, float u);
