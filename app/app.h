// The application frame: start-up and the window callbacks, the frame timer and demo
// clock, keyboard and mouse input, and the process's exits.
#pragma once
#include <cstdint>

#include "campath/campath.h"
#include "model/model.h"

// --- frame timer and demo clock ---
struct FrameTimer {
    float targetFps;
    float fps;
    int64_t frequency;
    int64_t currentCount;
    int64_t lastCount;
    float frameFactor; // frame duration in units of 1/targetFps
};

struct DemoClock {
    double startMicros;
    double endMicros;
    int32_t stopped;
    int64_t frequency;
    int64_t startCount;
    int64_t endCount;
    DemoClock();
};

extern FrameTimer frameTimer;
extern DemoClock demoClock;

void startFrameTimer(FrameTimer& timer); // targetFps 60, first count, frequency
void updateFrameTimer(FrameTimer& timer);
void startClock(DemoClock& clock);
double elapsedMicros(DemoClock& clock);

// --- input state ---
extern bool cameraPathMode;
extern bool bloomEnabled;
extern bool shaderEnabled;
extern bool levelTwoActive;
extern float cameraLift;
extern float dd;
extern float headingAngle, headingSin, headingCos; // kept from the pointer, read by nobody

void keyboard(unsigned char key, int x, int y);
void specialKeyDown(int key, int x, int y);
void specialKeyUp(int key, int x, int y);
void passiveMotion(int x, int y);

// --- start-up ---
extern Model skyboxModel, skybox2Model, portModel, ufoModel, platformModel, roomModel;
extern CameraPath levelOnePath, levelTwoPath;

int runDemo(int argc, char** argv);    // start-up, then the event loop; does not return
void startDemo(int argc, char** argv); // start-up up to the event loop
// The image library, the GL state and the extension loader; needs a window.
void setupGraphics();
// The six models into their globals, the second scene's moved away; needs GL and DevIL.
// A model that cannot be read is fatal.
void loadSceneModels();
void reshape(int width, int height);

// --- exits: every way the process ends goes through here ---
// Exit status 0: the show ran and ended by Escape or by its end.
[[noreturn]] void shutDown();
// A capture run finishes its files here, after the music has stopped; the hook may end the
// process itself with its own status.
extern void (*shutDownHook)();
// Exit status 1: a fatal error; the message is printed on its own line first.
[[noreturn]] void fatalError(const char* message);
