// The glow: its full-screen quad, built once at set-up, and the two passes drawn with it:
// the scene's bright parts blurred into glowFbo, then composited with the scene into the
// window (the maths is in shader/bloom.fs).
#include <GL/glew.h>
#include <cstdint>

#include "math/vecmath.h"
#include "render/internal.h"
#include "render/render.h"

unsigned int quadVertexBuffer, quadNormalBuffer, quadIndexBuffer, quadTexCoordBuffer;
static float quadHeight = 0; // the screen's height at set-up, like the targets'

// Window pixels, y down: vertex 0 is the top-left corner and takes the top of the
// texture (v = 1).
static void quadCorners(float vertices[16]) {
    float w = float(windowWidth);
    float h = float(windowHeight);
    quadHeight = h;
    const float corners[16] = {0, 0, 0, 1, 0, h, 0, 1, w, h, 0, 1, w, 0, 0, 1};
    for (int i = 0; i < 16; i++)
        vertices[i] = corners[i];
}

void resizeGlowQuad() {
    float vertices[16];
    quadCorners(vertices);
    glBindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
}

void buildGlowQuad() {
    float vertices[16];
    quadCorners(vertices);
    const float normals[12] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    const uint32_t indices[6] = {0, 2, 1, 0, 3, 2};
    const float texCoords[8] = {0, 1, 0, 0, 1, 0, 1, 1};
    quadVertexBuffer = makeAttributeBuffer(sizeof(float) * 16, vertices, bloomVertexAttr, 4);
    quadNormalBuffer = makeAttributeBuffer(sizeof normals, normals, bloomNormalAttr, 3);
    quadIndexBuffer = makeBuffer(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices);
    quadTexCoordBuffer = makeAttributeBuffer(sizeof texCoords, texCoords, bloomTexCoordAttr, 2);
}

static void bindQuad() {
    bindAttribute(quadVertexBuffer, bloomVertexAttr, 4);
    bindAttribute(quadNormalBuffer, bloomNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    bindAttribute(quadTexCoordBuffer, bloomTexCoordAttr, 2);
    disableUnfedAttributes();
}

// Pixel-space orthographic projection and an identity model-view for the quad.
static void uploadQuadMatrices() {
    ortho(float(windowWidth), float(windowHeight), -10000.0f, 40000.0f);
    glUniformMatrix4fv(bloomProjectionLoc, 1, GL_FALSE, orthoProjection);
    // The quad and the targets keep the screen's size, and the scene fills the lower-left
    // window-sized part of the target: the quad's bottom edge goes to the window's bottom,
    // so a window smaller than the screen shows that part, not the empty top of the target.
    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, 0, float(windowHeight) - quadHeight, 0);
    lookAt(quadViewMatrix, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    multiplyMatrix(quadViewMatrix, quadViewMatrix, modelMatrix);
    glUniformMatrix4fv(bloomModelViewLoc, 1, GL_FALSE, quadViewMatrix);
}

void drawGlowPasses(float brightness, float reach) {
    // Pass 1: the glow image.
    glBindFramebuffer(GL_FRAMEBUFFER, glowFbo);
    glViewport(0, 0, windowWidth, windowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sceneFboTexture);
    glUseProgram(bloomProgram);
    glUniform1i(glGetUniformLocation(bloomProgram, "renderpass"), 1);
    bindQuad();
    glUniform1i(bloomFirstTextureLoc, 0);
    glUniform1f(bloomBrightnessLoc, brightness);
    glUniform1f(bloomDdLoc, reach);
    uploadQuadMatrices();
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);

    // Pass 2: the composite, into the window.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, glowFboTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, sceneFboTexture);
    glUseProgram(bloomProgram);
    glUniform1i(glGetUniformLocation(bloomProgram, "renderpass"), 2);
    bindQuad();
    glUniform1i(bloomFirstTextureLoc, 0);
    glUniform1i(bloomSecondTextureLoc, 1);
    uploadQuadMatrices();
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, nullptr);
}
