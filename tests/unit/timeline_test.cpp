// The frame timer, the demo clock and the timeline on an injected counter and on the fixed
// step: the switch, the animation phases at their strict bounds, the end fade's glow.
#include <gtest/gtest.h>

#include <cmath>

#include "campath/campath.h"
#include "model/model.h"
#include "platform/platform.h"
#include "show/flags.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"

namespace {

int64_t fakeCount = 0;
int64_t fakeCounter() {
    return fakeCount;
}
void setClock(double seconds) {
    fakeCount = int64_t(seconds * double(readFrequency()) + 0.5);
}

const float* translationOf(Model& model) {
    return renderItem(model.firstItem).translation;
}
const float* rotationOf(Model& model) {
    return renderItem(model.firstItem).rotation;
}

class Timeline : public ::testing::Test {
  protected:
    void SetUp() override {
        // One render item per model, so each model's transform can be watched.
        if (renderListSize() == 0)
            for (Model* m :
                 {&skyboxModel, &skybox2Model, &portModel, &ufoModel, &platformModel, &roomModel}) {
                m->firstItem = renderListSize();
                m->itemCount = 1;
                appendRenderItem(RenderItem{});
            }
        setCounterSource(fakeCounter);
        fakeCount = 0;
        startClock(demoClock);
        resetShow();
        frameTimer.frameFactor = 1.0f;
    }
    void TearDown() override { setCounterSource(nullptr); }
};

TEST_F(Timeline, EverySwitchStartsSceneTwoAfresh) {
    bloomEnabled = true;
    pathParam = 0.7f;
    setRotation(ufoModel, 1, 2, 3);
    setClock(10.0);
    switchToLevelTwo();
    EXPECT_EQ(pathParam, 0.0f);
    EXPECT_EQ(brightness, 0.0f);
    EXPECT_FALSE(bloomEnabled);
    EXPECT_TRUE(levelTwoActive);
    EXPECT_FLOAT_EQ(animationStart, 57.0f);
    EXPECT_EQ(translationOf(roomModel)[2], 1000.0f); // scene two placed
    EXPECT_EQ(rotationOf(ufoModel)[2], 0.0f);        // the UFO level on its platform

    // Again in the middle of the animation: back on the ground, 47 s from now.
    liftHeight = tiltAngle = flyOffset = 1.0f;
    setTranslation(ufoModel, 1, 2, 3);
    setClock(70.0);
    switchToLevelTwo();
    EXPECT_FLOAT_EQ(animationStart, 117.0f);
    EXPECT_EQ(liftHeight + tiltAngle + flyOffset, 0.0f);
    EXPECT_EQ(translationOf(ufoModel)[1], 0.0f);

    // The tests' reset brings back the values at load.
    spinAngle = liftHeight = tiltAngle = flyOffset = pathParam = 1.0f;
    bloomEnabled = true;
    resetShow();
    EXPECT_EQ(std::vector<float>({brightness, animationStart,
                                  spinAngle + liftHeight + tiltAngle + flyOffset + pathParam}),
              std::vector<float>({1.0f, 47.0f, 0.0f}));
    EXPECT_FALSE(levelTwoActive || bloomEnabled);
}

TEST_F(Timeline, PlacementParksTheIdleSceneAndLeavesTheActiveSkyBoxToTheFrame) {
    // The frame keeps the active sky box at the eye: placing its scene must not move it, or
    // the first frame would draw it at the origin.
    for (PassKind active : {kSceneOnePass, kSceneTwoPass}) {
        Model& sky = active == kSceneOnePass ? skyboxModel : skybox2Model;
        Model& idleSky = active == kSceneOnePass ? skybox2Model : skyboxModel;
        setTranslation(sky, 1, 2, 3);
        placeScenes(active);
        EXPECT_EQ(translationOf(sky)[2], 3.0f) << active;
        EXPECT_EQ(translationOf(idleSky)[2], 1000.0f) << active;
        for (Model* m : {&portModel, &ufoModel, &platformModel, &roomModel}) {
            bool playing = (m == &roomModel) == (active == kSceneOnePass);
            EXPECT_EQ(translationOf(*m)[2], playing ? 0.0f : 1000.0f) << active;
        }
    }
}

TEST_F(Timeline, AnimationPhasesAtTheirStrictBounds) {
    // One step per row at frame factor 2 with spinAngle 3: lift, tilt, fly-off and the
    // UFO's spin afterwards. Nothing happens at exactly +0, +5 or +9 seconds.
    spinAngle = 3.0f;
    frameTimer.frameFactor = 2.0f;
    struct Row {
        double clock;
        float lift, tilt, fly, ufoSpin;
    } rows[] = {{47.0, 0, 0, 0, NAN},
                {47.5, 0.002f, 0, 0, 3},               // phase 1: rise, spin with the platform
                {52.0, 0.002f, 0, 0, 3},               // exactly +5
                {53.0, 0.002f, -0.004f, 0, 30},        // phase 2: tilt, ten times the spin
                {56.0, 0.002f, -0.004f, 0, 30},        // exactly +9
                {56.001, 0.002f, -0.004f, 0.01f, 90}}; // phase 3: fly off, thirty times
    for (const Row& r : rows) {
        setClock(r.clock);
        animationStep();
        EXPECT_FLOAT_EQ(liftHeight, r.lift) << r.clock;
        EXPECT_FLOAT_EQ(tiltAngle, r.tilt) << r.clock;
        EXPECT_FLOAT_EQ(flyOffset, r.fly) << r.clock;
        if (!std::isnan(r.ufoSpin)) {
            EXPECT_FLOAT_EQ(rotationOf(ufoModel)[1], r.ufoSpin) << r.clock;
        }
    }
    EXPECT_FLOAT_EQ(rotationOf(ufoModel)[2], -0.004f);
    EXPECT_FLOAT_EQ(translationOf(ufoModel)[0], 0.01f);
    EXPECT_FLOAT_EQ(translationOf(ufoModel)[1], 0.012f);
    // The platform stops after phase 1.
    EXPECT_EQ(rotationOf(platformModel)[1], 3.0f);
    EXPECT_FLOAT_EQ(translationOf(platformModel)[1], 0.002f);
}

// The end fade keeps the glow on whatever the user's "b" does. (The fades' timing, to the
// frame that ends the process, is checked on the real demo.)
TEST_F(Timeline, SceneTwoFadeKeepsTheGlowOn) {
    levelTwoActive = true;
    setClock(63.5);
    for (int step = 1; step <= 20; step++) {
        bloomEnabled = step % 2;
        sceneTwoEndCheck();
        ASSERT_TRUE(bloomEnabled) << "step " << step;
    }
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
