// Drawing one item with the matrices it is handed, the scene target's clear, and the swap.
// What is drawn where, and with which view, is the show's business (show/frame.cpp).
#include <GL/glew.h>

#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"

const float lightDirection[3] = {2.0f, 0.0f, 1.0f};

static unsigned int programOfKind(int shaderKind) {
    switch (shaderKind) {
    case kSceneShader:
        return sceneProgram;
    case kNormalMappingShader:
        return normalMappingProgram;
    case kNeonShader:
        return neonProgram;
    case kFlatShader:
        return flatProgram;
    default:
        return 0;
    }
}

static void useItemProgram(unsigned int program) {
    glUseProgram(program);
    lookUpItemLocations(program);
    // Set here, on the program just bound, so every lit program gets it.
    glUniform3fv(sceneLightDirLoc, 1, lightDirection);
}

void uploadProjection() {
    perspective(40.0f, 1.0f, farPlane);
    glUniformMatrix4fv(sceneProjectionLoc, 1, GL_FALSE, projection);
}

// The item's program, textures and buffers.
static void bindItem(const RenderItem& item) {
    // An unknown kind keeps the program and locations of the previous draw.
    unsigned int program = programOfKind(item.shaderKind);
    if (program != 0)
        useItemProgram(program);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, item.colorTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, item.bumpTexture);

    bindAttribute(item.vertexBuffer, sceneVertexAttr, 4);
    bindAttribute(item.normalBuffer, sceneNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, item.indexBuffer);
    bindAttribute(item.texCoordBuffer, sceneTexCoordAttr, 2);
    glUniform1i(sceneFirstTextureLoc, 0);
    glUniform1i(sceneNormalMapLoc, 1);
    bindAttribute(item.tangentBuffer, sceneTangentAttr, 4);
    disableUnfedAttributes();
}

void beginScene(bool offScreen) {
    if (offScreen) {
        glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
        glViewport(0, 0, windowWidth, windowHeight);
    }
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawItem(const RenderItem& item, const float* modelView) {
    bindItem(item);
    int indexCount = item.faceCount * 3;
    if (indexCount > int(item.indices.size()))
        indexCount = int(item.indices.size());
    uploadProjection();
    glUniformMatrix4fv(sceneModelViewLoc, 1, GL_FALSE, modelView);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
}

void presentFrame() {
    swapBuffers();
}
