// The desktop's keys: GLUT's key events to the window callbacks, in the demo's codes.
#pragma once
#include "platform/platform.h"

// Registers the key callbacks with GLUT for the current window; null callbacks are not
// served. Held keys give one press and one release.
void serveKeys(const WindowCallbacks& callbacks);
