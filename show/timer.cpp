// The frame timer (frameFactor: frame length in sixtieths of a second) and the demo clock.
#include "show/timer.h"
#include "platform/platform.h"

FrameTimer frameTimer;
DemoClock demoClock;

DemoClock::DemoClock()
    : startMicros(0), endMicros(0), stopped(0), frequency(readFrequency()), startCount(0),
      endCount(0) {}

void startFrameTimer(FrameTimer& timer) {
    timer.targetFps = 60.0f;
    timer.lastCount = readCounter();
    timer.frequency = readFrequency();
}

void updateFrameTimer(FrameTimer& timer) {
    timer.currentCount = readCounter();
    int64_t delta = timer.currentCount - timer.lastCount;
    timer.frameFactor = float(double(delta) / (double(timer.frequency) / timer.targetFps));
    timer.fps = timer.targetFps / timer.frameFactor;
    // Two updates in one tick, or a counter going backwards, count as one normal frame.
    if (!(timer.frameFactor > 0.0f))
        timer.frameFactor = 1.0f;
    timer.lastCount = timer.currentCount;
}

void startClock(DemoClock& clock) {
    clock.stopped = 0;
    clock.startCount = readCounter();
}

double elapsedMicros(DemoClock& clock) {
    if (clock.stopped == 0)
        clock.endCount = readCounter();
    double scale = 1000000.0 / double(clock.frequency);
    clock.startMicros = double(clock.startCount) * scale;
    clock.endMicros = double(clock.endCount) * scale;
    return clock.endMicros - clock.startMicros;
}
