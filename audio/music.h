// Music: one streamed file at a time, through the platform's six stream operations
// (platform/platform.h). The sequences below are what start-up, the scene switch and the
// shut-down run; every call returns at once and a missing file or device leaves the demo
// silent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MusicStream;

// Every start, switch and stop of the music, stamped with the counter (platform/), so a
// capture can rebuild the sound from the music files. An empty file name is silence.
struct MusicChange {
    int64_t count;
    std::string file;
};

// The music's state, written only by the sequences below.
struct Music {
    MusicStream* currentStream = nullptr; // the stream playing, or nullptr
    std::vector<MusicChange> changes;
};
extern Music music;

// The sequences the demo runs; in a fixed-step run each also prints its frame.
void startMusic(const char* fileName);  // init the sound system, open the file, play it
void switchMusic(const char* fileName); // stop and close current, open and play the new one
void stopMusic();                       // stop, close, close the sound system
