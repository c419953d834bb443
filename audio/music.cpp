// The demo's music: start-up, the scene switch and the shut-down.
#include <cstdio>

#include "audio/music.h"
#include "platform/platform.h"
#include "show/show.h"

MusicStream* currentStream = nullptr;
std::vector<MusicChange> musicChanges;

static void noteChange(const char* fileName) {
    musicChanges.push_back({readCounter(), fileName});
    if (fixedStepRate() <= 0)
        return;
    if (*fileName)
        printf("\nframe %lld: %s starts", (long long)fixedStepFrame(), fileName);
    else
        printf("\nframe %lld: music stops", (long long)fixedStepFrame());
}

void startMusic() {
    soundInit(44100, 32, 0);
    currentStream = streamOpen(show::kLevelOneMusicFile, 0, 0, 0);
    streamPlay(0, currentStream);
    noteChange(show::kLevelOneMusicFile);
}

void switchMusic(const char* fileName) {
    // The old stream is closed, or every switch would keep a file open for good.
    streamStop(currentStream);
    streamClose(currentStream);
    currentStream = streamOpen(fileName, 0, 0, 0);
    streamPlay(0, currentStream);
    noteChange(fileName);
}

void stopMusic() {
    streamStop(currentStream);
    streamClose(currentStream);
    currentStream = nullptr;
    soundClose();
    noteChange("");
}
