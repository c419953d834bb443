// The monotonic counter behind both of the demo's clocks: the wall clock, or in a
// fixed-step run a frame counter that moves by exactly one frame per frame.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/platform.h"

// 9 counts per nanosecond: every common frame rate (24, 25, 30, 48, 50, 60, 72, 90, 100,
// 120, 144, 240) and the timer's 60 divide a second into whole counts, so a fixed step
// gives exact frame factors and whole seconds land exactly on frames.
static const int64_t kFrequency = 9000000000;
static const int kMaxFixedRate = 1000;

static CounterSource counterSource = nullptr;

// 0 real time, N fixed steps of 1/N s, -1 a malformed KESTRUNE_FPS. Read on first use.
static int stepRate = 0;
static bool stepRateKnown = false;
static int64_t stepFrame = 0;

static int fixedRateFromEnvironment() {
    const char* text = getenv("KESTRUNE_FPS");
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    long rate = strtol(text, &end, 10);
    if (*end != '\0' || rate < 1 || rate > kMaxFixedRate)
        return -1;
    return int(rate);
}

int fixedStepRate() {
    if (!stepRateKnown) {
        stepRate = fixedRateFromEnvironment();
        stepRateKnown = true;
    }
    return stepRate;
}

bool setFixedStep(int framesPerSecond) {
    if (framesPerSecond < 0 || framesPerSecond > kMaxFixedRate)
        return false;
    stepRate = framesPerSecond;
    stepRateKnown = true;
    stepFrame = 0;
    return true;
}

void advanceFixedStep() {
    if (fixedStepRate() > 0)
        stepFrame++;
}

void setFixedStepFrame(int64_t frame) {
    stepFrame = frame;
}

int64_t fixedStepFrame() {
    return stepFrame;
}

void printFrameEvent(const char* format, ...) {
    if (fixedStepRate() <= 0)
        return;
    char text[200];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // One write: a reader of the output never sees half a line.
    printf("\nframe %lld: %s", (long long)stepFrame, text);
}

int64_t fixedStepCount(int64_t frame) {
    int rate = fixedStepRate();
    if (rate <= 0)
        return 0;
    // Whole counts per frame for the rates that divide the frequency; others round down
    // per frame, never drifting.
    return frame / rate * kFrequency + frame % rate * kFrequency / rate;
}

bool skipDrawingRequested() {
    const char* text = getenv("KESTRUNE_NO_DRAW");
    return text && strcmp(text, "1") == 0;
}

void setCounterSource(CounterSource source) {
    counterSource = source;
}

int64_t readCounter() {
    if (counterSource)
        return counterSource();
    if (fixedStepRate() > 0)
        return fixedStepCount(stepFrame);
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t(now.tv_sec) * 1000000000 + now.tv_nsec) * (kFrequency / 1000000000);
}

int64_t readFrequency() {
    return kFrequency;
}
