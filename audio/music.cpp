// The demo's music: start-up, the scene switch and the shut-down.
#include <cstdio>

#include "audio/music.h"
#include "platform/platform.h"

Music music;

static void noteChange(const char* fileName) {
    music.changes.push_back({readCounter(), fileName});
    music.currentFile = fileName;
    music.startCount = readCounter();
    if (fixedStepRate() <= 0 || music.held)
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
    music.streamFile = fileName;
    noteChange(fileName);
}

void switchMusic(const char* fileName) {
    if (music.held) {
        noteChange(fileName);
        return;
    }
    // The old stream is closed, or every switch would keep a file open for good.
    streamStop(music.currentStream);
    streamClose(music.currentStream);
    music.currentStream = streamOpen(fileName, 0, 0, 0);
    streamPlay(0, music.currentStream);
    music.streamFile = fileName;
    noteChange(fileName);
}

void stopMusic() {
    streamStop(music.currentStream);
    streamClose(music.currentStream);
    music.currentStream = nullptr;
    music.streamFile.clear();
    soundClose();
    noteChange("");
}

void rewindMusic(const char* fileName) {
    music.changes.assign(1, {readCounter(), fileName});
    music.currentFile = fileName;
    music.startCount = readCounter();
}

void followShowTime(bool playing) {
    if (music.currentFile.empty()) {
        streamPause(music.currentStream, true);
        return;
    }
    if (music.streamFile != music.currentFile) {
        // Opened, not played: it starts (if it is to play) at its position below.
        streamStop(music.currentStream);
        streamClose(music.currentStream);
        music.currentStream = streamOpen(music.currentFile.c_str(), 0, 0, 0);
        music.streamFile = music.currentFile;
    }
    double seconds = double(readCounter() - music.startCount) / double(readFrequency());
    streamSeek(music.currentStream, seconds);
    streamPause(music.currentStream, !playing);
}
