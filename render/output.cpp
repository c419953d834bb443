// The output target: where the finished picture goes in place of the window, for a tool
// that reads every frame back (the video capture). Off screen, the picture does not depend
// on the window being shown, nor on its size.
#include <GL/glew.h>
#include <cstdio>

#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"

void setOutputTarget(bool offScreen, int width, int height) {
    Renderer& r = renderer;
    if (!offScreen) {
        r.outputFbo = 0;
        return;
    }
    if (r.outputFbo == 0) {
        glGenFramebuffers(1, &r.outputFbo);
        glGenRenderbuffers(1, &r.outputColorBuffer);
        glGenRenderbuffers(1, &r.outputDepthBuffer);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, r.outputColorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, r.outputDepthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, r.outputFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              r.outputColorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                              r.outputDepthBuffer);
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        char message[200];
        snprintf(message, sizeof message,
                 "the output target (%d x %d) is incomplete (status 0x%04x): the graphics driver "
                 "cannot draw the picture off screen",
                 width, height, unsigned(status));
        fatalError(message);
    }
}
