// The window's size and the cursor in a browser: the canvas is the window and covers the
// page; the pointer is captured, so the cursor is a position the demo keeps for itself.
#include <emscripten.h>

#include "platform/platform.h"

bool cursorWarpEnabled = true;
int cursorWarpCount = 0;

static int cursorX = 0;
static int cursorY = 0;

// clang-format off
EM_JS(int, canvasWidth, (), { return Module.canvas.width; });
EM_JS(int, canvasHeight, (), { return Module.canvas.height; });
// clang-format on

bool webContextReady();

void desktopSize(int* width, int* height) {
    *width = canvasWidth();
    *height = canvasHeight();
}

void getCursorPos(int* x, int* y) {
    *x = cursorX;
    *y = cursorY;
}

void setCursorPos(int x, int y) {
    // No pointer can be moved in a browser: the captured pointer reports only movement,
    // which the page adds to this position.
    cursorWarpCount++;
    cursorX = x;
    cursorY = y;
}

void cursorMoved(int x, int y) {
    cursorX = x;
    cursorY = y;
}

bool haveGlContext() {
    return webContextReady();
}

void endWithTheDisplay(void (*)()) {
    // A page has no display connection to lose: closing the tab ends everything at once.
}
