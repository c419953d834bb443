// Desktop size, the pointer, the display connection and whether GL is there, from GLUT and
// GLEW. The demo's window covers the whole screen, so the window coordinates GLUT reports
// are screen coordinates.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdio>
#include <dlfcn.h>

#include "platform/platform.h"

void desktopSize(int* width, int* height) {
    *width = glutGet(GLUT_SCREEN_WIDTH);
    *height = glutGet(GLUT_SCREEN_HEIGHT);
}

// GLUT reaches the X server through Xlib, which is then loaded; looked up rather than
// linked, so that nothing else here depends on X.
static int displayLost(void*) {
    printf("\nthe display closed");
    quitShow();
}

void endWithTheDisplay() {
    using Handler = int (*)(void*);
    auto setHandler =
        reinterpret_cast<Handler (*)(Handler)>(dlsym(RTLD_DEFAULT, "XSetIOErrorHandler"));
    if (setHandler)
        setHandler(displayLost);
}

void warpPointer(int x, int y) {
    glutWarpPointer(x, y);
}

bool haveGlContext() {
    return glutGet(GLUT_INIT_STATE) && glutGetWindow() != 0 && glUseProgram != nullptr;
}
