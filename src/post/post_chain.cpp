#include "post/post_chain.h"

#include "gfx/framebuffer.h"
#include "gfx/image_manager.h"
#include "gfx/shader_program.h"
#include "post/shader_catalogue.h"

namespace {

void setFinalUniforms(ShaderProgram& dof, const FinalValues& final)
{
    dof.setUniform1f("saturation", final.saturation);
    dof.setUniform1f("godrayintensity", final.godrayintensity);
    dof.setUniform3f("ambientCol", final.ambientCol);
    dof.setUniform1f("bias", final.bias);
    dof.setUniform1f("focus", final.focus);
    dof.setUniform1f("alpha", final.alpha);
}

void drawFinalQuad(ImageManager& images, const FinalValues& final)
{
    switch (final.quad) {
    case FinalQuad::Plain:
        images.drawFullScreenQuad();
        break;
    case FinalQuad::Zoom:
        ImageManager::drawZoomed(final.amount);
        break;
    case FinalQuad::Mirror:
        ImageManager::drawMirrored(final.amount);
        break;
    }
}

} // namespace

void runPostChain(ImageManager& images, const Viewport& window, const std::function<void()>& drawScene,
                  const BlurValues& blur, const FinalValues& final)
{
    ShaderProgram& depthReader = *shaderProgram(Shader::DepthReader);
    ShaderProgram& gaussianBlur = *shaderProgram(Shader::GaussianBlur);
    ShaderProgram& dof = *shaderProgram(Shader::BokehDof);

    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The scene and its backdrop.
    sceneTarget()->bind();
    drawScene();
    FrameBuffer::unbind(window);

    // Brightness as depth, at 512 x 512.
    depthTarget()->bind();
    glUseProgram(depthReader.program);
    depthReader.setUniform1f("invert", 1.0f);
    sceneTarget()->bindColorTexture(); // on unit 0, which stays bound for the blur
    images.drawFullScreenQuad();
    glUseProgram(0);
    FrameBuffer::unbind(window);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // Blur and outline of the scene, still bound on unit 0.
    blurTarget()->bind();
    glUseProgram(gaussianBlur.program);
    gaussianBlur.setUniform1f("outline", blur.outline);
    gaussianBlur.setUniform1f("m_r", blur.tint.x);
    gaussianBlur.setUniform1f("m_g", blur.tint.y);
    gaussianBlur.setUniform1f("m_b", blur.tint.z);
    gaussianBlur.setUniform2f("strength", blur.strength[0], blur.strength[1]);
    images.drawFullScreenQuad();
    glUseProgram(0);
    FrameBuffer::unbind(window); // also clears the window: the final pass adds onto black

    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4fv(final.colour);

    // Depth of field and grading onto the window.
    glUseProgram(dof.program);
    dof.bindSampler(0, blurTarget()->colorTexture, "bgl_RenderedTexture");
    dof.bindSampler(1, depthTarget()->colorTexture, "bgl_DepthTexture");
    setFinalUniforms(dof, final);
    drawFinalQuad(images, final);

    dof.unbindSampler(1);
    dof.unbindSampler(0);
    glUseProgram(0);
}
