// The frame timer (frameFactor: the last frame's length in sixtieths of a second) and the
// demo clock (microseconds since the show started), both driven by the platform counter.
// Start-up starts both; the frame steps the frame timer once per frame, and the timeline
// reads the demo clock for every comparison. platform/ keeps to the counter itself, a
// stand-in for the operating system's call; these records are the show's own use of it.
#pragma once
#include <cstdint>

struct FrameTimer {
    float targetFps;
    float fps;
    int64_t frequency;
    int64_t currentCount;
    int64_t lastCount;
    float frameFactor; // frame duration in units of 1/targetFps
};

struct DemoClock {
    double startMicros;
    double endMicros;
    int32_t stopped;
    int64_t frequency;
    int64_t startCount;
    int64_t endCount;
    DemoClock();
};

extern FrameTimer frameTimer; // started by start-up, stepped by the frame (show/frame.cpp)
extern DemoClock demoClock;   // started by start-up; each reading by the timeline updates it

void startFrameTimer(FrameTimer& timer); // targetFps 60, first count, frequency
void updateFrameTimer(FrameTimer& timer);
void startClock(DemoClock& clock);
double elapsedMicros(DemoClock& clock);
