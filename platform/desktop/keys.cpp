// Keys on the desktop, from GLUT into the demo's codes, with a held key's repeats dropped.
//
// GLUT's own repeat filter (glutIgnoreKeyRepeat) takes a release for a repeat when the X
// server says the key is down at the moment GLUT reads the release, not when it happened.
// A frame keeps GLUT from reading events for a while; a key released and pressed again
// meanwhile is down by then, and GLUT drops both that release and the new press: quick
// presses of one key were lost. So the server is asked for detectable auto-repeat instead,
// which sends a held key's repeats as presses without releases, and a press of the key
// that is down already is the repeat. Where the server cannot, GLUT's filter stays.
#include <GL/freeglut.h>
#include <cctype>
#include <dlfcn.h>

#include "platform/desktop/keys.h"

static WindowCallbacks served = {};
static bool filterRepeats = false; // ours, rather than GLUT's
// The key pressed last and not yet released: the only one the server repeats. Letters in
// lower case, as shift may change between press and release; arrows above 255.
static int downKey = -1;

static const int kArrowBase = 256;

// Xlib and Xkb are reached through the loaded libraries, as GLUT has them; looked up rather
// than linked, so that nothing else here depends on X.
static bool detectableAutoRepeat() {
    using CurrentDisplay = void* (*)();
    using SetDetectable = int (*)(void*, int, int*);
    auto display = reinterpret_cast<CurrentDisplay>(dlsym(RTLD_DEFAULT, "glXGetCurrentDisplay"));
    auto setDetectable =
        reinterpret_cast<SetDetectable>(dlsym(RTLD_DEFAULT, "XkbSetDetectableAutoRepeat"));
    if (!display || !setDetectable || !display())
        return false;
    int supported = 0;
    return setDetectable(display(), 1, &supported) && supported;
}

// Whether a press is one of its own, not a repeat of the held key.
static bool newPress(int key) {
    if (filterRepeats && key == downKey)
        return false;
    downKey = key;
    return true;
}

static void released(int key) {
    if (key == downKey)
        downKey = -1;
}

static void charPressed(unsigned char key, int x, int y) {
    if (newPress(tolower(key)) && served.keyboard)
        served.keyboard(key, x, y);
}

static void charReleased(unsigned char key, int, int) {
    // Shift may be let go first: a "}" then comes back released as "]", a "@" as "2".
    // Letters are lower case either way; any other character's release ends a held
    // character that is not a letter.
    if (!isalpha(key) && downKey >= 0 && downKey < kArrowBase && !isalpha(downKey))
        downKey = -1;
    else
        released(tolower(key));
}

// GLUT's special keys in the demo's codes; 0 for the keys the demo does not know.
static int arrow(int glutKey) {
    switch (glutKey) {
    case GLUT_KEY_LEFT:
        return keyLeft;
    case GLUT_KEY_UP:
        return keyUp;
    case GLUT_KEY_RIGHT:
        return keyRight;
    case GLUT_KEY_DOWN:
        return keyDown;
    default:
        return 0;
    }
}

static void arrowPressed(int glutKey, int x, int y) {
    int key = arrow(glutKey);
    if (key && newPress(kArrowBase + key) && served.specialDown)
        served.specialDown(key, x, y);
}

static void arrowReleased(int glutKey, int x, int y) {
    int key = arrow(glutKey);
    if (!key)
        return;
    released(kArrowBase + key);
    if (served.specialUp)
        served.specialUp(key, x, y);
}

void serveKeys(const WindowCallbacks& callbacks) {
    served = callbacks;
    filterRepeats = detectableAutoRepeat();
    glutIgnoreKeyRepeat(!filterRepeats);
    glutKeyboardFunc(callbacks.keyboard ? charPressed : nullptr);
    glutKeyboardUpFunc(callbacks.keyboard ? charReleased : nullptr);
    glutSpecialFunc(callbacks.specialDown ? arrowPressed : nullptr);
    glutSpecialUpFunc(callbacks.specialUp ? arrowReleased : nullptr);
}
