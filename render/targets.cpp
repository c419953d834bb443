// The two off-screen targets of the glow passes: a colour texture and a depth buffer
// each, at the screen size of start-up; and the glow's small target, a colour texture
// only. An incomplete target ends the process.
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

// The glow image keeps the scene's width, which its horizontal taps need pixel for pixel,
// and a quarter of its height: the passes before the composite then cost a fraction of a
// full-size one.
static const int kGlowScale = 4;

static void setGlowSize(int width, int height) {
    Renderer& r = renderer;
    r.glowScale = kGlowScale;
    r.targetWidth = width;
    r.targetHeight = height;
    r.glowWidth = width;
    r.glowHeight = (height + kGlowScale - 1) / kGlowScale;
}

static void defineColour(unsigned int texture, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
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

    // The small target: read texel by texel; no depth.
    setGlowSize(width, height);
    glGenFramebuffers(1, &r.glowSmallFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, r.glowSmallFbo);
    glGenTextures(1, &r.glowSmallTexture);
    defineColour(r.glowSmallTexture, r.glowWidth, r.glowHeight);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, r.glowSmallTexture,
                           0);
    requireComplete("glowSmallFbo", r.glowWidth, r.glowHeight);
    glBindTexture(GL_TEXTURE_2D, r.glowFboTexture);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// New storage for the targets' existing names: what they held is redrawn next frame.
void resizeRenderTargets(int width, int height) {
    const Renderer& r = renderer;
    if (r.sceneFbo == 0 || r.glowFbo == 0 || r.glowSmallFbo == 0)
        return;
    for (unsigned int depthBuffer : {r.sceneDepthBuffer, r.glowDepthBuffer}) {
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    }
    for (unsigned int texture : {r.sceneFboTexture, r.glowFboTexture})
        defineColour(texture, width, height);
    setGlowSize(width, height);
    defineColour(r.glowSmallTexture, r.glowWidth, r.glowHeight);
    resizeGlowQuad(width, height);
}
