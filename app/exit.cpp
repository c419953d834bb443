// Every way the process ends. Status 0 means the show ran and was ended by Escape or by
// its own end; status 1 means start-up (or later) hit a fatal error.
#include <cstdio>
#include <cstdlib>

#include "app/exit.h"
#include "audio/music.h"

void (*shutDownHook)() = nullptr;

void shutDown() {
    stopMusic();
    if (shutDownHook)
        shutDownHook();
    fflush(stdout);
    exit(0);
}

void fatalError(const char* message) {
    printf("\n%s\n", message);
    fflush(stdout);
    exit(1);
}
