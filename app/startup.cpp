// Start-up, in a fixed order, then the window system's event loop; and the reshape handler.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>
#include <cstdio>

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
#include "show/timer.h"

void setupGraphics() {
    ilInit();
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
    aspectRatio = float(width) / float(height);
    glViewport(0, 0, width, height);
    windowWidth = width;
    windowHeight = height;
    camera.width = width;
    camera.height = height;
    uploadProjection();
}

static void noDisplay() {}

void registerWindowCallbacks(bool interactive) {
    // GLUT needs a display callback even when the caller draws the frames itself.
    glutDisplayFunc(interactive ? display : noDisplay);
    glutIdleFunc(interactive ? display : nullptr);
    glutReshapeFunc(reshape);
    glutIgnoreKeyRepeat(1);
    glutKeyboardFunc(interactive ? keyboard : nullptr);
    glutSpecialFunc(interactive ? specialKeyDown : nullptr);
    glutSpecialUpFunc(interactive ? specialKeyUp : nullptr);
    glutPassiveMotionFunc(interactive ? passiveMotion : nullptr);
    // Mouse look goes on while a button is held.
    glutMotionFunc(interactive ? passiveMotion : nullptr);
}

void startDemo(int argc, char** argv) {
    // Diagnostics start with their line break rather than end with one; unbuffered, they
    // reach a log or a terminal as they happen.
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (fixedStepRate() < 0)
        fatalError("KESTRUNE_FPS must be a whole number of frames per second, 1 to 1000");
    if (skipDrawingRequested())
        framesDrawn = false;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(150, 150);
    glutInitWindowSize(windowWidth, windowHeight);
    glutCreateWindow("Kestrune");
    endWithTheDisplay();

    registerWindowCallbacks(true);
    glutSetCursor(GLUT_CURSOR_NONE);
    // Closing the window through the window manager ends the event loop, and the shut-down
    // follows as on Escape; GLUT would otherwise end the process at once and lose a
    // recording in progress.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);

    desktopSize(&windowWidth, &windowHeight);
    printf("\n**********************************w: %d - h: %d", windowWidth, windowHeight);
    camera.height = windowHeight;
    camera.width = windowWidth;
    setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
    // The window system reports the pointer only once it moves; until then take it to rest
    // at the centre, so leaving the path before touching the mouse turns nothing.
    cursorMoved(windowWidth / 2, windowHeight / 2);
    printf("\n2222 w: %d - h: %d", windowWidth, windowHeight);

    setupGraphics();
    startFrameTimer(frameTimer);

    loadSceneModels();

    setupShaders();
    if (!glewIsSupported("GL_VERSION_3_0"))
        printf("OpenGL 3.0 not supported.");
    printf("\nmodel count: %d\n", renderListSize());

    cameraPathMode = true;
    loadScenePaths();

    setupRenderTargets();
    bloomEnabled = false;
    glutFullScreen();
    startMusic();
    startClock(demoClock);
}

int runDemo(int argc, char** argv) {
    startDemo(argc, argv);
    installStopSignals();
    glutMainLoop();
    shutDown();
    return 0;
}
