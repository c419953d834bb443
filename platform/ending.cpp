// Every way the process ends, the same on every platform. Status 0 means the show ran and
// was ended by Escape, by its own end or by its window; status 1 a fatal error. SIGINT and
// SIGTERM end it as Escape would, then by the signal.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "platform/platform.h"

static void (*showEnding)() = nullptr;

void fatalError(const char* message) {
    printf("\n%s", message);
    endProcess(1);
}

void setShowEnding(void (*finish)()) {
    showEnding = finish;
}

static void runShowEnding() {
    if (showEnding)
        showEnding();
}

void quitShow() {
    runShowEnding();
    endProcess(0);
}

// The handler only notes the signal: writing files and closing the sound are not safe in
// a handler, so the next frame does them.
static volatile sig_atomic_t stopSignal = 0;

static void noteStopSignal(int number) {
    stopSignal = number;
}

void installStopSignals() {
    struct sigaction action = {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    // A second signal ends the process at once, should the frames have stopped.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int number : {SIGINT, SIGTERM}) {
        struct sigaction inherited;
        // A signal ignored by whoever started us (nohup, a background job) stays ignored.
        if (sigaction(number, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            continue;
        sigaction(number, &action, nullptr);
    }
}

void checkStopSignal() {
    int number = stopSignal;
    if (number == 0)
        return;
    runShowEnding();
    printf("\n");
    fflush(stdout);
    // End by the signal itself, so whoever sent it sees it took effect.
    std::signal(number, SIG_DFL);
    raise(number);
    _Exit(128 + number);
}
