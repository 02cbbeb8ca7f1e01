#include "scenes/mist.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <memory>

#include "core/rng.h"
#include "core/time_window.h"
#include "core/vec3.h"
#include "effects/fogged_terrain.h"
#include "effects/smoke_column.h"
#include "gfx/image_manager.h"
#include "gfx/lighting.h"
#include "gfx/model_3ds.h"
#include "gfx/procedural_textures.h"
#include "gfx/shader_program.h"
#include "post/shader_catalogue.h"
#include "sound/beat_envelope.h"

namespace {

struct {
    Model_3DS showLogo;    // data/3D/logo2.3ds
    Model_3DS silvateLogo; // data/3D/silvate.3ds
    GLuint logoColour = 0;
    GLuint logoOcclusion = 0;
    GLuint logoLines = 0; // the overlay map that pulses on the beat
    std::unique_ptr<BeatEnvelope> beats;
    float beat = 0.0f; // the envelope's pulse this frame
} state;

void lookAt(const MistCamera& c)
{
    gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.target.x, c.target.y, c.target.z, c.up.x, c.up.y, c.up.z);
}

void setLogoLights()
{
    applyLightSetup({.position = {-20.0f, 12.0f, -20.0f, 1.0f},
                     .modelAmbient = {0.1f, 0.1f, 0.1f, 1.0f},
                     .ambient = {0.15f, 0.15f, 0.15f, 1.0f},
                     .diffuse = {0.5f, 0.5f, 0.5f, 1.0f},
                     .specular = {0.5f, 0.6f, 0.6f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.35f, 0.35f, 0.35f, 1.0f},
                     .shininess = 80.0f});
}

// Lighting, light 0 and colour material on, blending off, white, texturing on.
void beginLitLogo()
{
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

} // namespace

void setupMist(const Stage& stage)
{
    ImageManager& images = stage.images;
    state.showLogo.Load("data/3D/logo2.3ds");
    loadSmokePictures(images);
    state.logoColour = images.loadImage("data/3D/logo2.png", true, false);
    state.logoOcclusion = images.loadImage("data/3D/logo2ao.png", true, false);
    state.logoLines = images.loadImage("data/3D/logo2map.png", true, false);
    state.silvateLogo.Load("data/3D/silvate.3ds");
    state.beats.reset(makeMistEnvelope());
    rng::seed(1091059);
    setupSmokeColumn();
}

void releaseMist()
{
    releaseSmokePictures();
    // The image manager does not delete what it loads: its users do.
    for (GLuint* texture : {&state.logoColour, &state.logoOcclusion, &state.logoLines}) {
        if (*texture != 0)
            glDeleteTextures(1, texture);
        *texture = 0;
    }
    state.beats.reset();
}

MistCamera mistCamera(float r, int mode, float m)
{
    MistCamera c;
    if (mode == 0) {
        if (r < 0.25f) {
            c.eye = {-28.0f * std::cos(5.0f * r), 10.0f - 6.0f * r, 20.0f * std::sin(5.0f * r)};
            c.target = {0.0f, 15.0f * r - 6.0f, 0.0f};
        } else if (r < 0.65f) {
            c.eye = {33.0f * std::cos(5.0f * r), 18.0f - 12.0f * r, -25.0f * std::sin(3.0f * r)};
            c.target = {0.0f, 12.0f * r, 0.0f};
        } else if (r < 1.0f) {
            c.eye = {50.0f - 30.0f * std::sin(2.0f * r), 22.0f - 12.0f * r, 35.0f * std::cos(2.0f * r)};
            c.target = {0.0f, 12.0f - 12.0f * r, 0.0f};
        } // at r = 1 eye and target stay at the origin
        c.up = {0.2f, 0.85f - 0.25f * m, 0.15f + 0.4f * r};
    } else {
        Vec3 e0{25.0f * std::sin(7.12f * r) - 12.0f, 16.0f * r + 11.9f, 19.0f - 20.0f * std::cos(8.0f * r)};
        Vec3 e1{35.25f * std::cos(3.85f * r), 10.5f - 6.0f * r, -28.5f * std::sin(4.0f * r)};
        Vec3 c0{-7.0f, 12.9f * r + 6.5f, 12.0f};
        Vec3 c1{15.0f, 19.5f - 7.0f * r, 0.0f};
        c.eye = lerp(e0, e1, r);
        c.target = lerp(c0, c1, r);
        c.up = {-0.25f, 1.0f - 0.45f * m, 0.0f};
    }
    return c;
}

void drawSilvateLogo(float r, int mode)
{
    if (mode != 0 || !(r > 0.0f && r < 0.25f))
        return;
    beginLitLogo();
    glEnable(GL_TEXTURE_2D);
    Model_3DS& model = state.silvateLogo;
    model.pos = {-7.0f, 2.15f, -0.0f};
    model.rot = {180.0f, 245.0f - 80.0f * r, 175.0f};
    model.scale = 6.25f;
    model.lit = true;
    ShaderProgram& program = *shaderProgram(Shader::SilvateLogo);
    glUseProgram(program.program);
    program.bindSampler(0, proceduralTextures().mask, "colorMap");
    program.bindSampler(1, proceduralTextures().noise, "alphaMap");
    program.setUniform1f("dval", 1.0f - ramp(r, 0.2f, 0.245f));
    model.Draw(true);
    program.unbindSampler(1);
    program.unbindSampler(0);
    glUseProgram(0);
}

void drawShowLogo(float r, int mode, float strength)
{
    if (mode != 0 || !(r > 0.35f && r < 0.65f))
        return;
    beginLitLogo();
    ImageManager::bind(state.logoColour);
    glEnable(GL_TEXTURE_2D);
    Model_3DS& model = state.showLogo;
    model.pos = {-17.085f, 9.15f, -19.5f};
    model.rot = {90.0f, 0.0f, 111.0f + 65.0f * r};
    model.scale = 8.5f;
    model.lit = true;
    ShaderProgram& program = *shaderProgram(Shader::LogoPostProcess);
    glUseProgram(program.program);
    program.bindSampler(0, state.logoColour, "colorMap");
    program.bindSampler(1, state.logoOcclusion, "aoMap");
    program.bindSampler(2, proceduralTextures().noise, "alphaMap");
    program.bindSampler(3, state.logoLines, "overMap");
    program.setUniform1f("dval", 1.0f - ramp(r, 0.575f, 0.64f));
    program.setUniform1f("strength", strength);
    model.Draw(false);
    for (int unit = 3; unit >= 0; --unit)
        program.unbindSampler(unit);
    glUseProgram(0);
}

void updateMist(const SceneCall& call, const FrameTime& time, FlowField& flow)
{
    state.beat = state.beats ? state.beats->value(time.musicMs) : 0.0f;
    // The smoke moves only during the first 7.5 % of each window, then stands.
    updateSmokeColumn(15.0f, call.r < 0.075f, time.delta, flow);
}

void drawMist(const Stage& stage, const SceneCall& call, const FrameTime&, const FlowField&)
{
    const float r = call.r;
    const int mode = call.mode;
    const float m = state.beat;

    // Camera and grid.
    glLoadIdentity();
    lookAt(mistCamera(r, mode, m));
    if (mode == 0)
        glDisable(GL_LIGHTING);
    drawFoggedGrid(stage.display.antiAlias());

    drawSmokeColumn();

    setLogoLights();
    drawSilvateLogo(r, mode);
    drawShowLogo(r, mode, m);

    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
}
