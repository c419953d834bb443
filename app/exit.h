// What ending the show means to the demo, handed to the platform's setShowEnding at
// start-up: quitShow (Escape, the show's end, a closed window) and a stop signal run it
// before the process ends. A fatal error ends without it (platform/platform.h).
#pragma once

// A recording in progress is written, and the music and the sound system are closed.
void finishShow();
