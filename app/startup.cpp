// Start-up, in a fixed order, then the window system's event loop; and the reshape handler.
#include <GL/glew.h>
#include <cstdio>
#include <cstring>

#include "app/author.h"
#include "app/exit.h"
#include "app/input.h"
#include "app/startup.h"
#include "audio/music.h"
#include "camera/camera.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "show/flags.h"
#include "render/render.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/timer.h"

void setupGraphics() {
    initImageDecoder();
    glClearColor(1, 1, 1, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glewExperimental = GL_TRUE;
    glewInit();
}

void reshape(int width, int height) {
    // A window of no height or no width would make the projection non-finite.
    if (height == 0)
        height = 1;
    if (width == 0)
        width = 1;
    glViewport(0, 0, width, height);
    camera.width = width;
    camera.height = height;
    if (targetsFollowWindow())
        resizeRenderTargets(width, height);
    Mat4 projection;
    viewProjection(projection, width, height);
    uploadProjection(projection);
}

// The window's size until the desktop's is known.
const int kDefaultWidth = 640, kDefaultHeight = 480;
const int kAuthorWidth = 1280, kAuthorHeight = 720; // author mode's window

static void noDisplay() {}

void registerWindowCallbacks(bool interactive) {
    // The window system needs a display callback even when the caller draws the frames
    // itself. Mouse look goes on while a button is held (motion serves both).
    void (*frame)() = showFlags.authorMode ? authorDisplay : display;
    setWindowCallbacks({interactive ? frame : noDisplay, reshape, interactive ? keyboard : nullptr,
                        interactive ? specialKeyDown : nullptr,
                        interactive ? specialKeyUp : nullptr, interactive ? passiveMotion : nullptr,
                        interactive});
}

void loadDemo(int argc, char** argv) {
    // Diagnostics start with their line break rather than end with one; unbuffered, they
    // reach a log or a terminal as they happen.
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (fixedStepRate() < 0)
        fatalError("KESTRUNE_FPS must be a whole number of frames per second, 1 to 1000");
    if (skipDrawingRequested())
        showFlags.framesDrawn = false;
    for (int i = 1; i < argc; i++)
        if (strcmp(argv[i], "--edit") == 0)
            showFlags.authorMode = true;
    if (showFlags.authorMode)
        prepareAuthorMode();
    openWindow(&argc, argv, "Kestrune", showFlags.authorMode ? kAuthorWidth : kDefaultWidth,
               showFlags.authorMode ? kAuthorHeight : kDefaultHeight);
    endWithTheDisplay();
    registerWindowCallbacks(true);

    // The window size is kept in the camera, which mouse look centres on.
    desktopSize(&camera.width, &camera.height);
    const int width = camera.width, height = camera.height;
    printf("\n**********************************w: %d - h: %d", width, height);
    setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
    // The window system reports the pointer only once it moves; until then take it to rest
    // at the centre, so leaving the path before touching the mouse turns nothing.
    cursorMoved(width / 2, height / 2);
    printf("\n2222 w: %d - h: %d", width, height);

    setupGraphics();

    loadSceneModels();

    setupShaders(camera.width, camera.height);
    if (!glVersionSupported())
        printf("OpenGL 3.0 not supported.");
    printf("\nmodel count: %d\n", renderListSize());

    showFlags.cameraPathMode = true;
    loadScenePaths();

    setupRenderTargets(camera.width, camera.height);
    showFlags.bloomEnabled = false;
    if (!showFlags.authorMode) // an author keeps a window beside the editor
        enterFullScreen();
}

void beginShow() {
    // The first frame's length counts from here, not from the start of loading (or, in a
    // browser, from the start screen that waits for a click).
    startFrameTimer(frameTimer);
    startMusic(show::kLevelOneMusicFile);
    startClock(demoClock);
}

void startDemo(int argc, char** argv) {
    loadDemo(argc, argv);
    beginShow();
}

int runDemo(int argc, char** argv) {
    setShowEnding(finishShow);
    loadDemo(argc, argv);
    installStopSignals();
    runMainLoop({beginShow, &showFlags.framesDrawn});
    quitShow();
    return 0;
}
