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

TEST_F(Timer, FrameFactorIsFrameLengthInSixtiethsOfASecond) {
    const int64_t second = readFrequency();
    EXPECT_NEAR(frameOf(second / 60), 1.0f, 1e-6);
    EXPECT_NEAR(frameOf(second / 30), 2.0f, 1e-6);
    EXPECT_NEAR(frameOf(second / 120), 0.5f, 1e-6);
    EXPECT_NEAR(timer.fps, 120.0f, 1e-3);
    // A first frame after three seconds of loading; there is no upper clamp.
    EXPECT_NEAR(frameOf(3 * second), 180.0f, 1e-3);
}

TEST_F(Timer, EqualOrBackwardCountsGiveOneFrame) {
    EXPECT_EQ(frameOf(0), 1.0f);
    EXPECT_EQ(frameOf(-5000), 1.0f);
    // The next frame measures from the count that was read, even when it went back.
    EXPECT_NEAR(frameOf(readFrequency() / 60), 1.0f, 1e-6);
}

TEST_F(Timer, ClockElapsedMicrosecondsAndStop) {
    DemoClock clock;
    startClock(clock);
    EXPECT_EQ(elapsedMicros(clock), 0.0);
    fakeCount += readFrequency() / 2000 * 3; // 1.5 ms
    EXPECT_NEAR(elapsedMicros(clock), 1500.0, 1e-9);
    fakeCount += readFrequency();
    EXPECT_NEAR(elapsedMicros(clock) * 1e-6, 1.0015, 1e-9);
    clock.stopped = 1; // keeps its last reading
    fakeCount += readFrequency();
    EXPECT_NEAR(elapsedMicros(clock) * 1e-6, 1.0015, 1e-9);
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
