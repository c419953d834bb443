// Our stand-ins for the platform calls the demo was designed around: a monotonic
// high-resolution counter, the desktop size, and the mouse cursor.
#pragma once
#include <cstdint>

// Monotonic counter in nanoseconds, and its frequency (counts per second).
int64_t readCounter();
int64_t readFrequency();

// Tests replace the counter with their own (nullptr restores the real one).
typedef int64_t (*CounterSource)();
void setCounterSource(CounterSource source);

// Desktop size in pixels, from the window system (needs an initialised GLUT).
void desktopSize(int* width, int* height);

// Cursor position in screen pixels. The window covers the screen, so window coordinates
// from the motion callbacks are screen coordinates.
void getCursorPos(int* x, int* y);
void setCursorPos(int x, int y); // warps the pointer; the warp's own event is absorbed
void cursorMoved(int x, int y);  // fed by the passive-motion callback

// Tests drive the cursor without a window system: warps are recorded, not performed.
extern bool cursorWarpEnabled; // true: setCursorPos also warps the real pointer
extern int cursorWarpCount;    // number of setCursorPos calls so far
