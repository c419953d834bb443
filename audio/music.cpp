// The demo's music: start-up, the scene switch and the shut-down.
#include "audio/music.h"

MusicStream* currentStream = nullptr;

void startMusic() {
    soundInit(44100, 32, 0);
    currentStream = streamOpen("bgmusic.mp3", 0, 0, 0);
    streamPlay(0, currentStream);
}

void switchMusic(const char* fileName) {
    // The old stream is stopped but stays open until the process ends.
    streamStop(currentStream);
    currentStream = streamOpen(fileName, 0, 0, 0);
    streamPlay(0, currentStream);
}

void stopMusic() {
    streamStop(currentStream);
    streamClose(currentStream);
    currentStream = nullptr;
    soundClose();
}
