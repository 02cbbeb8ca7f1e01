// The branch scene. Each frame the tree is walked once into one vertex array
// and drawn a run of one texture and colour at a time, in the order
// drawBranch draws its dots one by one: the dots blend additively, but the
// framebuffer rounds every blend, so the order stays. The frames are the
// ones drawBranch gives, byte for byte; drawBranch is kept as that reference.
#include "scenes/tree.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "core/time_window.h"
#include "effects/billboards.h"
#include "effects/flow_field.h"
#include "gfx/client_arrays.h"
#include "gfx/clip_space.h"
#include "gfx/image_manager.h"
#include "gfx/lighting.h"
#include "gfx/procedural_textures.h"
#include "gfx/quadric.h"

namespace {

const float kCircleColour[2][4] = {{0.91981f, 0.099125f, 0.423f, 1.0f}, {0.093198f, 0.909125f, 0.151742f, 1.0f}};
const float kFlareColour[4] = {0.2f, 0.425148f, 1.0f, 1.0f};

// What every dot of a branch is drawn with.
struct DotLook {
    GLuint texture;
    const float* colour;
    float half;
};

// One glDrawArrays of quads sharing a texture and colour.
struct Draw {
    GLuint texture;
    const float* colour;
    GLint first; // first corner
    GLsizei corners;
    bool alone; // a quad that may need clipping, drawn by itself
};

// The frame's tree, rebuilt every frame: corners and texture coordinates of
// every dot in drawing order, and the draws that cover them.
struct {
    std::vector<Vec3> corners;
    std::vector<float> uvs;
    std::vector<Draw> draws;
    std::vector<BranchDot> dots;
} state;

// out = a b, all column-major as GL keeps them.
float branchK(int variant)
{
    return variant == 0 ? 0.17351215f : 0.16435121f;
}

DotLook dotLook(int depth, int variant)
{
    const ProceduralTextures& textures = proceduralTextures();
    if (depth <= 3)
        return {textures.circle, kCircleColour[variant == 0 ? 0 : 1], branchDotHalf(depth, variant)};
    return {textures.flare, kFlareColour, branchDotHalf(depth, variant)};
}

Vec3 dotCentre(const Branch& branch, int i, float g, const FlowField& flow)
{
    const float along = static_cast<float>(i) / static_cast<float>(branch.count) * g;
    Vec3 q = lerp(branch.a, branch.b, along) + Vec3{0.0f, -5.0f, 0.0f};
    if (branch.variant == 0)
        q = q + flowField(flow, q, 2) * 0.76687f;
    else
        q = q + flowField(flow, q, 3) * 0.54687f;
    return q;
}

void appendDots(const Branch& branch, const FlowField& flow, std::vector<BranchDot>& out)
{
    const float g = ramp(branch.time, branch.start, branch.end);
    if (!(g > 0.0f) || branch.count <= 1)
        return;
    const float half = branchDotHalf(branch.depth, branch.variant);
    for (int i = 0; i < branch.count; i += 2)
        out.push_back({dotCentre(branch, i, g, flow), half});
}

// The state drawBranch sets before its dots; the camera basis it reads.
void beginBranch(Vec3& right, Vec3& up, Vec3& forward)
{
    glEnable(GL_COLOR_MATERIAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    getCameraBasis(right, up, forward);
    glEnable(GL_BLEND);
}

// The whole tree from arrays. Nothing between two drawBranch calls changes the
// matrices or the state they set, so that state is set once; each dot's
// corners are computed as drawBillboard computes them.
void drawBranches(const Branch& trunk, const FlowField& flow)
{
    Vec3 right, up, forward;
    beginBranch(right, up, forward);
    float clip[16];
    currentClipMatrix(clip);

    state.corners.clear();
    state.uvs.clear();
    state.draws.clear();
    DotLook last{};
    walkBranches(trunk, [&](const Branch& branch) {
        last = dotLook(branch.depth, branch.variant);
        state.dots.clear();
        appendDots(branch, flow, state.dots);
        const float h = last.half;
        for (const BranchDot& dot : state.dots) {
            const Vec3& c = dot.centre;
            const GLint first = static_cast<GLint>(state.corners.size());
            state.corners.push_back(c - right * h - up * h);
            state.corners.push_back(c + right * h - up * h);
            state.corners.push_back(c + right * h + up * h);
            state.corners.push_back(c - right * h + up * h);
            state.uvs.insert(state.uvs.end(), {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f});
            bool alone = false;
            for (int k = 0; k < 4; ++k)
                alone = alone || !wellInside(clip, state.corners[first + k]);
            Draw* open = state.draws.empty() ? nullptr : &state.draws.back();
            if (open && !alone && !open->alone && open->texture == last.texture && open->colour == last.colour)
                open->corners += 4;
            else
                state.draws.push_back({last.texture, last.colour, first, 4, alone});
        }
    });

    glDepthMask(GL_FALSE);
    if (!state.draws.empty()) {
        ClientArrays batch(false, true);
        glVertexPointer(3, GL_FLOAT, 0, state.corners.data());
        glTexCoordPointer(2, GL_FLOAT, 0, state.uvs.data());
        const Draw* previous = nullptr;
        for (const Draw& draw : state.draws) {
            if (!previous || previous->texture != draw.texture || previous->colour != draw.colour) {
                ImageManager::bind(draw.texture);
                glColor4fv(draw.colour);
            }
            glDrawArrays(GL_QUADS, draw.first, draw.corners);
            previous = &draw;
        }
        glTexCoord2f(0.0f, 1.0f); // as the last immediate billboard leaves it
    }
    glDepthMask(GL_TRUE);
    // The last branch's texture and colour stay current, drawn or not.
    ImageManager::bind(last.texture);
    glColor4fv(last.colour);
}

void setShotOneLights(const Vec3& eye)
{
    applyLightSetup({.position = {eye.x, eye.y, eye.z, 1.0f},
                     .modelAmbient = {0.1f, 0.1f, 0.1f, 1.0f},
                     .ambient = {0.0f, 0.0f, 0.0f, 1.0f},
                     .diffuse = {1.0f, 1.0f, 1.0f, 1.0f},
                     .specular = {0.9f, 0.9f, 0.9f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.6f, 0.6f, 0.6f, 1.0f},
                     .shininess = 80.0f});
}

} // namespace

// --- The tree's geometry ---

float branchDotHalf(int depth, int variant)
{
    const float k = branchK(variant);
    if (depth <= 3)
        return 1.15f * k * 1.8f;
    return 2.05f * k * static_cast<float>(depth - 1);
}

Branch branchTrunk(float t, int shot)
{
    Branch trunk;
    trunk.depth = 6;
    trunk.fan = 2;
    trunk.start = 0.0f;
    trunk.count = 22;
    float s;
    if (shot == 1) {
        s = 0.825f;
        trunk.b = {0.0f, 8.7464237f, 0.0f};
        trunk.angle = 2.635065f;
        trunk.end = 0.075745f;
        trunk.variant = 1;
    } else {
        s = 0.815f;
        trunk.b = {0.0f, 7.2746425f, 0.0f};
        trunk.angle = 2.6175065f;
        trunk.end = 0.0795745f;
        trunk.variant = 0;
    }
    // The shrink: the tree's time falls back over the end of the scene.
    trunk.time = t - ramp(t, s, 1.0f);
    return trunk;
}

std::array<Branch, 4> subBranches(const Branch& p)
{
    const float k = branchK(p.variant);
    const Vec3 d = p.a + (p.b - p.a) * k - p.b;
    const float c = std::cos(p.angle);
    const float s = std::sin(p.angle);
    const Vec3 e1{p.b.x + d.x * c + d.y * s, p.b.y - d.x * s + d.y * c, d.z};
    const Vec3 e2{p.b.x + d.x * c - d.y * s, p.b.y + d.x * s + d.y * c, d.z};
    auto swap = [](const Vec3& v) { return Vec3{v.z, v.y, v.x}; };
    Branch child = p;
    child.depth = p.depth - 1;
    child.time = p.time - p.end;
    child.count = std::max(p.count - 4, 1);
    std::array<Branch, 4> four{child, child, child, child};
    four[0].a = p.b;
    four[0].b = e1;
    four[1].a = swap(p.b);
    four[1].b = swap(e1);
    four[2].a = swap(p.b);
    four[2].b = swap(e2);
    four[3].a = p.b;
    four[3].b = e2;
    return four;
}

void walkBranches(const Branch& root, const std::function<void(const Branch&)>& visit)
{
    visit(root);
    if (root.depth > 0 && root.fan == 2)
        for (const Branch& child : subBranches(root))
            walkBranches(child, visit);
}

std::vector<BranchDot> branchDots(const Branch& branch, const FlowField& flow)
{
    std::vector<BranchDot> dots;
    appendDots(branch, flow, dots);
    return dots;
}

TreeCamera treeCamera(float t, int shot)
{
    TreeCamera c;
    if (shot == 1) {
        const Vec3 e0{20.0f * std::sin(7.12f * t) - 15.0f, 8.0f * t - 1.0f, 19.0f - 20.0f * std::cos(8.0f * t)};
        const Vec3 e1{35.5f * std::cos(4.0f * t), 4.5f - 7.0f * t, -38.5f * std::sin(4.0f * t)};
        c.eye = lerp(e0, e1, t);
        c.target = lerp(Vec3::zero(), Vec3{0.0f, 7.0f * t + 4.5f, 0.0f}, t);
        c.up = {-0.25f, 1.0f, 0.0f};
        return c;
    }
    if (t < 0.3f) {
        c.eye = {-18.0f * std::cos(9.0f * t), 18.0f * t, 20.0f * std::sin(10.0f * t)};
        c.target = {0.0f, 20.0f * t - 3.0f, 0.0f};
    } else if (t < 0.65f) {
        c.eye = {30.0f * std::cos(12.0f * t), 4.0f * t - 5.0f, -30.0f * std::sin(12.0f * t)};
        c.target = {0.0f, 12.0f * t, 0.0f};
    } else if (t < 1.0f) {
        c.eye = {42.0f * std::sin(9.0f * t), 12.0f - 12.0f * t, 42.0f * std::cos(9.0f * t) + 1.0f};
        c.target = {0.0f, 12.0f - 12.0f * t, 0.0f};
    } // from t = 1 on eye and target stay at the origin
    c.up = {0.2f, 0.85f, 0.5f};
    return c;
}

// --- Drawing ---

void drawBranch(const Vec3& a, const Vec3& b, float angle, int depth, int fan, float time, float start, float end,
                int count, int variant, const FlowField& flow)
{
    const Branch branch{a, b, angle, depth, fan, time, start, end, count, variant};
    Vec3 right, up, forward;
    beginBranch(right, up, forward);
    const float g = ramp(time, start, end);
    const DotLook look = dotLook(depth, variant);
    for (int i = 0; i < count; ++i) {
        ImageManager::bind(look.texture);
        glColor4fv(look.colour);
        glDepthMask(GL_FALSE);
        if (g > 0.0f && count > 1 && i % 2 == 0)
            drawBillboard(dotCentre(branch, i, g, flow), right, up, forward, look.half);
        glDepthMask(GL_TRUE);
    }
    if (depth > 0 && fan == 2)
        for (const Branch& c : subBranches(branch))
            drawBranch(c.a, c.b, c.angle, c.depth, c.fan, c.time, c.start, c.end, c.count, c.variant, flow);
}

void drawTubeRing(const Vec3& position, const Vec3& colour, float alpha, float innerRadius, float height,
                  float thickness, int slices, int stacks)
{
    GLUquadric* quadric = sharedQuadric();
    const float outerRadius = innerRadius + thickness;
    glPushMatrix();
    glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
    glColor4f(colour.x, colour.y, colour.z, alpha);
    glTranslatef(position.x, position.z, position.y);
    gluCylinder(quadric, innerRadius, innerRadius, height, slices, stacks);
    gluCylinder(quadric, outerRadius, outerRadius, height, slices, stacks);
    glTranslatef(0.0f, 0.0f, height);
    gluDisk(quadric, innerRadius, outerRadius, slices, 1);
    glTranslatef(0.0f, 0.0f, -height);
    gluDisk(quadric, innerRadius, outerRadius, slices, 1);
    glPopMatrix();
}

void drawSpokes(const Vec3& position, float inner, float outer, float baseRadius, float topRadius, int count,
                int slices, int stacks)
{
    for (int i = 0; i < count; ++i) {
        const float a = 2.0f * 3.14159f * static_cast<float>(i) / static_cast<float>(count);
        glPushMatrix();
        glTranslatef(inner * std::sin(a) + position.x, position.y, inner * std::cos(a) + position.z);
        glRotatef(static_cast<float>(i) / static_cast<float>(count) * 360.0f, 0.0f, 1.0f, 0.0f);
        gluCylinder(sharedQuadric(), baseRadius, topRadius, outer - inner, slices, stacks);
        glPopMatrix();
    }
}

void drawPedestal()
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    drawTubeRing({0.0f, -9.0f, 0.0f}, {0.8f, 0.9f, 1.0f}, 1.0f, 6.5f, 2.0f, 4.0f, 32, 8);   // outer hub ring
    drawTubeRing({0.0f, -7.5f, 0.0f}, {1.0f, 1.0f, 1.0f}, 1.0f, 3.5f, 1.5f, 3.0f, 32, 8);   // middle hub ring
    drawTubeRing({0.0f, -6.5f, 0.0f}, {1.0f, 1.0f, 1.0f}, 1.0f, 0.5f, 1.5f, 3.0f, 32, 8);   // inner hub ring
    drawSpokes({0.0f, -8.5f, 0.0f}, 10.5f, 90.5f, 1.0f, 1.0f, 6, 32, 8);
    drawTubeRing({0.0f, -10.5f, 0.0f}, {1.0f, 1.0f, 1.0f}, 1.0f, 90.5f, 4.5f, 8.0f, 32, 8); // rim
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void updateTree(const SceneCall&, const FrameTime&, FlowField& flow)
{
    flow.time += 0.015f;
    flow.blend += 0.01f; // left unclamped
}

void drawTree(const Stage&, const SceneCall& call, const FrameTime&, const FlowField& flow)
{
    const float t = call.r;
    const int shot = call.mode;
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    const TreeCamera camera = treeCamera(t, shot);
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.target.x, camera.target.y, camera.target.z, camera.up.x,
              camera.up.y, camera.up.z);
    if (shot == 1)
        setShotOneLights(camera.eye);
    glDisable(GL_LIGHTING);

    ImageManager::bind(proceduralTextures().noise);
    drawPedestal();
    drawBranches(branchTrunk(t, shot), flow);
}
