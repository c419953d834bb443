// The frame: camera movement, the active scene's items into the scene target, the glow
// passes, the timeline's end check, the swap and the per-frame counters. Without drawing,
// a frame still runs everything that moves the show on.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/app.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "math/vecmath.h"
#include "model/model.h"
#include "platform/platform.h"
#include "render/render.h"

bool framesDrawn = true;

const float lightDirection[3] = {2.0f, 0.0f, 1.0f};
const float skyboxDrop = 80.0f; // the sky box sits this far below the eye

CameraPath& activePath() {
    return levelTwoActive ? levelTwoPath : levelOnePath;
}

// The path steers the view only when it was loaded whole; otherwise the user camera does.
bool viewFollowsPath() {
    return cameraPathMode && activePath().usable;
}

static unsigned int programOfKind(int shaderKind) {
    switch (shaderKind) {
    case 0:
        return sceneProgram;
    case 1:
        return normalMappingProgram;
    case 2:
        return neonProgram;
    case 3:
        return flatProgram;
    default:
        return 0;
    }
}

// Looks the item interface up in the program: the same names in every item program.
static void useItemProgram(unsigned int program) {
    glUseProgram(program);
    sceneProjectionLoc = glGetUniformLocation(program, "projectionMatrix");
    sceneModelViewLoc = glGetUniformLocation(program, "modelViewMatrix");
    sceneNormalAttr = glGetAttribLocation(program, "normal");
    sceneVertexAttr = glGetAttribLocation(program, "vertex");
    sceneFirstTextureLoc = glGetUniformLocation(program, "firstTexture");
    sceneTexCoordAttr = glGetAttribLocation(program, "texCoord");
    sceneTangentAttr = glGetAttribLocation(program, "tangent");
    sceneNormalMapLoc = glGetUniformLocation(program, "normalMap");
    sceneLightDirLoc = glGetUniformLocation(program, "lightDir");
    // Set here, on the program just bound, so every lit program gets it.
    glUniform3fv(sceneLightDirLoc, 1, lightDirection);
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

    glBindBuffer(GL_ARRAY_BUFFER, item.vertexBuffer);
    setAttribute(sceneVertexAttr, 4);
    glBindBuffer(GL_ARRAY_BUFFER, item.normalBuffer);
    setAttribute(sceneNormalAttr, 3);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, item.indexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, item.texCoordBuffer);
    setAttribute(sceneTexCoordAttr, 2);
    glUniform1i(sceneFirstTextureLoc, 0);
    glUniform1i(sceneNormalMapLoc, 1);
    glBindBuffer(GL_ARRAY_BUFFER, item.tangentBuffer);
    setAttribute(sceneTangentAttr, 4);
}

void drawItem(int index) {
    RenderItem& item = renderItem(index);
    if (framesDrawn)
        bindItem(item);

    CameraPath& path = activePath();
    playbackStep(path);

    // Working copies: a move made by the animation below shows from the next draw.
    float translation[3] = {item.translation[0], item.translation[1], item.translation[2]};
    float rotation[3] = {item.rotation[0], item.rotation[1], item.rotation[2]};
    int indexCount = item.faceCount * 3;
    if (indexCount > int(item.indices.size()))
        indexCount = int(item.indices.size());

    if (levelTwoActive)
        animationStep();

    perspective(40.0f, 1.0f, farPlane);

    bool followPath = viewFollowsPath();
    Vec3 eye = followPath ? pathEye : camera.eye;
    Model& skybox = levelTwoActive ? skybox2Model : skyboxModel;
    setTranslation(skybox, eye.x, eye.y - skyboxDrop, eye.z);

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
    glUniformMatrix4fv(sceneProjectionLoc, 1, GL_FALSE, projection);
    glUniformMatrix4fv(sceneModelViewLoc, 1, GL_FALSE, viewMatrix);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
}

// Everything of one frame up to the swap; the caller swaps and advances the counters.
void renderFrame() {
    if (cameraSpeed != 0.0f)
        moveCamera(camera);
    if (cameraLift != 0.0f) {
        camera.eye.y += cameraLift;
        camera.view.y += cameraLift;
    }
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

    int pass = levelTwoActive ? 2 : 1;
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
    showFrame();
    endFrame();
}
