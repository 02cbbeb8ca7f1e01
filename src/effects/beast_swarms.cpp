#include "effects/beast_swarms.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/c_rand.h"
#include "core/rng.h"
#include "core/time_window.h"
#include "effects/flow_field.h"
#include "effects/fogged_terrain.h"
#include "gfx/camera_path.h"
#include "gfx/client_arrays.h"
#include "gfx/image_manager.h"
#include "gfx/lighting.h"
#include "gfx/shader_program.h"
#include "post/shader_catalogue.h"
#include "sound/beat_envelope.h"

namespace {

struct {
    GLuint skin = 0; // bitmap 107: a dark panel with cold glowing edges
    std::vector<PlacedCube> placed; // this frame's cubes
    CameraPath tracking;
    CameraPath following;
    std::vector<SwarmCube> lair;
    std::vector<SwarmCube> beast;
    std::unique_ptr<BeatEnvelope> beats;
} state;

const float kCorners[8][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                              {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
const int kFaces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {6, 2, 1, 5}, {3, 7, 4, 0}, {7, 3, 2, 6}, {5, 1, 0, 4}};

Vec3 corner(int k)
{
    return {kCorners[k][0], kCorners[k][1], kCorners[k][2]};
}

void fillSwarm(std::vector<SwarmCube>& swarm, float radius)
{
    swarm.resize(kSwarmSize);
    for (int i = 0; i < kSwarmSize; ++i) {
        SwarmCube& c = swarm[i];
        float s = static_cast<float>(std::sin(i * 0.0125));
        Vec3 b = randomInBox(s, s, s);
        Vec3 cube = randomInCube(1.85f);
        c.base = cube + b * 0.15f;
        float k = 0.08f * rng::next() + 1.282f;
        Vec3 sp = randomSpherePoint(radius);
        c.target = c.base * k + sp;
        c.jitter = 0.1f * rng::next() + 0.9f;
        c.size = 0.06f + randomUpTo(0.12f);
        c.waveStart = static_cast<float>(i * 0.00025);
        c.waveEnd = c.waveStart + 0.00092f;
    }
}

} // namespace

void addTrackingPoints(CameraPath& path)
{
    const float points[15][3] = {{0, 5, 0},     {4, 6, 0},    {5, 11, -4},   {7, 7, -8},  {8, 12, -12},
                                 {-6, 17, -32}, {-11, 16, -32}, {-14, 10, -10}, {-6, 14, -15}, {-6, 12, -15},
                                 {0, 12, 1},    {1, 8, 0},    {3, 12, -4},   {-3, 10, -8}, {-6, 28, -15}};
    for (const auto& p : points)
        path.addPoint({p[0], p[1], p[2]});
}

void addFollowingPoints(CameraPath& path)
{
    const float points[17][3] = {{10, 8, 15}, {7, 6, 10},   {4, 10, 9},   {3, 5, 8},   {-3, 12, 4}, {-1, 8, 0},
                                 {0, 12, -1}, {14, 12, 5},  {14, 14, 8},  {22, 10, 10}, {19, 16, 22}, {14, 4, 22},
                                 {4, 5, 12},  {5, 4, 8},    {3, 3, 4},    {4, 6, 0},   {0, 5, 0}};
    for (const auto& p : points)
        path.addPoint({p[0], p[1], p[2]});
}

void buildSwarms()
{
    rng::seed(5295);
    fillSwarm(state.lair, 1.2f);
    fillSwarm(state.beast, 1.5f);
}

void setupBeastSwarms(ImageManager& images)
{
    state.skin = images.loadBitmapResource(107);
    state.tracking.create("tracking the beast");
    addTrackingPoints(state.tracking);
    state.following.create("following the beast");
    addFollowingPoints(state.following);
    buildSwarms();
    state.beats.reset(makeBeastEnvelope());
}

void releaseBeastSwarms()
{
    if (state.skin != 0)
        glDeleteTextures(1, &state.skin);
    state.skin = 0;
    state.tracking.destroy();
    state.following.destroy();
    state.beats.reset();
}

const std::vector<SwarmCube>& lairSwarm() { return state.lair; }
const std::vector<SwarmCube>& beastSwarm() { return state.beast; }
const CameraPath& trackingPath() { return state.tracking; }
const CameraPath& followingPath() { return state.following; }
BeatEnvelope& beastBeats() { return *state.beats; }
GLuint beastSkin() { return state.skin; }

Vec3 cubeFaceNormal(int face)
{
    const int* f = kFaces[face];
    Vec3 n = cross(corner(f[2]) - corner(f[0]), corner(f[1]) - corner(f[0]));
    n.normalize();
    return n;
}

namespace {

// The textured cube of the corners (+-1, +-1, +-1): its 24 corners face by
// face with their face normals and texture coordinates (0, 0), (1, 0), (1, 1),
// (0, 1), for drawing many cubes from arrays.
struct CubeArrays {
    float positions[24][3];
    float normals[24][3];
    float uvs[24][2];
};

CubeArrays buildCubeArrays()
{
    CubeArrays a{};
    const float uv[4][2] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    for (int face = 0; face < 6; ++face) {
        Vec3 n = cubeFaceNormal(face);
        for (int k = 0; k < 4; ++k) {
            int v = face * 4 + k;
            std::copy(kCorners[kFaces[face][k]], kCorners[kFaces[face][k]] + 3, a.positions[v]);
            a.normals[v][0] = n.x;
            a.normals[v][1] = n.y;
            a.normals[v][2] = n.z;
            a.uvs[v][0] = uv[k][0];
            a.uvs[v][1] = uv[k][1];
        }
    }
    return a;
}

const CubeArrays kCube = buildCubeArrays();

} // namespace

void drawSwarm(const std::vector<SwarmCube>& swarm, const std::vector<PlacedCube>& placed, float r, float sizeScale)
{
    // Nothing fixed-function is drawn between the cubes, so the program stays
    // in use across them and only its strength changes.
    ShaderProgram& bloomer = *shaderProgram(Shader::SnakeCubeBloomer);
    glUseProgram(bloomer.program);
    const GLint strength = glGetUniformLocation(bloomer.program, "strength");
    glColor4f(0.25f, 0.59f, 1.0f, 1.0f);
    // The cube from arrays.
    const CubeArrays& cube = kCube;
    ClientArrays batch(true, true);
    glVertexPointer(3, GL_FLOAT, 0, cube.positions);
    glNormalPointer(GL_FLOAT, 0, cube.normals);
    glTexCoordPointer(2, GL_FLOAT, 0, cube.uvs);
    for (int i = 0; i < kSwarmSize; ++i) {
        const SwarmCube& c = swarm[i];
        const Vec3& pos = placed[i].pos;
        const float w = placed[i].w;
        const float f = static_cast<float>(i) / static_cast<float>(kSwarmSize);
        glPushMatrix();
        glRotatef(c.base.x, -1.0f, 0.0f, 0.0f);
        glRotatef(c.base.y, 0.0f, -1.0f, 0.0f);
        glRotatef(c.base.z, 0.0f, 0.0f, -1.0f);
        glTranslatef(pos.x, pos.y, pos.z);
        glRotatef(1200.0f * r * (1.0f - f), 1.0f, 0.0f, 0.25f);
        glRotatef(90.0f * c.base.x, -1.0f, 0.0f, 0.0f);
        glRotatef(90.0f * c.base.y, 0.0f, -1.0f, 0.0f);
        glRotatef(90.0f * c.base.z, 0.0f, 0.0f, -1.0f);
        glUniform1f(strength, w);
        const float size = sizeScale * w + c.size;
        glScalef(size, size, size);
        glDrawArrays(GL_QUADS, 0, 24);
        glPopMatrix();
    }
    glUseProgram(0);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDisable(GL_TEXTURE_2D);
    // As one cube at a time in immediate mode would leave them.
    glNormal3fv(cube.normals[23]);
    glTexCoord2fv(cube.uvs[23]);
}

std::vector<PlacedCube>& placedCubes()
{
    return state.placed;
}

float swarmWave(float q1, float q2, const SwarmCube& c)
{
    return 1.05f * bump(q2, c.waveStart, c.waveEnd + 0.235f, 1.0f) + bump(q1, c.waveStart, c.waveEnd + 0.235f, 1.0f);
}

void beginSwarmScene(const BeastCamera& camera, const float light0Ambient[4], bool smoothLines)
{
    const Vec3& eye = camera.eye;
    gluLookAt(eye.x, eye.y, eye.z, camera.target.x, camera.target.y, camera.target.z, 0.0, 1.0, 0.0);
    drawFoggedGrid(smoothLines);

    LightSetup light{.position = {eye.x, eye.y, eye.z, 1.0f},
                     .modelAmbient = {0.1f, 0.1f, 0.1f, 1.0f},
                     .diffuse = {0.5f, 0.5f, 0.5f, 1.0f},
                     .specular = {0.35f, 0.36f, 0.36f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.35f, 0.35f, 0.35f, 1.0f},
                     .shininess = 80.0f};
    std::copy(light0Ambient, light0Ambient + 4, light.ambient);
    applyLightSetup(light);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glDisable(GL_TEXTURE_2D);
    ImageManager::bind(state.skin);
}
