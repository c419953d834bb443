// The glow: its full-screen quad, built once at set-up, and the two passes drawn with it:
// the scene's bright parts blurred into glowFbo, then composited with the scene into the
// window (the maths is in shader/bloom.fs).
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
}

static void bindQuad() {
    const Renderer& r = renderer;
    bindAttribute(r.quadVertexBuffer, r.bloomVertexAttr, 4);
    bindAttribute(r.quadNormalBuffer, r.bloomNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, r.quadIndexBuffer);
    bindAttribute(r.quadTexCoordBuffer, r.bloomTexCoordAttr, 2);
    disableUnfedAttributes();
}

// Pixel-space orthographic projection and an identity model-view for the quad.
static void uploadQuadMatrices(int width, int height) {
    Mat4 orthoProjection, modelMatrix, quadViewMatrix;
    ortho(orthoProjection, float(width), float(height), -10000.0f, 40000.0f);
    glUniformMatrix4fv(renderer.bloomProjectionLoc, 1, GL_FALSE, orthoProjection);
    // The quad and the targets keep the screen's size, and the scene fills the lower-left
    // window-sized part of the target: the quad's bottom edge goes to the window's bottom,
    // so a window smaller than the screen shows that part, not the empty top of the target.
    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, 0, float(height) - renderer.quadHeight, 0);
    lookAt(quadViewMatrix, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    multiplyMatrix(quadViewMatrix, quadViewMatrix, modelMatrix);
    glUniformMatrix4fv(renderer.bloomModelViewLoc, 1, GL_FALSE, quadViewMatrix);
}

void drawGlowPasses(const GlowParameters& glow, int width, int height) {
    const Renderer& r = renderer;
    // Pass 1: the glow image.
    glBindFramebuffer(GL_FRAMEBUFFER, r.glowFbo);
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, r.sceneFboTexture);
    glUseProgram(r.bloomProgram);
    glUniform1i(glGetUniformLocation(r.bloomProgram, "renderpass"), 1);
    bindQuad();
    glUniform1i(r.bloomFirstTextureLoc, 0);
    glUniform1f(r.bloomBrightnessLoc, glow.brightness);
    glUniform1f(r.bloomDdLoc, glow.dd);
    uploadQuadMatrices(width, height);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);

    // Pass 2: the composite, into the window.
    glBindFramebuffer(GL_FRAMEBUFFER, r.outputFbo); // 0 unless a tool chose a target
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
    uploadQuadMatrices(width, height);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
}
