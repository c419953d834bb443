// The six stream operations over SDL2_mixer. Mixing runs on SDL's audio thread; every
// call here returns at once. Without a device or a readable file the calls do nothing.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <cstdio>

#include "audio/music.h"

struct MusicStream {
    Mix_Music* music;
};

static bool soundOpen = false;

bool soundInit(int mixRate, int channels, int /*flags*/) {
    if (soundOpen)
        return true;
    // SDL would otherwise take SIGINT and SIGTERM for itself, and Ctrl+C or kill would no
    // longer end the demo.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        printf("\nno sound: %s", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(mixRate, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        printf("\nno sound: %s", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(channels);
    soundOpen = true;
    return true;
}

MusicStream* streamOpen(const char* fileName, int /*mode*/, int /*offset*/, int /*length*/) {
    if (!soundOpen)
        return nullptr;
    Mix_Music* music = Mix_LoadMUS(fileName);
    if (!music) {
        printf("\nmusic not played: %s: %s", fileName, Mix_GetError());
        return nullptr;
    }
    return new MusicStream{music};
}

void streamPlay(int /*channel*/, MusicStream* stream) {
    // There is one music channel; play starts the stream from its beginning.
    if (stream && soundOpen)
        Mix_PlayMusic(stream->music, 0);
}

void streamStop(MusicStream* stream) {
    if (stream && soundOpen)
        Mix_HaltMusic();
}

void streamClose(MusicStream* stream) {
    if (!stream)
        return;
    if (soundOpen)
        Mix_FreeMusic(stream->music);
    delete stream;
}

void soundClose() {
    if (!soundOpen)
        return;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    soundOpen = false;
}
