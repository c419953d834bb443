// Drawing a frame from its description: the scene target's clear, each item with the
// matrices it is handed, the glow passes; and the swap.
#include <GL/glew.h>

#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/render.h"

const float lightDirection[3] = {2.0f, 0.0f, 1.0f};

// The program of the kind; for normal mapping, the variant with only the item's lighting.
static unsigned int programOf(int shaderKind, int lighting) {
    switch (shaderKind) {
    case kSceneShader:
        return renderer.sceneProgram;
    case kNormalMappingShader:
        switch (lighting) {
        case kDaylightOnly:
            return renderer.daylightProgram;
        case kHarbourDuskOnly:
            return renderer.harbourProgram;
        case kWaterOnly:
            return renderer.waterProgram;
        case kVisitorOnly:
            return renderer.visitorProgram;
        default:
            return renderer.normalMappingProgram;
        }
    case kNeonShader:
        return renderer.neonProgram;
    case kFlatShader:
        return renderer.flatProgram;
    default:
        return 0;
    }
}

static void useItemProgram(unsigned int program) {
    glUseProgram(program);
    lookUpItemLocations(program);
    // Set here, on the program just bound, so every lit program gets it.
    glUniform3fv(renderer.sceneLightDirLoc, 1, lightDirection);
}

void uploadProjection(const float* projection) {
    glUniformMatrix4fv(renderer.sceneProjectionLoc, 1, GL_FALSE, projection);
}

// The item's program, textures and buffers.
static void bindItem(const RenderItem& item, int shaderKind, int lighting) {
    // An unknown kind keeps the program and locations of the previous draw.
    unsigned int program = programOf(shaderKind, lighting);
    if (program != 0)
        useItemProgram(program);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, item.colorTexture);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, item.bumpTexture);

    const Renderer& r = renderer;
    bindAttribute(item.vertexBuffer, r.sceneVertexAttr, 4);
    bindAttribute(item.normalBuffer, r.sceneNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, item.indexBuffer);
    bindAttribute(item.texCoordBuffer, r.sceneTexCoordAttr, 2);
    glUniform1i(r.sceneFirstTextureLoc, 0);
    glUniform1i(r.sceneNormalMapLoc, 1);
    bindAttribute(item.tangentBuffer, r.sceneTangentAttr, 4);
    disableUnfedAttributes();
}

void beginScene(bool offScreen, int width, int height) {
    if (offScreen) {
        glBindFramebuffer(GL_FRAMEBUFFER, renderer.sceneFbo);
        glViewport(0, 0, width, height);
    } else if (renderer.outputFbo != 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, renderer.outputFbo); // in place of the window
    }
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void drawItem(const DrawnItem& drawn, const float* projection) {
    const RenderItem& item = renderItem(drawn.index);
    bindItem(item, drawn.shaderKind, drawn.lighting);
    int indexCount = item.faceCount * 3;
    if (indexCount > int(item.indices.size()))
        indexCount = int(item.indices.size());
    uploadProjection(projection);
    glUniformMatrix4fv(renderer.sceneModelViewLoc, 1, GL_FALSE, drawn.modelView);
    glDepthFunc(drawn.winsDepthTies ? GL_LEQUAL : GL_LESS);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
}

void renderFrame(const FrameDescription& frame) {
    beginScene(frame.glow.bloomEnabled, frame.windowWidth, frame.windowHeight);
    for (const DrawnItem& item : frame.items)
        drawItem(item, frame.projection);
    glDepthFunc(GL_LESS); // the beam, and whatever else comes, as always
    if (frame.beam.visible)
        drawBeam(frame.beam.modelView, frame.projection);
    if (frame.glow.bloomEnabled)
        drawGlowPasses(frame.glow, frame.windowWidth, frame.windowHeight);
}

void presentFrame() {
    swapBuffers();
}
