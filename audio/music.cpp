// The demo's music: start-up, the scene switch and the shut-down.
#include <cstdio>

#include "audio/music.h"
#include "platform/platform.h"

Music music;

static void noteChange(const char* fileName) {
    music.changes.push_back({readCounter(), fileName});
    if (fixedStepRate() <= 0)
        return;
    if (*fileName)
        printf("\nframe %lld: %s starts", (long long)fixedStepFrame(), fileName);
    else
        printf("\nframe %lld: music stops", (long long)fixedStepFrame());
}

void startMusic(const char* fileName) {
    soundInit(44100, 32, 0);
    music.currentStream = streamOpen(fileName, 0, 0, 0);
    streamPlay(0, music.currentStream);
    noteChange(fileName);
}

void switchMusic(const char* fileName) {
    // The old stream is closed, or every switch would keep a file open for good.
    streamStop(music.currentStream);
    streamClose(music.currentStream);
    music.currentStream = streamOpen(fileName, 0, 0, 0);
    streamPlay(0, music.currentStream);
    noteChange(fileName);
}

void stopMusic() {
    streamStop(music.currentStream);
    streamClose(music.currentStream);
    music.currentStream = nullptr;
    soundClose();
    noteChange("");
}
