// The two full-screen glow passes: the scene's bright parts blurred into glowFbo, then
// composited with the scene into the window (the maths is in shader/bloom.fs).
#include <GL/glew.h>

#include "app/app.h"
#include "math/vecmath.h"
#include "render/render.h"

static void bindQuad() {
    glBindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer);
    setAttribute(bloomVertexAttr, 4);
    glBindBuffer(GL_ARRAY_BUFFER, quadNormalBuffer);
    setAttribute(bloomNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, quadTexCoordBuffer);
    setAttribute(bloomTexCoordAttr, 2);
}

// Pixel-space orthographic projection and an identity model-view for the quad.
static void uploadQuadMatrices() {
    ortho(float(windowWidth), float(windowHeight), -10000.0f, 40000.0f);
    glUniformMatrix4fv(bloomProjectionLoc, 1, GL_FALSE, orthoProjection);
    identityMatrix(modelMatrix);
    lookAt(quadViewMatrix, 0, 0, 0, 0, 0, -1, 0, 1, 0);
    multiplyMatrix(quadViewMatrix, quadViewMatrix, modelMatrix);
    glUniformMatrix4fv(bloomModelViewLoc, 1, GL_FALSE, quadViewMatrix);
}

void drawGlowPasses() {
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
    glUniform1f(bloomDdLoc, dd);
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
