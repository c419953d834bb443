// The six stream operations over SDL2_mixer. Mixing runs on SDL's audio thread; every
// call here returns at once. Without a device or a readable file the calls do nothing.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <cstdio>
#include <dlfcn.h>

#include "platform/platform.h"

struct MusicStream {
    Mix_Music* music;
};

static bool soundOpen = false;
// A stream not playing (new, stopped or played out) is only given its position by
// streamSeek; it starts from there when it goes on, in one call, so that not a sample of its
// beginning is heard.
static MusicStream* waiting = nullptr;
static double waitingAt = 0;

// On a machine without a sound card ALSA prints a page of configuration errors while SDL
// looks for a device; the one line below says what matters. SDL loads ALSA itself, so the
// library is only reached through dlopen, and where it is missing there is nothing to quiet.
static void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

static void quietAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!alsa)
        return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler)
        setHandler(ignoreAlsaError);
}

bool soundInit(int mixRate, int channels, int /*flags*/) {
    if (soundOpen)
        return true;
    // SDL would otherwise take SIGINT and SIGTERM for itself, and Ctrl+C or kill would no
    // longer end the demo.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quietAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        printf("\nno sound: %s; the demo plays silent", SDL_GetError());
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(mixRate, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        printf("\nno sound: %s; the demo plays silent", Mix_GetError());
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
    waiting = nullptr;
}

void streamStop(MusicStream* stream) {
    if (stream && soundOpen)
        Mix_HaltMusic();
}

void streamClose(MusicStream* stream) {
    if (!stream)
        return;
    if (waiting == stream)
        waiting = nullptr;
    if (soundOpen)
        Mix_FreeMusic(stream->music);
    delete stream;
}

void streamSeek(MusicStream* stream, double seconds) {
    if (!stream || !soundOpen)
        return;
    waiting = nullptr;
    double length = Mix_MusicDuration(stream->music);
    if (length > 0 && seconds >= length) {
        Mix_HaltMusic(); // past its end: silent until the next seek
        return;
    }
    if (!Mix_PlayingMusic()) {
        waiting = stream;
        waitingAt = seconds;
        return;
    }
    Mix_SetMusicPosition(seconds);
}

void streamPause(MusicStream* stream, bool paused) {
    if (!stream || !soundOpen)
        return;
    if (paused) {
        Mix_PauseMusic();
        return;
    }
    if (!Mix_PlayingMusic() && waiting == stream)
        Mix_FadeInMusicPos(stream->music, 0, 0, waitingAt);
    waiting = nullptr;
    Mix_ResumeMusic();
}

void soundClose() {
    if (!soundOpen)
        return;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    soundOpen = false;
}
