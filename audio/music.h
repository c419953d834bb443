// Music: one streamed file at a time over SDL2_mixer. The six stream operations stand in
// for the sound library the demo was designed around; every call returns at once and a
// missing file or device leaves the demo silent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MusicStream; // opaque; nullptr when a file could not be opened

extern MusicStream* currentStream; // written by the sequences below (audio/music.cpp)

bool soundInit(int mixRate, int channels, int flags);
MusicStream* streamOpen(const char* fileName, int mode, int offset, int length);
void streamPlay(int channel, MusicStream* stream);
void streamStop(MusicStream* stream);
void streamClose(MusicStream* stream);
void soundClose();

// Every start, switch and stop of the music, stamped with the counter (platform/), so a
// capture can rebuild the sound from the music files. An empty file name is silence.
// Appended to by the sequences below.
struct MusicChange {
    int64_t count;
    std::string file;
};
extern std::vector<MusicChange> musicChanges;

// The sequences the demo runs; in a fixed-step run each also prints its frame.
void startMusic();                      // init, open "bgmusic.mp3", play
void switchMusic(const char* fileName); // stop and close current, open and play the new one
void stopMusic();                       // stop, close, close the sound system
