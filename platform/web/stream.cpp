// Music in a browser: each stream is an HTML audio element that the browser streams from
// the server as it plays (the files are not in the data package, nor decoded whole).
// Every call returns at once; a file that fails to load is reported by the page.
#include <emscripten.h>

#include "platform/platform.h"

struct MusicStream {
    int element; // the page's number for its audio element
};

// clang-format off
EM_JS(int, audioOpen, (const char* name), { return Module.kestruneAudio.open(UTF8ToString(name)); });
EM_JS(void, audioPlay, (int element), { Module.kestruneAudio.play(element); });
EM_JS(void, audioStop, (int element), { Module.kestruneAudio.stop(element); });
EM_JS(void, audioSeek, (int element, double seconds), { Module.kestruneAudio.seek(element, seconds); });
EM_JS(void, audioPause, (int element, int paused), { Module.kestruneAudio.hold(element, paused); });
EM_JS(void, audioClose, (int element), { Module.kestruneAudio.close(element); });
// clang-format on

bool soundInit(int, int, int) {
    return true; // the page's audio needs no set-up
}

MusicStream* streamOpen(const char* fileName, int, int, int) {
    return new MusicStream{audioOpen(fileName)};
}

void streamPlay(int, MusicStream* stream) {
    if (stream)
        audioPlay(stream->element);
}

void streamStop(MusicStream* stream) {
    if (stream)
        audioStop(stream->element);
}

void streamClose(MusicStream* stream) {
    if (!stream)
        return;
    audioClose(stream->element);
    delete stream;
}

void streamSeek(MusicStream* stream, double seconds) {
    if (stream)
        audioSeek(stream->element, seconds);
}

void streamPause(MusicStream* stream, bool paused) {
    if (stream)
        audioPause(stream->element, paused ? 1 : 0);
}

void soundClose() {}
