// The browser host: a WebGL2 context on the page's canvas, frames on the browser's
// animation frame, and input that the page (web/shell.html) forwards. The page owns the
// DOM: it filters key repeats, captures the pointer and sizes the canvas to the window.
#include <GL/glew.h>
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>
#include <cstdio>

#include "platform/platform.h"

static WindowCallbacks windowCallbacks = {};
static bool contextReady = false;
static bool ended = false;
static ShowLoop showLoop = {};
static bool drawAll = true; // the frames' drawing as start-up set it
// A test's pause points: the frame with this number is drawn, then the loop waits for
// the page's kestrune_resume (0: none).
static long long pauseFrame = 0;

// clang-format off
EM_JS(int, pageCanvasWidth, (), { return Module.canvas.width; });
EM_JS(int, pageCanvasHeight, (), { return Module.canvas.height; });
EM_JS(void, pageEnded, (int status), { Module.kestruneEnded(status); });
EM_JS(void, pageFrameShown, (), { Module.kestruneFrameShown(); });
EM_JS(void, pageLoaded, (), { Module.kestruneLoaded(); });
EM_JS(void, pagePaused, (int frame), { Module.kestrunePaused(frame); });
// The terminal's pending part of a line, out now (its next break then ends an empty line).
EM_JS(void, pageFlushOutput, (), {
    var stream = FS.streams[1];
    if (stream && stream.tty && stream.tty.output && stream.tty.output.length)
        (stream.tty.ops.fsync || stream.tty.ops.flush)(stream.tty);
});
EM_JS(void, pageOfferFile, (const char* path), {
    var name = UTF8ToString(path);
    try {
        // The recorder's file comes out of the in-memory file system without permission
        // bits (its umask leaves none), and reading it would fail: give it some.
        FS.chmod(name, 420);
        Module.kestruneOffer(name.split('/').pop(), FS.readFile(name));
    } catch (e) {
        err('cannot offer ' + name + ' for download: ' + e);
    }
});
// clang-format on

void openWindow(int*, char**, const char*, int, int) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = true;
    attributes.antialias = false; // the desktop window has no multisampling either
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0) {
        printf("\nthis browser offers no WebGL2: the demo cannot draw\n");
        endProcess(1);
    }
    emscripten_webgl_make_context_current(context);
    contextReady = true;
}

void openHiddenWindow(const char* title, int width, int height) {
    openWindow(nullptr, nullptr, title, width, height); // the canvas is there, shown or not
}

void setWindowCallbacks(const WindowCallbacks& callbacks) {
    windowCallbacks = callbacks;
    if (callbacks.reshape)
        callbacks.reshape(pageCanvasWidth(), pageCanvasHeight());
}

void enterFullScreen() {
    // The page asked for full screen on the click that started the show: a browser grants
    // it only during a user's gesture. The canvas follows the window either way.
}

void hideWindow() {
    // The canvas belongs to the page, which decides what it shows.
}

static bool runOneFrame() {
    long long next = fixedStepFrame() + 1;
    bool pause = pauseFrame != 0 && next == pauseFrame;
    if (pause)
        *showLoop.drawing = true;
    windowCallbacks.display();
    if (pause) {
        pauseFrame = 0;
        *showLoop.drawing = drawAll;
        emscripten_pause_main_loop();
        pagePaused(int(next));
    }
    return pause;
}

static void browserFrame() {
    if (ended)
        return;
    static bool firstFrame = true;
    if (firstFrame) {
        firstFrame = false;
        runOneFrame();
        pageFrameShown(); // the page times its start from the click to here
        return;
    }
    if (drawAll) {
        runOneFrame();
        return;
    }
    // Frames that draw nothing run back to back for a while: the show's logic alone goes
    // many times faster than the browser's sixty animation frames a second.
    double start = emscripten_get_now();
    while (!ended && emscripten_get_now() - start < 12.0) {
        if (runOneFrame())
            break;
    }
}

static bool begun = false;

void runMainLoop(const ShowLoop& loop) {
    showLoop = loop;
    drawAll = *showLoop.drawing;
    pageLoaded();
    // Back to the page, which waits for the click that calls kestrune_start.
    emscripten_unwind_to_js_event_loop();
}

void restBriefly() {}

void swapBuffers() {}

bool serveWindowEvents() {
    return !ended; // the browser serves the page's events between frames
}

bool glVersionSupported() {
    return contextReady; // a WebGL2 context is what the demo asked for, or it ended
}

bool targetsFollowWindow() {
    return true;
}

const char* shaderVersionLine() {
    return "#version 300 es\nprecision highp float;\nprecision highp int;\n";
}

void bindFragmentOutput(unsigned int, const char*) {}

void offerFile(const char* path) {
    pageOfferFile(path);
}

void showOutputNow() {
    fflush(stdout);
    pageFlushOutput();
}

void endProcess(int status) {
    // The page gets the output by whole lines, and the demo's lines begin with their break:
    // the last one is ended here, or it would never show.
    printf("\n");
    fflush(stdout);
    ended = true;
    emscripten_cancel_main_loop();
    pageEnded(status);
    // Back to the page's event loop: the runtime stays for the end screen.
    emscripten_unwind_to_js_event_loop();
}

bool webContextReady() {
    return contextReady;
}

// What the page calls. Every entry returns at once; an ended show takes nothing more.
extern "C" {
EMSCRIPTEN_KEEPALIVE void kestrune_key(int key) {
    if (!ended && windowCallbacks.keyboard)
        windowCallbacks.keyboard((unsigned char)key, 0, 0);
}

// The page names the arrows with the numbers GLUT gives them.
static int arrow(int pageKey) {
    switch (pageKey) {
    case 100:
        return keyLeft;
    case 101:
        return keyUp;
    case 102:
        return keyRight;
    case 103:
        return keyDown;
    default:
        return 0;
    }
}

EMSCRIPTEN_KEEPALIVE void kestrune_special(int pageKey, int down) {
    int key = arrow(pageKey);
    if (ended || !key)
        return;
    if (down && windowCallbacks.specialDown)
        windowCallbacks.specialDown(key, 0, 0);
    else if (!down && windowCallbacks.specialUp)
        windowCallbacks.specialUp(key, 0, 0);
}

// Relative motion: the pointer is captured, so only its movement is known. It moves the
// position the demo last set (mouse look puts it back at the centre every frame).
EMSCRIPTEN_KEEPALIVE void kestrune_pointer(int dx, int dy) {
    if (ended || !windowCallbacks.motion)
        return;
    int x = 0, y = 0;
    getCursorPos(&x, &y);
    windowCallbacks.motion(x + dx, y + dy);
}

EMSCRIPTEN_KEEPALIVE void kestrune_resize(int width, int height) {
    if (!ended && contextReady && windowCallbacks.reshape)
        windowCallbacks.reshape(width, height);
}

// The click: the show begins, once.
EMSCRIPTEN_KEEPALIVE void kestrune_start() {
    if (ended || !showLoop.begin || begun)
        return;
    begun = true;
    showLoop.begin();
    emscripten_set_main_loop(browserFrame, 0, 0);
}

// The next pause point (a frame number), and going on after one.
EMSCRIPTEN_KEEPALIVE void kestrune_pause_at(int frame) {
    pauseFrame = frame;
}

EMSCRIPTEN_KEEPALIVE void kestrune_resume() {
    if (!ended)
        emscripten_resume_main_loop();
}

EMSCRIPTEN_KEEPALIVE int kestrune_frame() {
    return int(fixedStepFrame());
}
}
