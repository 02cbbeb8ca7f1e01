// The opening quotation. The title model stands along x, scaled by 1.55 and
// turned a quarter about y; the camera drifts towards it in shot 0 and sweeps
// past it from left to right in shot 1.
#include "scenes/quotation.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include "effects/font.h"
#include "gfx/bitmap_text.h"
#include "gfx/image_manager.h"
#include "gfx/lighting.h"
#include "gfx/model_3ds.h"

namespace {

struct {
    GLuint title = 0;
    Model_3DS model;
} state;

} // namespace

QuotationCamera quotationCamera(float t, int shot)
{
    QuotationCamera camera;
    if (shot == 0) {
        camera.eye = {0.0f, 0.2f * t + 0.75f, 7.85f - 0.5f * t};
        camera.target = {0.0f, 1.0f, 0.0f};
    } else if (shot == 1) {
        camera.eye = {12.85f * t - 6.0f, 0.25f * t + 0.25f, 3.85f - 1.05f * t};
        camera.target = {6.0f * t - 3.0f, 0.45f, 0.0f};
    }
    return camera;
}

void quotationLightPosition(const QuotationCamera& camera, float out[4])
{
    Vec3 d = (camera.eye - camera.target) * 2.0f;
    out[0] = d.x;
    out[1] = d.y + 10.0f;
    out[2] = d.z + 1.0f;
    out[3] = 1.0f;
}

void setupQuotation(const Stage& stage)
{
    loadFontPicture(stage.images);
    state.title = stage.images.loadImage("data/3D/starttext.jpg", true, false);
    buildFont(7, 4.2f);
    state.model.Load("data/3D/starttext-export.3ds");
}

void drawQuotation(const Stage&, const SceneCall& call, const FrameTime&, const FlowField&)
{
    const float t = call.r;
    const int shot = call.mode;
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);

    QuotationCamera camera = quotationCamera(t, shot);
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.target.x, camera.target.y, camera.target.z,
              0.0, 1.0, 0.0);

    LightSetup light{.modelAmbient = {0.35f, 0.35f, 0.35f, 1.0f},
                     .ambient = {0.65f, 0.65f, 0.65f, 1.0f},
                     .diffuse = {1.0f, 1.0f, 1.0f, 1.0f},
                     .specular = {0.8f, 0.9f, 1.0f, 1.0f},
                     .materialAmbient = {0.3f, 0.3f, 0.3f, 1.0f},
                     .materialDiffuse = {0.35f, 0.35f, 0.35f, 1.0f},
                     .materialSpecular = {0.0f, 0.0f, 0.0f, 1.0f},
                     .shininess = 80.0f};
    quotationLightPosition(camera, light.position);
    applyLightSetup(light);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    ImageManager::bind(state.title);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    state.model.scale = 1.55f;
    state.model.rot.y = 90.0f;
    state.model.lit = true;
    state.model.pos = Vec3::zero();
    state.model.Draw(false);
}

void releaseQuotation()
{
    // The image manager does not delete what it loads: its users do.
    releaseFontPicture();
    if (state.title != 0)
        glDeleteTextures(1, &state.title);
    state.title = 0;
    releaseFont();
}
