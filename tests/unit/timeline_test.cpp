// The frame timer, the demo clock and the timeline on an injected counter and on the fixed
// step: the switch, the animation phases' strict bounds, the end fade's glow.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "files.h"

#include "campath/campath.h"
#include "campath/format.h"
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
            for (Model* m : {&scenes.skyboxModel, &scenes.skybox2Model, &scenes.portModel,
                             &scenes.ufoModel, &scenes.platformModel, &scenes.roomModel}) {
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
    showFlags.bloomEnabled = true;
    pathPlayback.pathParam = 0.7f;
    setRotation(scenes.ufoModel, 1, 2, 3);
    setClock(10.0);
    switchToLevelTwo();
    EXPECT_EQ(pathPlayback.pathParam, 0.0f);
    EXPECT_EQ(timeline.brightness, 0.0f);
    EXPECT_FALSE(showFlags.bloomEnabled);
    EXPECT_TRUE(timeline.levelTwoActive);
    EXPECT_FLOAT_EQ(timeline.animationStart, 57.0f);
    EXPECT_EQ(translationOf(scenes.roomModel)[2], 1000.0f); // scene two placed
    EXPECT_EQ(rotationOf(scenes.ufoModel)[2], 0.0f);        // the UFO level on its platform

    // Again in the middle of the animation: back on the ground, 47 s from now.
    timeline.liftHeight = timeline.tiltAngle = timeline.flyOffset = 1.0f;
    setTranslation(scenes.ufoModel, 1, 2, 3);
    setClock(70.0);
    switchToLevelTwo();
    EXPECT_FLOAT_EQ(timeline.animationStart, 117.0f);
    EXPECT_EQ(timeline.liftHeight + timeline.tiltAngle + timeline.flyOffset, 0.0f);
    EXPECT_EQ(translationOf(scenes.ufoModel)[1], 0.0f);

    // The tests' reset brings back the values at load.
    timeline.spinAngle = timeline.liftHeight = timeline.tiltAngle = timeline.flyOffset =
        pathPlayback.pathParam = 1.0f;
    showFlags.bloomEnabled = true;
    resetShow();
    EXPECT_EQ(std::vector<float>({timeline.brightness, timeline.animationStart,
                                  timeline.spinAngle + timeline.liftHeight + timeline.tiltAngle +
                                      timeline.flyOffset + pathPlayback.pathParam}),
              std::vector<float>({1.0f, 47.0f, 0.0f}));
    EXPECT_FALSE(timeline.levelTwoActive || showFlags.bloomEnabled);
}

// A switch in scene 2 plays scene 2's path from its start again, the way the first switch
// found it.
TEST_F(Timeline, ASwitchInSceneTwoPlaysItsPathFromTheStart) {
    TempFolder folder;
    std::vector<PathNode> nodes;
    for (int i = 0; i < 8; i++)
        nodes.push_back({{float(i), 1, 0}, {float(i), 0, 0}});
    ASSERT_EQ(writePathFile(folder.file("campath.xml").c_str(), nodes), "");
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    testing::internal::CaptureStdout();
    loadScenePaths(); // campath2.xml is missing: scene 1 keeps the user camera
    testing::internal::GetCapturedStdout();
    std::filesystem::current_path(previous);
    CameraPath& path = scenePath(kSceneTwoPass);
    ASSERT_TRUE(path.usable);
    const CameraPath loaded = path;

    switchToLevelTwo();
    for (int step = 0; step < 250; step++) { // a few segments on
        playbackStep(path);
        advancePathParam(1.0f);
    }
    ASSERT_GT(path.nodeIndex, 1);
    switchToLevelTwo();
    EXPECT_EQ(std::pair(path.nodeIndex, path.nextNode),
              std::pair(loaded.nodeIndex, loaded.nextNode));
    EXPECT_EQ(path.posWindow[0].x, loaded.posWindow[0].x);
    EXPECT_EQ(pathPlayback.pathParam, 0.0f);
}

TEST_F(Timeline, PlacementParksTheIdleSceneAndLeavesTheActiveSkyBoxToTheFrame) {
    // The frame keeps the active sky box at the eye: placing its scene must not move it, or
    // the first frame would draw it at the origin.
    for (PassKind active : {kSceneOnePass, kSceneTwoPass}) {
        Model& sky = active == kSceneOnePass ? scenes.skyboxModel : scenes.skybox2Model;
        Model& idleSky = active == kSceneOnePass ? scenes.skybox2Model : scenes.skyboxModel;
        setTranslation(sky, 1, 2, 3);
        placeScenes(active);
        EXPECT_EQ(translationOf(sky)[2], 3.0f) << active;
        EXPECT_EQ(translationOf(idleSky)[2], 1000.0f) << active;
        for (Model* m :
             {&scenes.portModel, &scenes.ufoModel, &scenes.platformModel, &scenes.roomModel}) {
            bool playing = (m == &scenes.roomModel) == (active == kSceneOnePass);
            EXPECT_EQ(translationOf(*m)[2], playing ? 0.0f : 1000.0f) << active;
        }
    }
}

// The phases' bounds are strict: exactly 5 seconds into the animation neither the rise
// nor the tilt runs, exactly 9 neither the tilt nor the flight.
TEST_F(Timeline, NothingMovesAtExactlyFiveOrNineSecondsIntoTheAnimation) {
    timeline.spinAngle = 3.0f;
    setRotation(scenes.ufoModel, 0, 0, 0);
    setRotation(scenes.platformModel, 0, 0, 0);
    for (double clock : {52.0, 56.0}) {
        setClock(clock);
        animationStep();
        EXPECT_EQ(std::vector<float>({timeline.liftHeight, timeline.tiltAngle, timeline.flyOffset,
                                      rotationOf(scenes.ufoModel)[1],
                                      rotationOf(scenes.platformModel)[1]}),
                  std::vector<float>(5, 0.0f))
            << clock;
    }
}

// The end fade keeps the glow on whatever the user's "b" does. (The fades' timing, to the
// frame that ends the process, is checked on the real demo.)
TEST_F(Timeline, SceneTwoFadeKeepsTheGlowOn) {
    timeline.levelTwoActive = true;
    setClock(63.5);
    for (int step = 1; step <= 20; step++) {
        showFlags.bloomEnabled = step % 2;
        sceneTwoEndCheck();
        ASSERT_TRUE(showFlags.bloomEnabled) << "step " << step;
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
