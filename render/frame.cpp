// The frame: camera movement, the active scene's items into the scene target, the glow
// passes, the timeline's end check, the swap and the per-frame counters. Without drawing,
// a frame still runs everything that moves the show on.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/exit.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/flags.h"
#include "render/internal.h"
#include "render/render.h"
#include "render/scene.h"
#include "render/timeline.h"
#include "render/timer.h"

bool cameraPathMode = false;
bool bloomEnabled = false;
bool framesDrawn = true;

const float lightDirection[3] = {2.0f, 0.0f, 1.0f};

static PassKind activePass() {
    return levelTwoActive ? kSceneTwoPass : kSceneOnePass;
}

// The path steers the view only when it was loaded whole; otherwise the user camera does.
bool viewFollowsPath() {
    return cameraPathMode && scenePath(activePass()).usable;
}

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

void drawItem(int index) {
    RenderItem& item = renderItem(index);
    if (framesDrawn)
        bindItem(item);

    PassKind pass = activePass();
    playbackStep(scenePath(pass));

    // Working copies: a move made by the animation below shows from the next draw.
    float translation[3] = {item.translation[0], item.translation[1], item.translation[2]};
    float rotation[3] = {item.rotation[0], item.rotation[1], item.rotation[2]};
    int indexCount = item.faceCount * 3;
    if (indexCount > int(item.indices.size()))
        indexCount = int(item.indices.size());

    if (levelTwoActive)
        animationStep();

    bool followPath = viewFollowsPath();
    placeSkybox(pass, followPath ? pathEye : camera.eye);

    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, translation[0], translation[1], translation[2]);
    rotateModel(rotation[0], rotation[1], rotation[2]);

    if (followPath)
        lookAt(viewMatrix, pathEye.x, pathEye.y, pathEye.z, pathLookAt.x, pathLookAt.y,
               pathLookAt.z, 0.0f, 1.0f, 0.0f);
    else
        lookAt(viewMatrix, camera.eye.x, camera.eye.y, camera.eye.z, camera.view.x, camera.view.y,
               camera.view.z, camera.up.x, camera.up.y, camera.up.z);
    multiplyMatrix(viewMatrix, viewMatrix, modelMatrix);
    if (!framesDrawn)
        return;
    uploadProjection();
    glUniformMatrix4fv(sceneModelViewLoc, 1, GL_FALSE, viewMatrix);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
}

// Everything of one frame up to the swap; the caller swaps and advances the counters.
void renderFrame() {
    if (cameraSpeed != 0.0f)
        moveCamera(camera);
    if (cameraLift != 0.0f)
        liftCamera(camera);
    if (!cameraPathMode)
        mouseLook(camera);
    updateFrameTimer(frameTimer);

    if (!levelTwoActive)
        bloomEnabled = true; // the first scene is always seen through the glow
    if (framesDrawn) {
        if (bloomEnabled) {
            glBindFramebuffer(GL_FRAMEBUFFER, sceneFbo);
            glViewport(0, 0, windowWidth, windowHeight);
        }
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    PassKind pass = activePass();
    for (int i = 0; i < renderListSize(); i++) {
        if (renderItem(i).passKind == pass)
            drawItem(i);
    }

    if (bloomEnabled && framesDrawn)
        drawGlowPasses();
}

void showFrame() {
    advanceFixedStep();
    bool sceneTwo = levelTwoActive;
    renderFrame();
    if (sceneTwo)
        sceneTwoEndCheck();
    else
        sceneOneEndCheck();
}

void endFrame() {
    if (framesDrawn)
        glutSwapBuffers();
    spinAngle += 0.2f * frameTimer.frameFactor;
    pathParam += 0.01f * frameTimer.frameFactor;
}

void display() {
    checkStopSignal();
    showFrame();
    endFrame();
}
