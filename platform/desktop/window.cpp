// Desktop size, cursor and whether GL is there, from GLUT and GLEW. The demo's window
// covers the whole screen, so the window coordinates GLUT reports are screen coordinates.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <dlfcn.h>

#include "platform/platform.h"

bool cursorWarpEnabled = true;
int cursorWarpCount = 0;

static int cursorX = 0;
static int cursorY = 0;

void desktopSize(int* width, int* height) {
    *width = glutGet(GLUT_SCREEN_WIDTH);
    *height = glutGet(GLUT_SCREEN_HEIGHT);
}

static void (*endWithoutDisplay)() = nullptr;

// GLUT reaches the X server through Xlib, which is then loaded; looked up rather than
// linked, so that nothing else here depends on X.
static int displayLost(void*) {
    printf("\nthe display closed");
    endWithoutDisplay();
    return 0;
}

void endWithTheDisplay(void (*end)()) {
    endWithoutDisplay = end;
    using Handler = int (*)(void*);
    auto setHandler =
        reinterpret_cast<Handler (*)(Handler)>(dlsym(RTLD_DEFAULT, "XSetIOErrorHandler"));
    if (setHandler)
        setHandler(displayLost);
}

void getCursorPos(int* x, int* y) {
    *x = cursorX;
    *y = cursorY;
}

void setCursorPos(int x, int y) {
    cursorWarpCount++;
    // The warp comes back as a motion event at (x, y), which then matches what is stored
    // here and turns nothing.
    cursorX = x;
    cursorY = y;
    if (cursorWarpEnabled)
        glutWarpPointer(x, y);
}

void cursorMoved(int x, int y) {
    cursorX = x;
    cursorY = y;
}

bool haveGlContext() {
    return glutGet(GLUT_INIT_STATE) && glutGetWindow() != 0 && glUseProgram != nullptr;
}
