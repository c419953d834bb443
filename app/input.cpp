// Keyboard and pointer callbacks: they only set flags and speeds, or hand over to the
// recorder, the scene switch and the shut-down. The next frame acts on what they set.
#include <GL/glut.h> // the special key numbers
#include <cctype>
#include <cmath>
#include <cstdio>

#include "app/exit.h"
#include "app/input.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "platform/platform.h"
#include "show/flags.h"
#include "render/render.h"
#include "show/timeline.h"

float headingAngle = 0;
float headingSin = 0;
float headingCos = -1;

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
    switch (key) {
    case 27:
        shutDown();
    case 'b':
        showFlags.bloomEnabled = !showFlags.bloomEnabled;
        break;
    case 'c':
        showFlags.cameraPathMode = !showFlags.cameraPathMode;
        break;
    case 'e':
        if (pathRecorder.recordingStarted && !pathRecorder.recordingFinished)
            finishRecording();
        break;
    case 'l':
        stepDd(-kDdStep);
        break;
    case 'o':
        stepDd(kDdStep);
        break;
    case 'q':
        if (!pathRecorder.recordingStarted)
            startRecording();
        break;
    case 's':
        switchToLevelTwo();
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
    case GLUT_KEY_LEFT:
        cameraControl.cameraLift = kMoveSpeed;
        break;
    case GLUT_KEY_UP:
        cameraControl.cameraSpeed = kMoveSpeed;
        break;
    case GLUT_KEY_RIGHT:
        cameraControl.cameraLift = -kMoveSpeed;
        break;
    case GLUT_KEY_DOWN:
        cameraControl.cameraSpeed = -kMoveSpeed;
        break;
    default:
        break;
    }
}

void specialKeyUp(int key, int, int) {
    printFrameEvent("special %d up", key);
    switch (key) {
    case GLUT_KEY_LEFT:
    case GLUT_KEY_RIGHT:
        // Releasing a lift key also stops forward and backward movement.
        cameraControl.cameraLift = 0;
        cameraControl.cameraSpeed = 0;
        break;
    case GLUT_KEY_UP:
    case GLUT_KEY_DOWN:
        cameraControl.cameraSpeed = 0;
        break;
    default:
        break;
    }
}

void passiveMotion(int x, int y) {
    printFrameEvent("pointer %d %d", x, y);
    headingAngle = float(x - 320) / 100.0f;
    headingSin = std::sin(headingAngle);
    headingCos = -std::cos(headingAngle);
    // Mouse look reads the pointer from here.
    cursorMoved(x, y);
}
