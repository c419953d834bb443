// What the desktop and the browser do differently: the window and its loop, the GL
// dialect, image decoding, and the ways out. CMake builds one of platform/desktop/ (GLUT,
// DevIL, GLU) and platform/web/ (the browser page, stb_image, WebGL2).
#pragma once

struct WindowCallbacks {
    void (*display)();
    void (*reshape)(int width, int height);
    void (*keyboard)(unsigned char key, int x, int y);
    void (*specialDown)(int key, int x, int y);
    void (*specialUp)(int key, int x, int y);
    void (*motion)(int x, int y); // with or without a button held
    bool idle;                    // display also runs as the idle callback: frames back to back
};

// The window with a GL context; the cursor is hidden (captured, in a browser).
void openWindow(int* argc, char** argv, const char* title, int width, int height);
// Null callbacks are not served. Held keys give one press and one release.
void setWindowCallbacks(const WindowCallbacks& callbacks);
void enterFullScreen();
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
void swapBuffers(); // a browser shows the frame when it returns: nothing to do there
// Whether the context offers what the demo draws with: OpenGL 3.0, or WebGL2.
bool glVersionSupported();
// Whether the render targets follow the window's size: a page resizes its canvas freely,
// while a desktop window never outgrows the screen the targets were made for.
bool targetsFollowWindow();

// The first line of every shader: the GLSL dialect, and for GLSL ES the precisions.
const char* shaderVersionLine();
// Binds a fragment output to colour number 0 before linking (GLSL ES has one output and
// no binding call: there it is number 0 already).
void bindFragmentOutput(unsigned int program, const char* name);

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

// A file the demo wrote for the user (a recording): on the desktop it is in the run
// folder already; a browser offers it as a download.
void offerFile(const char* path);
// Ends the process with the status (0 the show ended, 1 a fatal error); a browser page
// stops the frames and says so on the page instead.
[[noreturn]] void endProcess(int status);
// Status 1 after the message, on a line of its own: start-up, or later, cannot go on.
[[noreturn]] void fatalError(const char* message);
