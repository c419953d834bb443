// Start-up, in a fixed order, then the window system's event loop; and the reshape handler.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <IL/il.h>
#include <cstdio>

#include "app/app.h"
#include "audio/music.h"
#include "camera/camera.h"
#include "platform/platform.h"
#include "render/render.h"

Model skyboxModel, skybox2Model, portModel, ufoModel, platformModel, roomModel;
CameraPath levelOnePath, levelTwoPath;

// The loaded path documents: playback keeps reading nodes out of them for the whole run.
static TiXmlDocument levelOneDocument;
static TiXmlDocument levelTwoDocument;

// Loads one model into its global; a file that cannot be read ends start-up.
static void loadModel(Model& into, const char* fileName, int shaderKind, int passKind) {
    Model loaded(fileName, shaderKind, passKind);
    if (!loaded.loaded)
        fatalError(loaded.error.c_str());
    into = std::move(loaded);
}

void setupGraphics() {
    ilInit();
    glClearColor(1, 1, 1, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glewExperimental = GL_TRUE;
    glewInit();
}

void loadSceneModels() {
    loadModel(skyboxModel, "models/skybox.3ds", 3, 1);
    loadModel(skybox2Model, "models/skybox2.3ds", 3, 2);
    setTranslation(skybox2Model, 0, 0, 1000.0f);
    loadModel(portModel, "models/port.3ds", 1, 2);
    loadModel(ufoModel, "models/ufo.3ds", 1, 2);
    loadModel(platformModel, "models/platform.3ds", 1, 2);
    loadModel(roomModel, "models/room.3ds", 1, 1);
    setTranslation(ufoModel, 0, 0, 1000.0f);
    setTranslation(portModel, 0, 0, 1000.0f);
    setTranslation(platformModel, 0, 0, 1000.0f);
}

void reshape(int width, int height) {
    if (height == 0)
        height = 1;
    aspectRatio = float(width) / float(height);
    glViewport(0, 0, width, height);
    windowWidth = width;
    windowHeight = height;
    camera.width = width;
    camera.height = height;
    perspective(40.0f, 1.0f, farPlane);
    glUniformMatrix4fv(sceneProjectionLoc, 1, GL_FALSE, projection);
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

    glutDisplayFunc(display);
    glutIdleFunc(display);
    glutReshapeFunc(reshape);
    glutIgnoreKeyRepeat(1);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(specialKeyDown);
    glutSpecialUpFunc(specialKeyUp);
    glutPassiveMotionFunc(passiveMotion);
    glutSetCursor(GLUT_CURSOR_NONE);

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
    readCameraPath("campath.xml", levelTwoPath, levelTwoDocument);
    readCameraPath("campath2.xml", levelOnePath, levelOneDocument);

    setupRenderTargets();
    bloomEnabled = false;
    glutFullScreen();
    startMusic();
    startClock(demoClock);
}

int runDemo(int argc, char** argv) {
    startDemo(argc, argv);
    glutMainLoop();
    return 0;
}
