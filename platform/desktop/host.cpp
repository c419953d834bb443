// The desktop host: a GLUT window on an OpenGL 3.0 context, GLSL 1.30, and the process's
// own exit.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/desktop/keys.h"
#include "platform/platform.h"

void openWindow(int* argc, char** argv, const char* title, int width, int height) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowPosition(150, 150);
    // Never larger than the screen: author mode's 1280x720 on a smaller one would show,
    // and its picture cover, only a corner of the show.
    int screenWidth = glutGet(GLUT_SCREEN_WIDTH), screenHeight = glutGet(GLUT_SCREEN_HEIGHT);
    if (screenWidth > 0 && width > screenWidth)
        width = screenWidth;
    if (screenHeight > 0 && height > screenHeight)
        height = screenHeight;
    glutInitWindowSize(width, height);
    glutCreateWindow(title);
}

void openHiddenWindow(const char* title, int width, int height) {
    int argc = 1;
    char name[] = "kestrune", *argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    if (width <= 0 || height <= 0)
        desktopSize(&width, &height);
    glutInitWindowSize(width, height);
    glutCreateWindow(title);
    glutHideWindow();
}

void setWindowCallbacks(const WindowCallbacks& callbacks) {
    glutDisplayFunc(callbacks.display);
    glutIdleFunc(callbacks.idle ? callbacks.display : nullptr);
    glutReshapeFunc(callbacks.reshape);
    serveKeys(callbacks);
    glutPassiveMotionFunc(callbacks.motion);
    glutMotionFunc(callbacks.motion);
    glutSetCursor(GLUT_CURSOR_NONE);
    // Closing the window through the window manager ends the event loop, and the shut-down
    // follows as on Escape; GLUT would otherwise end the process at once and lose a
    // recording in progress.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
}

void enterFullScreen() {
    glutFullScreen();
}

void hideWindow() {
    glutHideWindow();
}

void setWindowTitle(const char* title) {
    glutSetWindowTitle(title);
}

void runMainLoop(const ShowLoop& show) {
    show.begin();
    glutMainLoop();
}

bool serveWindowEvents() {
    glutMainLoopEvent();
    return glutGetWindow() != 0; // 0: closed by the window manager
}

void windowSize(int* width, int* height) {
    *width = glutGet(GLUT_WINDOW_WIDTH);
    *height = glutGet(GLUT_WINDOW_HEIGHT);
}

void restBriefly() {
    usleep(2000);
}

void swapBuffers() {
    glutSwapBuffers();
}

bool glVersionSupported() {
    return glewIsSupported("GL_VERSION_3_0");
}

bool targetsFollowWindow() {
    return false; // they keep the screen's size; a smaller window shows a part of them
}

const char* shaderVersionLine() {
    return "#version 130\n";
}

void bindFragmentOutput(unsigned int program, const char* name) {
    glBindFragDataLocation(program, 0, name);
}

void offerFile(const char*) {}

void showOutputNow() {
    fflush(stdout);
}

void endProcess(int status) {
    // The demo's lines begin with their break: the last one is ended here, so a shell prompt
    // or make's own message starts on a line of its own.
    printf("\n");
    fflush(stdout);
    exit(status);
}
