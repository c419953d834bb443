// The cursor as mouse look sees it: the position the motion callbacks last reported, or
// the one the demo last warped it to. The same on every platform; only the warp differs.
#include "platform/platform.h"

static int cursorX = 0;
static int cursorY = 0;
static bool warpEnabled = true;

void getCursorPos(int* x, int* y) {
    *x = cursorX;
    *y = cursorY;
}

void setCursorPos(int x, int y) {
    // The warp comes back as a motion event at (x, y), which then matches what is stored
    // here and turns nothing.
    cursorX = x;
    cursorY = y;
    if (warpEnabled)
        warpPointer(x, y);
}

void cursorMoved(int x, int y) {
    cursorX = x;
    cursorY = y;
}

void setCursorWarp(bool enabled) {
    warpEnabled = enabled;
}
