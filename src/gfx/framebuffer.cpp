#include "gfx/framebuffer.h"

#include "core/log.h"

void FrameBuffer::create(int32_t w, int32_t h)
{
    width = w;
    height = h;
    glGenFramebuffersEXT(1, &framebuffer);
    glGenRenderbuffersEXT(1, &depthBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, width, height);

    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    // Completeness is asked of the new framebuffer with both its attachments,
    // then the framebuffer bound before comes back.
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &previous);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colorTexture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(previous));

    switch (status) {
    case GL_FRAMEBUFFER_COMPLETE_EXT:
        logWrite(" -> FBO STATUS :: FBO instance %i x %i created. \n", width, height);
        break;
    case GL_FRAMEBUFFER_UNSUPPORTED_EXT:
        logWrite(" -> FBO STATUS :: Failed to create FBO instance %i x %i - FBO extension not supported. \n",
                 width, height);
        failAndExit("the driver does not support this framebuffer format", "ERROR", "GL_FRAMEBUFFER_UNSUPPORTED_EXT!");
    default:
        logWrite(" -> FBO STATUS :: an unexpected error occured. \n");
        failAndExit("the driver cannot complete a framebuffer");
    }
}

void FrameBuffer::bind()
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colorTexture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
}

void FrameBuffer::unbind(const Viewport& window)
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(window.x, window.y, window.width, window.height);
}

void FrameBuffer::bindColorTexture()
{
    glBindTexture(GL_TEXTURE_2D, colorTexture);
}

FrameBuffer::~FrameBuffer()
{
    if (colorTexture != 0)
        glDeleteTextures(1, &colorTexture);
    if (framebuffer != 0)
        glDeleteFramebuffersEXT(1, &framebuffer);
    if (depthBuffer != 0)
        glDeleteRenderbuffersEXT(1, &depthBuffer);
    logWrite(" -> FBO STATUS :: FBO instance destroyed. \n");
}

namespace {

struct {
    FrameBuffer* targets[4] = {nullptr, nullptr, nullptr, nullptr};
} state;

} // namespace

void allocateFrameBuffers()
{
    for (FrameBuffer*& target : state.targets)
        if (!target)
            target = new FrameBuffer;
}

FrameBuffer* sceneTarget() { return state.targets[0]; }
FrameBuffer* depthTarget() { return state.targets[1]; }
FrameBuffer* blurTarget() { return state.targets[2]; }
FrameBuffer* spareTarget() { return state.targets[3]; }

void createFrameBuffers(int32_t windowWidth, int32_t windowHeight)
{
    allocateFrameBuffers();
    state.targets[0]->create(windowWidth, windowHeight);
    state.targets[1]->create(512, 512);
    state.targets[2]->create(windowWidth, windowHeight);
    state.targets[3]->create(512, 512);
}

void destroyFrameBuffers()
{
    for (int index : {0, 3, 1, 2}) {
        delete state.targets[index];
        state.targets[index] = nullptr;
    }
}
