// The two off-screen targets of the glow passes: a colour texture and a depth buffer
// each, at the screen size of start-up. An incomplete target ends the process.
#include <GL/glew.h>
#include <cstdio>
#include <initializer_list>

#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"

// Builds one target and leaves it bound.
static void buildTarget(unsigned int& fbo, unsigned int& depthBuffer, unsigned int& texture,
                        int width, int height) {
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);

    glGenRenderbuffers(1, &depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    // A sized depth format: WebGL2 takes no other, and desktop drivers pick 24 bits anyway.
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);

    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    printf("\n******************************fbo tex: %d", int(texture));
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
}

// Both targets are checked: the two are built alike, but a driver may still refuse one.
static void requireComplete(const char* name, int width, int height) {
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE)
        return;
    char message[200];
    snprintf(message, sizeof message,
             "render target %s (%d x %d) is incomplete (status 0x%04x): the graphics driver "
             "cannot draw off screen",
             name, width, height, unsigned(status));
    fatalError(message);
}

void setupRenderTargets(int width, int height) {
    Renderer& r = renderer;
    buildTarget(r.sceneFbo, r.sceneDepthBuffer, r.sceneFboTexture, width, height);
    requireComplete("sceneFbo", width, height);
    buildTarget(r.glowFbo, r.glowDepthBuffer, r.glowFboTexture, width, height);
    requireComplete("glowFbo", width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// New storage for the targets' existing names: what they held is redrawn next frame.
void resizeRenderTargets(int width, int height) {
    const Renderer& r = renderer;
    if (r.sceneFbo == 0 || r.glowFbo == 0)
        return;
    for (unsigned int depthBuffer : {r.sceneDepthBuffer, r.glowDepthBuffer}) {
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    }
    for (unsigned int texture : {r.sceneFboTexture, r.glowFboTexture}) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    resizeGlowQuad(width, height);
}
