// The glow: its full-screen quad, built once at set-up, and the passes drawn with it: the
// scene's bright parts reduced into a corner of glowFbo and blurred there (along x into
// the small target, along y back), then composited with the scene into the window (the
// maths is in shader/bloom.fs).
#include <GL/glew.h>
#include <cstdint>

#include "math/vecmath.h"
#include "render/internal.h"
#include "render/render.h"

// Window pixels, y down: vertex 0 is the top-left corner and takes the top of the
// texture (v = 1).
static void quadCorners(float vertices[16], int width, int height) {
    float w = float(width);
    float h = float(height);
    renderer.quadHeight = h; // the targets' height too
    const float corners[16] = {0, 0, 0, 1, 0, h, 0, 1, w, h, 0, 1, w, 0, 0, 1};
    for (int i = 0; i < 16; i++)
        vertices[i] = corners[i];
}

void resizeGlowQuad(int width, int height) {
    float vertices[16];
    quadCorners(vertices, width, height);
    glBindBuffer(GL_ARRAY_BUFFER, renderer.quadVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
}

void buildGlowQuad(int width, int height) {
    float vertices[16];
    quadCorners(vertices, width, height);
    const float normals[12] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    const uint32_t indices[6] = {0, 2, 1, 0, 3, 2};
    const float texCoords[8] = {0, 1, 0, 0, 1, 0, 1, 1};
    Renderer& r = renderer;
    r.quadVertexBuffer = makeAttributeBuffer(sizeof(float) * 16, vertices, r.bloomVertexAttr, 4);
    r.quadNormalBuffer = makeAttributeBuffer(sizeof normals, normals, r.bloomNormalAttr, 3);
    r.quadIndexBuffer = makeBuffer(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices);
    r.quadTexCoordBuffer = makeAttributeBuffer(sizeof texCoords, texCoords, r.bloomTexCoordAttr, 2);

    // The blur between the bloom program's two passes has a program of its own: a
    // software rasteriser runs every branch of a shader for every pixel, so the composite,
    // the one pass at full size, must not carry the blur's taps.
    buildListedProgram(kGlowBlurProgram);
}

void lookUpGlowBlurLocations() {
    Renderer& r = renderer;
    unsigned int p = r.glowBlurProgram;
    r.blurProjectionLoc = glGetUniformLocation(p, "projectionMatrix");
    r.blurModelViewLoc = glGetUniformLocation(p, "modelViewMatrix");
    r.blurFirstTextureLoc = glGetUniformLocation(p, "firstTexture");
    r.blurDdLoc = glGetUniformLocation(p, "dd");
    r.blurGlowScaleLoc = glGetUniformLocation(p, "glowScale");
    r.blurVerticalLoc = glGetUniformLocation(p, "vertical");
}

static void bindQuad() {
    const Renderer& r = renderer;
    bindAttribute(r.quadVertexBuffer, r.bloomVertexAttr, 4);
    bindAttribute(r.quadNormalBuffer, r.bloomNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, r.quadIndexBuffer);
    bindAttribute(r.quadTexCoordBuffer, r.bloomTexCoordAttr, 2);
    disableUnfedAttributes();
}

// Pixel-space orthographic projection and an identity model-view for the quad, into the
// program's two locations. shifted: the quad's bottom edge to the window's (see below).
static void uploadQuadMatrices(int projectionLoc, int modelViewLoc, int width, int height,
                               bool shifted) {
    Mat4 orthoProjection, modelMatrix, quadViewMatrix;
    ortho(orthoProjection, float(width), float(height), -10000.0f, 40000.0f);
    glUniformMatrix4fv(projectionLoc, 1, GL_FALSE, orthoProjection);
    // The quad and the targets keep the screen's size, and the scene fills the lower-left
    // window-sized part of the target: the quad's bottom edge goes to the window's bottom,
    // so a window smaller than the screen shows that part, not the empty top of the target.
    identityMatrix(modelMatrix);
    if (shifted)
        translateMatrix(modelMatrix, 0, float(height) - renderer.quadHeight, 0);
    lookAt(quadViewMatrix, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    multiplyMatrix(quadViewMatrix, quadViewMatrix, modelMatrix);
    glUniformMatrix4fv(modelViewLoc, 1, GL_FALSE, quadViewMatrix);
}

// The blur along one axis, from texture (unit 0) into framebuffer's glow-image corner.
static void drawBlur(unsigned int framebuffer, unsigned int texture, int vertical) {
    const Renderer& r = renderer;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(r.blurVerticalLoc, vertical);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
}

void drawGlowPasses(const GlowParameters& glow, int width, int height) {
    const Renderer& r = renderer;
    // Pass 1: the glow image, the scene's bright parts reduced into the corner of glowFbo.
    // The reduced passes' quad covers their viewport: the whole target, unshifted.
    glBindFramebuffer(GL_FRAMEBUFFER, r.glowFbo);
    glViewport(0, 0, r.glowWidth, r.glowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    // Only the corner is ever read: the rest of the target is not worth the memory traffic.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, r.glowWidth, r.glowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, r.sceneFboTexture);
    glUseProgram(r.bloomProgram);
    glUniform1i(glGetUniformLocation(r.bloomProgram, "renderpass"), 1);
    bindQuad();
    glUniform1i(r.bloomFirstTextureLoc, 0);
    glUniform1f(r.bloomBrightnessLoc, glow.brightness);
    glUniform1f(r.bloomDdLoc, glow.dd);
    glUniform1i(r.bloomGlowScaleLoc, r.glowScale);
    uploadQuadMatrices(r.bloomProjectionLoc, r.bloomModelViewLoc, r.targetWidth, r.targetHeight,
                       false);
    // Flat quads, one per pass, each covering its target: no depth test (the blur draws over
    // pass 1's quad at the same depth), and none per pixel of the composite.
    glDisable(GL_DEPTH_TEST);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);

    // The blur, along x into the small target and along y back into the corner.
    glUseProgram(r.glowBlurProgram);
    glUniform1i(r.blurFirstTextureLoc, 0);
    glUniform1f(r.blurDdLoc, glow.dd);
    glUniform1i(r.blurGlowScaleLoc, r.glowScale);
    uploadQuadMatrices(r.blurProjectionLoc, r.blurModelViewLoc, r.targetWidth, r.targetHeight,
                       false);
    drawBlur(r.glowSmallFbo, r.glowFboTexture, 0);
    drawBlur(r.glowFbo, r.glowSmallTexture, 1);

    // Pass 2: the composite, into the window.
    glBindFramebuffer(GL_FRAMEBUFFER, r.outputFbo); // 0 unless a tool chose a target
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, r.glowFboTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, r.sceneFboTexture);
    glUseProgram(r.bloomProgram);
    glUniform1i(glGetUniformLocation(r.bloomProgram, "renderpass"), 2);
    bindQuad();
    glUniform1i(r.bloomFirstTextureLoc, 0);
    glUniform1i(r.bloomSecondTextureLoc, 1);
    uploadQuadMatrices(r.bloomProjectionLoc, r.bloomModelViewLoc, width, height, true);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
    glEnable(GL_DEPTH_TEST); // as every frame's items need it
}
