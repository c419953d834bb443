// What the demo does before it ends, however it ends (but for a fatal error).
#include <cstdio>

#include "app/exit.h"
#include "audio/music.h"
#include "campath/campath.h"

// A recording in progress is finished as "e" would finish it, so leaving the demo never
// loses it; one without nodes holds nothing to keep, and the old file stays.
static void finishOpenRecording() {
    if (!pathRecorder.recordingStarted || pathRecorder.recordingFinished)
        return;
    if (!pathRecorder.nodes.empty())
        finishRecording();
    else
        printf("\ncam path not written: no nodes recorded");
}

void finishShow() {
    finishOpenRecording();
    stopMusic();
}
