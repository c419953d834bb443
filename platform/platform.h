// Everything that differs between the desktop and the browser: the window and its loop, the
// GL dialect, the cursor, the keys, images, the music streams and the ways out; and our
// stand-ins for the platform calls the demo was designed around (a monotonic counter, the
// desktop size, the cursor). KESTRUNE_PLATFORM chooses which folder implements the
// per-platform half: platform/desktop/ (GLUT, DevIL, GLU, SDL2_mixer) or platform/web/ (the
// browser page, stb_image, WebGL2, audio elements). What both share is in platform/ itself.
// The seams through which tests run the demo's code without a window or a real clock are
// here too, and nowhere else.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// --- clocks (shared) ---
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
int64_t fixedStepCount(int64_t frame);  // the counter once that frame has begun
void setFixedStepFrame(int64_t frame);  // back (or on) to that frame: a show's saved state
// In a fixed-step run, prints "frame F: " and the text on a line of its own, F being the
// frames begun so far, so that tests can follow the show; in real time nothing.
void printFrameEvent(const char* format, ...) __attribute__((format(printf, 1, 2)));
// KESTRUNE_NO_DRAW=1: frames run the show's logic without drawing (fast, for tests).
bool skipDrawingRequested();

// --- keys ---
// The demo's own key codes. Ordinary keys are their character codes, as typed (case
// matters). The arrows come to the special-key callbacks; their numbers are those the demo
// was designed with, so that the frame events name them as before.
enum Key : int {
    keyEscape = 27,
    keyLeft = 100,
    keyUp = 101,
    keyRight = 102,
    keyDown = 103,
};

// --- the window and its loop ---
struct WindowCallbacks {
    void (*display)();
    void (*reshape)(int width, int height);
    void (*keyboard)(unsigned char key, int x, int y); // an ordinary key pressed
    void (*specialDown)(int key, int x, int y);        // an arrow pressed (keyLeft...)
    void (*specialUp)(int key, int x, int y);          // and released
    void (*motion)(int x, int y);                      // with or without a button held
    bool idle; // display also runs as the idle callback: frames back to back
};

// The window with a GL context; the cursor is hidden (captured, in a browser).
void openWindow(int* argc, char** argv, const char* title, int width, int height);
// A window for tests, tools and benchmarks that draw on their own, never shown: width x
// height, or the screen's size where either is 0.
void openHiddenWindow(const char* title, int width = 0, int height = 0);
// Null callbacks are not served. Held keys give one press and one release; a key pressed
// again, however quickly, is a press of its own.
void setWindowCallbacks(const WindowCallbacks& callbacks);
void enterFullScreen();
// Takes the window off the screen: a tool that draws off screen needs no window shown.
void hideWindow();
// The window's title (a browser page's title).
void setWindowTitle(const char* title);
// The show as the loop sees it: begin starts its music and clocks; drawing is its flag for
// whether frames draw, which a page sets for a frame it pauses at, so that a test's pause
// points are drawn even in a run without drawing.
struct ShowLoop {
    void (*begin)();
    bool* drawing;
};
// Begins the show and runs frames until the window closes, at once on the desktop. A
// browser page loads first and begins on the user's click (sound needs a gesture there);
// it runs frames for good, once per animation frame, and this does not return.
void runMainLoop(const ShowLoop& show);
// For a caller that runs the frames itself: serves the window's pending events (reshape,
// input) and returns whether the window is still open.
bool serveWindowEvents();
void windowSize(int* width, int* height); // the window's size as the window system has it
// Lets the machine rest a moment between frames that have nothing to do (a paused show);
// a browser page returns to its event loop instead.
void restBriefly();
void swapBuffers(); // a browser shows the frame when it returns: nothing to do there
// Whether the context offers what the demo draws with: OpenGL 3.0, or WebGL2.
bool glVersionSupported();
// Whether the render targets follow the window's size: a page resizes its canvas freely,
// while a desktop window never outgrows the screen the targets were made for.
bool targetsFollowWindow();
// Desktop size in pixels, from the window system (needs an open window system).
void desktopSize(int* width, int* height);
// Whether GL may be called: a window with a context and the extension loader's entry
// points. The demo always has them once the event loop runs; unit tests press keys
// without them.
bool haveGlContext();

// The first line of every shader: the GLSL dialect, and for GLSL ES the precisions.
const char* shaderVersionLine();
// Binds a fragment output to colour number 0 before linking (GLSL ES has one output and
// no binding call: there it is number 0 already).
void bindFragmentOutput(unsigned int program, const char* name);

// --- the cursor (shared; the warp is per platform) ---
// Cursor position in screen pixels. The window covers the screen, so window coordinates
// from the motion callbacks are screen coordinates.
void getCursorPos(int* x, int* y);
void setCursorPos(int x, int y); // warps the pointer; the warp's own event is absorbed
void cursorMoved(int x, int y);  // fed by the passive-motion callback
void warpPointer(int x, int y);  // the real pointer, where the platform can move it
// Tests drive the cursor without a window system: with warps off, setCursorPos only
// records the position.
void setCursorWarp(bool enabled);

// --- images ---
// An image in 8-bit RGB or RGBA, bottom row first, rows tightly packed.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int components = 0;
    const unsigned char* pixels = nullptr;
    void* owner = nullptr; // what releaseImage frees, if anything
};
void initImageDecoder();
// Decodes the file; prints why not and returns false for a missing or unusable one.
// imageName is the decoder's name for the image, where it keeps one (the model's).
bool decodeImage(const char* path, unsigned int* imageName, DecodedImage& image);
// Level 0 and the whole mipmap chain of the bound 2D texture.
void uploadMipmaps(const DecodedImage& image);
void releaseImage(DecodedImage& image);

// --- music streams ---
// The six stream operations stand in for the sound library the demo was designed around;
// every call returns at once and a missing file or device leaves the demo silent.
struct MusicStream; // opaque; nullptr when a file could not be opened
bool soundInit(int mixRate, int channels, int flags);
MusicStream* streamOpen(const char* fileName, int mode, int offset, int length);
void streamPlay(int channel, MusicStream* stream);
void streamStop(MusicStream* stream);
void streamClose(MusicStream* stream);
// Author mode's additions: the stream at a position in seconds from its start (past its end:
// silent), and held or going on from where it is. Both return at once.
void streamSeek(MusicStream* stream, double seconds);
void streamPause(MusicStream* stream, bool paused);
void soundClose();

// The output so far goes to its reader now, a line not yet ended included: the demo's lines
// begin with their break, and a browser page gets its output by whole lines.
void showOutputNow();

// --- files and the ways out ---
// A file the demo wrote for the user (a recording): on the desktop it is in the run
// folder already; a browser offers it as a download.
void offerFile(const char* path);
// Ends the process with the status (0 the show ended, 1 a fatal error); a browser page
// stops the frames and says so on the page instead.
[[noreturn]] void endProcess(int status);
// Status 1 after the message, on a line of its own: start-up, or later, cannot go on.
[[noreturn]] void fatalError(const char* message);

// How the show ends (shared). The application hands in what ending means: finish writes
// what it must keep and closes the music; it may itself end the process (a capture run
// ends with its own status).
void setShowEnding(void (*finish)());
// Escape, the show's own end, a closed window: finish, then status 0.
[[noreturn]] void quitShow();
// From now on losing the window system (its server ended) prints one line and quits the
// show as closing its window does, without the X library's fatal-error report.
void endWithTheDisplay();
// SIGINT and SIGTERM are noted by a handler (installed just before the event loop); the
// next frame's checkStopSignal then finishes as quitShow does, but ends by the signal.
void installStopSignals();
void checkStopSignal();

// --- files changed while the show runs (author mode) ---
// Starts noting the files written in the folder and its subfolders (shader/, models/,
// textures/): on the desktop through inotify, in a browser from files dropped on the page.
// Returns false, having said why, when nothing can be watched.
bool startWatching(const char* dir);
// The files written completely since the last call (closed after writing, or renamed into
// place), relative to the folder ("shader/flat.fs", "campath.xml"), each once, in the
// order they were first seen. Never blocks.
std::vector<std::string> pollChangedFiles();
// Queues a changed file as the watch does (a browser's dropped file, after it was stored).
void noteChangedFile(const std::string& path);
std::vector<std::string> takeChangedFiles(); // the queue itself, emptied: for the watches
// The decoder's copy of an image no longer needed (the desktop's decoder keeps every image
// it loaded otherwise).
void forgetImage(unsigned int imageName);

// --- test seams ---
// Tests replace the counter with their own (nullptr restores the real one).
typedef int64_t (*CounterSource)();
void setCounterSource(CounterSource source);
