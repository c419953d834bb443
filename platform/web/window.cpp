// The window's size and the pointer in a browser: the canvas is the window and covers the
// page; the pointer is captured and reports only movement (platform/web/host.cpp adds it to
// the cursor's position), so there is no pointer to move and no display to lose.
#include <emscripten.h>

#include "platform/platform.h"

// clang-format off
EM_JS(int, canvasWidth, (), { return Module.canvas.width; });
EM_JS(int, canvasHeight, (), { return Module.canvas.height; });
EM_JS(void, pageTitle, (const char* title), { document.title = UTF8ToString(title); });
// clang-format on

bool webContextReady();

void desktopSize(int* width, int* height) {
    *width = canvasWidth();
    *height = canvasHeight();
}

void windowSize(int* width, int* height) {
    desktopSize(width, height);
}

void setWindowTitle(const char* title) {
    pageTitle(title);
}

void warpPointer(int, int) {}

bool haveGlContext() {
    return webContextReady();
}

void endWithTheDisplay() {
    // A page has no display connection to lose: closing the tab ends everything at once.
}
