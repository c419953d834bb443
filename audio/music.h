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
    // What the show plays (empty: nothing) and the counter at its start: with the counter
    // now, its position. Author mode moves the show's time and the music follows.
    std::string currentFile;
    int64_t startCount = 0;
    std::string streamFile; // what currentStream holds
    // While held, the sequences note what would play but leave the streams alone: a seek
    // reruns the show without sound, then followShowTime puts the music in place.
    bool held = false;
};
extern Music music;

// The sequences the demo runs; in a fixed-step run each also prints its frame.
void startMusic(const char* fileName);  // init the sound system, open the file, play it
void switchMusic(const char* fileName); // stop and close current, open and play the new one
void stopMusic();                       // stop, close, close the sound system

// Author mode: the music at the show's time, as the counter gives it (playing: the current
// file from the position its start makes; past its end or without one, silence), and
// paused or going on.
void followShowTime(bool playing);
// The record of what plays back to the show's start: fileName from the counter's now. The
// streams are left alone (a seek holds the music while it reruns the show).
void rewindMusic(const char* fileName);
