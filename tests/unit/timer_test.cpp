// Frame timer and demo clock on an injected counter: no sleeping, exact deltas.
#include <gtest/gtest.h>

#include "app/app.h"
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
    fakeCount += 1500000; // 1.5 ms
    EXPECT_NEAR(elapsedMicros(clock), 1500.0, 1e-9);
    fakeCount += readFrequency();
    EXPECT_NEAR(elapsedMicros(clock) * 1e-6, 1.0015, 1e-9);
    clock.stopped = 1; // keeps its last reading
    fakeCount += readFrequency();
    EXPECT_NEAR(elapsedMicros(clock) * 1e-6, 1.0015, 1e-9);
}

TEST(Clock, RealCounterIsMonotonic) {
    DemoClock clock;
    startClock(clock);
    double first = elapsedMicros(clock);
    EXPECT_GE(first, 0.0);
    EXPECT_GE(elapsedMicros(clock), first);
}

} // namespace
