// Keyboard and pointer callbacks: they only set flags and speeds, or hand over to the
// recorder, the scene switch and the shut-down. The next frame acts on what they set.
#include <cctype>
#include <cstdio>

#include "app/author.h"
#include "app/input.h"
#include "app/reload.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "platform/platform.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"
#include "render/render.h"
#include "show/timeline.h"

static const double kDdStep = 0.0005;
static const float kMoveSpeed = 0.25f;

static void stepDd(double step) {
    showFlags.dd = float(double(showFlags.dd) + step);
    printf("\ndd: %f", showFlags.dd);
    fflush(stdout);
}

void keyboard(unsigned char key, int, int) {
    // A fixed-step run reports every input event with its frame, for the tests that drive it.
    printFrameEvent(isgraph(key) ? "key %c" : "key %d", key);
    if (showFlags.authorMode && authorKey(key))
        return;
    switch (key) {
    case keyEscape:
        quitShow();
    case 'b':
        showFlags.bloomEnabled = !showFlags.bloomEnabled;
        authorTime.offTimeline = showFlags.authorMode;
        break;
    case 'c': {
        bool onPath = viewFollowsPath();
        showFlags.cameraPathMode = !showFlags.cameraPathMode;
        if (showFlags.authorMode && onPath)
            flyFromPathCamera(); // the free flight starts where the path's camera is
        break;
    }
    case 'e':
        if (pathRecorder.recordingStarted && !pathRecorder.recordingFinished) {
            finishRecording();
            if (showFlags.authorMode)
                playRecording(); // seen at once, not at the next start
        }
        break;
    case 'l':
        stepDd(-kDdStep);
        break;
    case 'o':
        stepDd(kDdStep);
        break;
    case 'q':
        if (!pathRecorder.recordingStarted) {
            startRecording();
        } else if (showFlags.authorMode && pathRecorder.recordingFinished) {
            resetRecorder(); // an author records again and again
            printEdit("a new recording");
            startRecording();
        }
        break;
    case 's':
        switchToLevelTwo();
        authorTime.offTimeline = showFlags.authorMode;
        break;
    case 'w':
        if (pathRecorder.recordingStarted && !pathRecorder.recordingFinished)
            addRecordNode();
        break;
    case 'x':
        toggleSceneProgram();
        break;
    default:
        break;
    }
}

void specialKeyDown(int key, int, int) {
    printFrameEvent("special %d down", key);
    switch (key) {
    case keyLeft:
        cameraControl.cameraLift = kMoveSpeed;
        break;
    case keyUp:
        cameraControl.cameraSpeed = kMoveSpeed;
        break;
    case keyRight:
        cameraControl.cameraLift = -kMoveSpeed;
        break;
    case keyDown:
        cameraControl.cameraSpeed = -kMoveSpeed;
        break;
    default:
        break;
    }
}

void specialKeyUp(int key, int, int) {
    printFrameEvent("special %d up", key);
    switch (key) {
    case keyLeft:
    case keyRight:
        // Releasing a lift key also stops forward and backward movement.
        cameraControl.cameraLift = 0;
        cameraControl.cameraSpeed = 0;
        break;
    case keyUp:
    case keyDown:
        cameraControl.cameraSpeed = 0;
        break;
    default:
        break;
    }
}

void passiveMotion(int x, int y) {
    printFrameEvent("pointer %d %d", x, y);
    // Mouse look reads the pointer from here.
    cursorMoved(x, y);
}
