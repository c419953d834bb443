// Frame timer and demo clock on an injected counter: no sleeping, exact deltas.
#include <gtest/gtest.h>

#include "render/timer.h"
#include "platform/platform.h"

namespace {

int64_t fakeCount = 0;
int64_t fakeCounter() {
    return fakeCount;
}

class Timer : public ::testing::Test {
  protected:
    void SetUp() override {
        fakeCount = 1000000;
        setCounterSource(fakeCounter);
        startFrameTimer(timer);
    }
    void TearDown() override { setCounterSource(nullptr); }
    float frameOf(int64_t nanoseconds) {
        fakeCount += nanoseconds;
        updateFrameTimer(timer);
        return timer.frameFactor;
    }
    FrameTimer timer = {};
};

// Frame length in sixtieths of a second, no upper clamp (a first frame after three seconds of
// loading); an equal or backward count gives one frame, and the next measures from it.
TEST_F(Timer, FrameFactorIsFrameLengthInSixtiethsOfASecond) {
    const int64_t second = readFrequency();
    const std::pair<int64_t, float> frames[] = {
        {second / 60, 1}, {second / 30, 2}, {3 * second, 180},   {0, 1},
        {-5000, 1},       {second / 60, 1}, {second / 120, 0.5f}};
    for (auto [length, factor] : frames)
        EXPECT_NEAR(frameOf(length), factor, 1e-3) << length;
    EXPECT_NEAR(timer.fps, 120.0f, 1e-3);
}

TEST_F(Timer, ClockElapsedMicrosecondsAndStop) {
    DemoClock clock;
    startClock(clock);
    fakeCount += readFrequency() / 2000 * 3; // 1.5 ms
    EXPECT_NEAR(elapsedMicros(clock), 1500.0, 1e-9);
    clock.stopped = 1; // keeps its last reading
    fakeCount += readFrequency();
    EXPECT_NEAR(elapsedMicros(clock), 1500.0, 1e-9);
}

// On the fixed step both clocks see whole frames: the frame factor is exactly 60/N in
// every frame, the counter stands still within a frame, and whole seconds fall on frames.
TEST(Clock, FixedStepDrivesBothClocks) {
    for (int fps : {60, 30, 25, 144}) {
        ASSERT_TRUE(setFixedStep(fps));
        FrameTimer timer = {};
        startFrameTimer(timer);
        DemoClock clock;
        startClock(clock);
        EXPECT_EQ(elapsedMicros(clock), 0.0);
        for (int frame = 1; frame <= 3 * fps; frame++) {
            advanceFixedStep();
            updateFrameTimer(timer);
            ASSERT_EQ(timer.frameFactor, float(60.0 / fps)) << fps << " fps, frame " << frame;
            ASSERT_EQ(readCounter(), timer.currentCount);
            if (frame % fps == 0) {
                ASSERT_EQ(elapsedMicros(clock) * 1e-6, double(frame / fps)) << fps;
            }
        }
        EXPECT_EQ(fixedStepFrame(), 3 * fps);
    }
    EXPECT_FALSE(setFixedStep(-1));
    EXPECT_FALSE(setFixedStep(1001));
    setFixedStep(0);
    EXPECT_EQ(fixedStepRate(), 0);
}

} // namespace
