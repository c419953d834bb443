// Our stand-ins for the platform calls the demo was designed around: a monotonic
// high-resolution counter, the desktop size, and the mouse cursor. The seams through which
// tests run the demo's code without a window or a real clock are here too, and nowhere else.
#pragma once
#include <cstdint>

// Monotonic counter and its frequency (counts per second, 9 per nanosecond).
int64_t readCounter();
int64_t readFrequency();

// Fixed-step runs (video capture, tests): with KESTRUNE_FPS=N in the environment, or after
// setFixedStep(N), the counter stands at 0 until the first frame and then moves by exactly
// 1/N s per frame, whatever the machine's speed: the show draws the same frames anywhere.
int fixedStepRate();                    // N, 0 in real time, -1 for a malformed KESTRUNE_FPS
bool setFixedStep(int framesPerSecond); // 0 returns to real time; false if out of range
void advanceFixedStep();                // the frame's first act; nothing in real time
int64_t fixedStepFrame();               // frames begun so far in a fixed-step run
// In a fixed-step run, prints "frame F: " and the text on a line of its own, F being the
// frames begun so far, so that tests can follow the show; in real time nothing.
void printFrameEvent(const char* format, ...) __attribute__((format(printf, 1, 2)));
// KESTRUNE_NO_DRAW=1: frames run the show's logic without drawing (fast, for tests).
bool skipDrawingRequested();

// Desktop size in pixels, from the window system (needs an initialised GLUT).
void desktopSize(int* width, int* height);
// From now on, losing the window system (its server ended) prints one line and calls end,
// which must not return: the demo ends as closing its window ends it, without the X
// library's fatal-error report.
void endWithTheDisplay(void (*end)());

// Cursor position in screen pixels. The window covers the screen, so window coordinates
// from the motion callbacks are screen coordinates.
void getCursorPos(int* x, int* y);
void setCursorPos(int x, int y); // warps the pointer; the warp's own event is absorbed
void cursorMoved(int x, int y);  // fed by the passive-motion callback

// --- test seams ---
// Tests replace the counter with their own (nullptr restores the real one).
typedef int64_t (*CounterSource)();
void setCounterSource(CounterSource source);

// Tests drive the cursor without a window system: warps are recorded, not performed.
extern bool cursorWarpEnabled; // true: setCursorPos also warps the real pointer
extern int cursorWarpCount;    // number of setCursorPos calls so far

// Whether GL may be called: a window with a context and the extension loader's entry
// points. The demo always has them once the event loop runs; unit tests press keys
// without them.
bool haveGlContext();
