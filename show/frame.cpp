// The frame: camera movement, the frame timer, the active scene's items (each steps the
// camera path and, in scene 2, the animation, then is drawn from where the view stands),
// the glow passes, the timeline's end check, the swap and the per-frame counters. Without
// drawing, a frame still runs everything that moves the show on.
#include "camera/camera.h"
#include "campath/campath.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"

bool cameraPathMode = false;
bool bloomEnabled = false;
float dd = 0.005f;
bool framesDrawn = true;

static PassKind activePass() {
    return levelTwoActive ? kSceneTwoPass : kSceneOnePass;
}

// The path steers the view only when it was loaded whole; otherwise the user camera does.
bool viewFollowsPath() {
    return cameraPathMode && scenePath(activePass()).usable;
}

void showItem(int index) {
    RenderItem& item = renderItem(index);
    PassKind pass = activePass();
    playbackStep(scenePath(pass));

    // Working copies: a move made by the animation below shows from the next draw.
    float translation[3] = {item.translation[0], item.translation[1], item.translation[2]};
    float rotation[3] = {item.rotation[0], item.rotation[1], item.rotation[2]};

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
    if (framesDrawn)
        drawItem(item, viewMatrix);
}

void runFrame() {
    if (cameraSpeed != 0.0f)
        moveCamera(camera);
    if (cameraLift != 0.0f)
        liftCamera(camera);
    if (!cameraPathMode)
        mouseLook(camera);
    updateFrameTimer(frameTimer);

    if (!levelTwoActive)
        bloomEnabled = true; // the first scene is always seen through the glow
    if (framesDrawn)
        beginScene(bloomEnabled);

    PassKind pass = activePass();
    for (int i = 0; i < renderListSize(); i++) {
        if (renderItem(i).passKind == pass)
            showItem(i);
    }

    if (bloomEnabled && framesDrawn)
        drawGlowPasses(brightness, dd);
}

void showFrame() {
    advanceFixedStep();
    bool sceneTwo = levelTwoActive;
    runFrame();
    if (sceneTwo)
        sceneTwoEndCheck();
    else
        sceneOneEndCheck();
}

void endFrame() {
    if (framesDrawn)
        presentFrame();
    spinAngle += 0.2f * frameTimer.frameFactor;
    advancePathParam(frameTimer.frameFactor);
}

void display() {
    checkStopSignal();
    showFrame();
    endFrame();
}
