// The emitter and its draw styles. Every random value here comes from the C
// library's sequence (cRand15), in the order that the configurations were
// tuned with; the spawn shapes that come from Vec3 use the program's generator.
#include "effects/particles.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "core/c_rand.h"
#include "core/rng.h"
#include "effects/flow_field.h"
#include "gfx/clip_space.h"
#include "gfx/quadric.h"

namespace {

// u in [0, 1] from one draw.
float unit()
{
    return static_cast<float>(cRand15()) / 32767.0f;
}

float drawFrom(const Range& r)
{
    return r.min + unit() * (r.max - r.min);
}

} // namespace

int emissionCount(float dt, int rate, float rateJitter, float u)
{
    return static_cast<int>(dt * static_cast<float>(rate) * ((u - 0.5f) * rateJitter + 1.0f));
}

// --- Configuration ---

void ParticleSystem::setPosition(float x, float y, float z, float jx, float jy, float jz)
{
    position = {x, y, z};
    positionJitter = {jx, jy, jz};
}

void ParticleSystem::setDirection(float x, float y, float z, float jx, float jy, float jz)
{
    direction = {x, y, z};
    directionJitter = {jx, jy, jz};
}

void ParticleSystem::setSpin(float min, float max)
{
    spin = {min, max};
}

void ParticleSystem::setAcceleration(float x, float y, float z, float scaleMin, float scaleMax)
{
    acceleration = {x, y, z};
    accelScale = {scaleMin, scaleMax};
}

void ParticleSystem::setAlpha(float startMin, float startMax, float endMin, float endMax)
{
    alphaStart = {startMin, startMax};
    alphaEnd = {endMin, endMax};
}

void ParticleSystem::setSize(float startMin, float startMax, float endMin, float endMax)
{
    sizeStart = {startMin, startMax};
    sizeEnd = {endMin, endMax};
}

void ParticleSystem::setColourStart(float ar, float ag, float ab, float br, float bg, float bb)
{
    colourStartA = {ar, ag, ab};
    colourStartB = {br, bg, bb};
}

void ParticleSystem::setColourEnd(float ar, float ag, float ab, float br, float bg, float bb)
{
    colourEndA = {ar, ag, ab};
    colourEndB = {br, bg, bb};
}

bool ParticleSystem::allocate(int n)
{
    particles.clear();
    count = 0;
    if (n <= 0)
        return n == 0;
    try {
        particles.assign(static_cast<size_t>(n), Particle{});
    } catch (const std::bad_alloc&) {
        return false; // the show goes on with an empty system
    }
    count = n;
    return true;
}

// --- Emission and motion ---

void ParticleSystem::emit(Particle& p)
{
    p.life = drawFrom(life);
    if (p.life == 0.0f)
        return;
    p.age = 0.0f;

    if (!shaped) {
        p.position = Vec3::zero();
    } else {
        Vec3 offset;
        bool placed = true;
        switch (shape) {
        case 0: offset = Vec3::zero(); break;
        case 1: offset = randomSpherePoint(shapeRadius); break;
        case 2: curvePoint(shapeRadius, randomRange(0.0f, shapeSpread), 2, offset); break;
        case 3: {
            float a = randomRange(0.0f, shapeSpread);
            offset = randomDiscPoint(shapeRadius, a);
            break;
        }
        case 4: offset = randomInCube(shapeRadius); break;
        case 5:
        case 6:
        case 7: curvePoint(shapeRadius, randomRange(0.0f, shapeSpread), shape, offset); break;
        case 8: {
            Vec3 q = randomInCube(2.0f * shapeRadius);
            Vec3 r = randomSpherePoint(shapeRadius);
            offset = lerp(r, q, shapeBlend);
            break;
        }
        default: placed = false; break; // the point stays where the slot had it
        }
        if (placed)
            p.position = position + offset;
    }

    p.position.x += (2.0f * unit() - 1.0f) * positionJitter.x;
    p.position.y += (2.0f * unit() - 1.0f) * positionJitter.y;
    p.position.z += (2.0f * unit() - 1.0f) * positionJitter.z;

    Vec3 v;
    v.x = direction.x + (2.0f * unit() - 1.0f) * directionJitter.x;
    v.y = direction.y + (2.0f * unit() - 1.0f) * directionJitter.y;
    v.z = direction.z + (2.0f * unit() - 1.0f) * directionJitter.z;
    p.velocity = v * drawFrom(speed);

    p.acceleration = acceleration * drawFrom(accelScale);

    Vec3 c0 = lerp(colourStartA, colourStartB, unit());
    Vec3 c1 = lerp(colourEndA, colourEndB, unit());
    p.colour = c0;
    p.colourRate = (c1 - c0).divide(p.life);

    p.alpha = drawFrom(alphaStart);
    p.alphaRate = (drawFrom(alphaEnd) - p.alpha) / p.life;
    p.size = drawFrom(sizeStart);
    p.sizeRate = (drawFrom(sizeEnd) - p.size) / p.life;

    p.angle = 0.0f;
    p.spinSpeed = drawFrom(spin);
    p.spinAccel = drawFrom(spinAccel);
    p.alive = true;
    p.owner = this;
}

void Particle::update(float dt)
{
    age += dt;
    if (age < life) {
        alpha += dt * alphaRate;
        size += dt * sizeRate;
        colour = colour + colourRate * dt;
        velocity = velocity + acceleration * dt;
        position = position + velocity * dt;
        spinSpeed += dt * spinAccel;
        angle += spinSpeed * dt;
        return;
    }
    if (!owner || !owner->respawn) {
        age = 0.0f;
        alive = false;
        return;
    }
    owner->emit(*this);
    if (life == 0.0f) {
        // A life range of [0, 0] re-emits nothing: the slot dies instead of
        // re-emitting forever.
        age = 0.0f;
        alive = false;
        return;
    }
    update(static_cast<float>(cRand15()) / 32767.0f * dt);
}

void ParticleSystem::update(float dt)
{
    int n = emissionCount(dt, rate, rateJitter, unit());
    for (int i = 0; i < count; ++i) {
        Particle& p = particles[i];
        if (p.alive)
            p.update(dt);
        if (n > 0 && !p.alive) {
            p.owner = this;
            emit(p);
            p.update(unit() * dt);
            --n;
        }
    }
}

void ParticleSystem::stepFlow(FlowField& field)
{
    if (!flow)
        return;
    for (int i = 0; i < count; ++i) {
        Particle& p = particles[i];
        if (!p.alive)
            continue;
        p.flow = field;
        if (style == 1) {
            field.blend = std::min(field.blend, 1.0f);
        } else if (style == 15) {
            field.time += 0.000015f;
            field.blend = std::min(field.blend + 0.00001f, 1.0f);
        }
    }
}

// --- Drawing ---

void ParticleSystem::draw()
{
    glEnable(GL_TEXTURE_2D);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    right = {m[0], m[4], m[8]};
    up = {m[1], m[5], m[9]};
    if (style == 15)
        currentClipMatrix(clip);
    for (int i = 0; i < count; ++i)
        if (particles[i].alive)
            drawParticle(particles[i], i, static_cast<float>(i) / static_cast<float>(count));
}

void ParticleSystem::drawParticle(const Particle& p, int index, float fraction)
{
    glColor4f(p.colour.x, p.colour.y, p.colour.z, p.alpha);
    Vec3 r = right, u = up;
    if (p.angle > 0.0f) {
        float c = std::cos(p.angle), s = std::sin(p.angle);
        r = right * c + up * s;
        u = up * c - right * s;
    }
    glEnable(GL_DEPTH_TEST);
    float h = 0.5f * p.size;
    Vec3 corner = p.position - r * h - u * h;

    if (style == 1) {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_COLOR_MATERIAL);
        if (flow)
            corner = corner - flowField(p.flow, corner, 2) * 0.82f * fraction;
        glBindTexture(GL_TEXTURE_2D, texture2 != 0 && index % 2 == 1 ? texture2 : texture);
        glColor4f(p.colour.x, p.colour.y, p.colour.z, p.alpha);
        Vec3 normal = corner;
        normal.normalize();
        glNormal3f(normal.x, normal.y, normal.z);
        // Each coordinate applies to the next vertex; the last one, (0, 0), is
        // what the next particle's first vertex gets.
        glBegin(GL_QUADS);
        Vec3 v = corner;
        glVertex3f(v.x, v.y, v.z);
        glTexCoord2f(0.0f, 1.0f);
        v = v + u * p.size;
        glVertex3f(v.x, v.y, v.z);
        glTexCoord2f(1.0f, 1.0f);
        v = v + r * p.size;
        glVertex3f(v.x, v.y, v.z);
        glTexCoord2f(1.0f, 0.0f);
        v = v - u * p.size;
        glVertex3f(v.x, v.y, v.z);
        glTexCoord2f(0.0f, 0.0f);
        glEnd();
        glDisable(GL_TEXTURE_2D);
    } else if (style == 15) {
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glDepthMask(GL_TRUE);
        if (flow) {
            Vec3 d = flowField(p.flow, corner, 2) * 0.82f * fraction;
            corner = corner - Vec3{d.x, 0.42f * d.y, d.z};
        }
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_TEXTURE_2D);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // A sphere wholly out of view is left out: it could not reach the screen.
        const float radius = 0.2f * p.size;
        const Vec3 reach{std::fabs(radius), std::fabs(radius), std::fabs(radius)};
        if (!boxOutsideView(clip, corner - reach, corner + reach)) {
            glPushMatrix();
            glTranslatef(corner.x, corner.y, corner.z);
            gluSphere(sharedQuadric(), radius, 12, 12);
            glPopMatrix();
        }
        glDisable(GL_TEXTURE_2D);
    }
}
