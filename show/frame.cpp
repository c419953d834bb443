// The frame: camera movement, the frame timer, then the frame's description (each item of
// the active scene steps the camera path and, in scene 2, the animation, and takes its
// model-view from where the view stands), which render/ draws with the glow passes; the
// timeline's end check, the swap and the per-frame counters. Without drawing, a frame
// still runs everything that moves the show on.
#include "camera/camera.h"
#include "campath/campath.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/timeline.h"
#include "show/timer.h"

ShowFlags showFlags;
static FrameDescription lastFrame; // the frame runFrame described last

static PassKind activePass() {
    return timeline.levelTwoActive ? kSceneTwoPass : kSceneOnePass;
}

// The path steers the view only when it was loaded whole; otherwise the user camera does.
bool viewFollowsPath() {
    return showFlags.cameraPathMode && scenePath(activePass()).usable;
}

void viewProjection(float* out, int width, int height) {
    perspective(out, 40.0f, float(width) / float(height), 1.0f, farPlane);
}

// Where the view stands now: on the path, or at the user camera.
static void viewMatrix(float* out, bool followPath) {
    if (followPath)
        lookAt(out, pathPlayback.pathEye.x, pathPlayback.pathEye.y, pathPlayback.pathEye.z,
               pathPlayback.pathLookAt.x, pathPlayback.pathLookAt.y, pathPlayback.pathLookAt.z,
               0.0f, 1.0f, 0.0f);
    else
        lookAt(out, camera.eye.x, camera.eye.y, camera.eye.z, camera.view.x, camera.view.y,
               camera.view.z, camera.up.x, camera.up.y, camera.up.z);
}

DrawnItem describeItem(int index) {
    const RenderItem& item = renderItem(index);
    PassKind pass = activePass();
    playbackStep(scenePath(pass));

    // Working copies: a move made by the animation below shows from the next draw.
    float translation[3] = {item.translation[0], item.translation[1], item.translation[2]};
    float rotation[3] = {item.rotation[0], item.rotation[1], item.rotation[2]};
    DrawnItem drawn;
    drawn.index = index;
    drawn.shaderKind = item.shaderKind;

    if (timeline.levelTwoActive)
        animationStep();

    bool followPath = viewFollowsPath();
    placeSkybox(pass, followPath ? pathPlayback.pathEye : camera.eye);

    Mat4 modelMatrix;
    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, translation[0], translation[1], translation[2]);
    rotateModel(modelMatrix, rotation[0], rotation[1], rotation[2]);

    float* view = drawn.modelView;
    viewMatrix(view, followPath);
    multiplyMatrix(view, view, modelMatrix);
    return drawn;
}

// The harbour's lighthouse turns its beam with the show's spin, seen from where the last
// item was: the view the frame ends on.
static void describeBeam(FrameDescription& frame) {
    frame.beam.visible = timeline.levelTwoActive && !frame.items.empty();
    if (!frame.beam.visible)
        return;
    Mat4 model, view;
    identityMatrix(model);
    translateMatrix(model, show::kLantern[0], show::kLantern[1], show::kLantern[2]);
    rotateModel(model, 0.0f, show::kBeamTurnsPerSpin * timeline.spinAngle, 0.0f);
    viewMatrix(view, viewFollowsPath());
    multiplyMatrix(frame.beam.modelView, view, model);
}

void describeFrame(FrameDescription& frame) {
    if (!timeline.levelTwoActive)
        showFlags.bloomEnabled = true; // the first scene is always seen through the glow
    frame.windowWidth = camera.width;
    frame.windowHeight = camera.height;
    viewProjection(frame.projection, frame.windowWidth, frame.windowHeight);
    frame.glow = {showFlags.bloomEnabled, timeline.brightness, showFlags.dd};
    frame.items.clear();
    PassKind pass = activePass();
    for (int i = 0; i < renderListSize(); i++) {
        if (renderItem(i).passKind == pass)
            frame.items.push_back(describeItem(i));
    }
    describeBeam(frame);
}

void runFrame() {
    if (cameraControl.cameraSpeed != 0.0f)
        moveCamera(camera);
    if (cameraControl.cameraLift != 0.0f)
        liftCamera(camera);
    if (!showFlags.cameraPathMode)
        mouseLook(camera);
    updateFrameTimer(frameTimer);

    // Kept from frame to frame: its list keeps its room.
    FrameDescription& frame = lastFrame;
    describeFrame(frame);
    if (showFlags.framesDrawn) {
        renderFrame(frame);
        if (showFlags.authorMode)
            drawAuthorOverlay();
    }
}

const FrameDescription& lastFrameDescription() {
    return lastFrame;
}

void showFrame() {
    advanceFixedStep();
    bool sceneTwo = timeline.levelTwoActive;
    runFrame();
    if (sceneTwo)
        sceneTwoEndCheck();
    else
        sceneOneEndCheck();
}

void endFrame() {
    if (showFlags.framesDrawn)
        presentFrame();
    timeline.spinAngle += 0.2f * frameTimer.frameFactor;
    advancePathParam(frameTimer.frameFactor);
}

void display() {
    checkStopSignal();
    showFrame();
    endFrame();
}
