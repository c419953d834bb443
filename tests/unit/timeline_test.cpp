// The show's timeline on an injected clock: the scene-1 fade and the switch, the three
// animation phases at their strict bounds, and the scene-2 fade that ends the process.
#include <gtest/gtest.h>

#include "app/app.h"
#include "campath/campath.h"
#include "platform/platform.h"
#include "render/render.h"

namespace {

int64_t fakeNanos = 0;
int64_t fakeCounter() {
    return fakeNanos;
}
void setClock(double seconds) {
    fakeNanos = int64_t(seconds * 1e9 + 0.5);
}

// Gives a model one render item of its own, so its transform can be watched.
void giveItem(Model& model) {
    model.firstItem = renderListSize();
    model.itemCount = 1;
    appendRenderItem(RenderItem{});
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
        if (renderListSize() == 0)
            for (Model* m :
                 {&skyboxModel, &skybox2Model, &portModel, &ufoModel, &platformModel, &roomModel})
                giveItem(*m);
        setCounterSource(fakeCounter);
        fakeNanos = 0;
        startClock(demoClock);
        brightness = 1.0f;
        animationStart = 47.0f;
        spinAngle = liftHeight = tiltAngle = flyOffset = 0;
        levelTwoActive = bloomEnabled = false;
        frameTimer.frameFactor = 1.0f;
    }
    void TearDown() override { setCounterSource(nullptr); }
};

TEST_F(Timeline, DemoSecondsFollowsTheClock) {
    setClock(12.5);
    EXPECT_DOUBLE_EQ(demoSeconds(), 12.5);
}

TEST_F(Timeline, SceneOneFadePassesTwoAtTheHundredAndFirstStep) {
    setClock(115.0);
    sceneOneEndCheck(); // strict: nothing at exactly 115 s
    EXPECT_EQ(brightness, 1.0f);
    setClock(115.001);
    for (int step = 1; step <= 100; step++)
        sceneOneEndCheck();
    EXPECT_FALSE(levelTwoActive);
    EXPECT_LE(brightness, 2.0f);
    EXPECT_GT(brightness, 1.99f);
    sceneOneEndCheck();
    EXPECT_TRUE(levelTwoActive);
    EXPECT_EQ(brightness, 0.0f);
    EXPECT_FLOAT_EQ(animationStart, 47.0f + 115.001f);
}

TEST_F(Timeline, SwitchMovesTheScenesAndAddsTheWholeElapsedTime) {
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
    for (Model* m : {&portModel, &ufoModel, &platformModel})
        EXPECT_EQ(translationOf(*m)[2], 0.0f);
    for (Model* m : {&roomModel, &skyboxModel})
        EXPECT_EQ(translationOf(*m)[2], 1000.0f);
    EXPECT_EQ(rotationOf(ufoModel)[2], 3.0f); // rotations are left alone

    // Again in scene 2: the whole elapsed time is added once more.
    setTranslation(ufoModel, 5, 6, 7);
    brightness = 1.5f;
    setClock(20.0);
    switchToLevelTwo();
    EXPECT_FLOAT_EQ(animationStart, 47.0f + 10.0f + 20.0f);
    EXPECT_EQ(translationOf(ufoModel)[1], 0.0f);
    EXPECT_EQ(brightness, 0.0f);
}

TEST_F(Timeline, AnimationPhasesAtTheirStrictBounds) {
    spinAngle = 3.0f;
    frameTimer.frameFactor = 2.0f;
    // At exactly the start nothing happens.
    setClock(47.0);
    animationStep();
    EXPECT_EQ(liftHeight, 0.0f);

    // Phase 1: platform and UFO rise and spin.
    setClock(47.5);
    animationStep();
    EXPECT_FLOAT_EQ(liftHeight, 0.002f);
    EXPECT_EQ(rotationOf(platformModel)[1], 3.0f);
    EXPECT_FLOAT_EQ(translationOf(ufoModel)[1], 0.002f);
    EXPECT_FLOAT_EQ(translationOf(platformModel)[1], 0.002f);

    // Exactly at +5: neither phase 1 nor phase 2.
    setClock(52.0);
    animationStep();
    EXPECT_FLOAT_EQ(liftHeight, 0.002f);
    EXPECT_EQ(tiltAngle, 0.0f);

    // Phase 2: the UFO tilts and spins ten times the angle; the platform stays.
    setClock(53.0);
    animationStep();
    EXPECT_FLOAT_EQ(tiltAngle, -0.004f);
    EXPECT_FLOAT_EQ(rotationOf(ufoModel)[1], 30.0f);
    EXPECT_FLOAT_EQ(rotationOf(ufoModel)[2], -0.004f);
    EXPECT_EQ(rotationOf(platformModel)[1], 3.0f);

    // Exactly at +9: neither phase 2 nor phase 3.
    setClock(56.0);
    animationStep();
    EXPECT_FLOAT_EQ(tiltAngle, -0.004f);
    EXPECT_EQ(flyOffset, 0.0f);

    // Phase 3: the UFO flies off, spinning thirty times the angle.
    setClock(56.001);
    animationStep();
    EXPECT_FLOAT_EQ(flyOffset, 0.01f);
    EXPECT_FLOAT_EQ(rotationOf(ufoModel)[1], 90.0f);
    EXPECT_FLOAT_EQ(translationOf(ufoModel)[0], 0.01f);
    EXPECT_FLOAT_EQ(translationOf(ufoModel)[1], 0.012f);
    EXPECT_FLOAT_EQ(translationOf(platformModel)[1], 0.002f);
}

TEST_F(Timeline, SceneTwoFadeEndsTheProcessAtTheTwoHundredAndFirstStep) {
    levelTwoActive = true;
    brightness = 0.0f;
    setClock(63.0); // exactly animationStart + 16
    sceneTwoEndCheck();
    EXPECT_EQ(brightness, 0.0f);
    EXPECT_FALSE(bloomEnabled);

    setClock(63.5);
    for (int step = 1; step <= 200; step++)
        sceneTwoEndCheck();
    EXPECT_TRUE(bloomEnabled);
    EXPECT_LE(brightness, 2.0f);
    EXPECT_GT(brightness, 1.99f);
    EXPECT_EXIT(sceneTwoEndCheck(), testing::ExitedWithCode(0), "");
}

TEST_F(Timeline, SceneTwoFadeForcesTheGlowPassOnEveryFrame) {
    brightness = 0.0f;
    setClock(70.0);
    sceneTwoEndCheck();
    bloomEnabled = false; // the user's "b"
    sceneTwoEndCheck();
    EXPECT_TRUE(bloomEnabled);
}

} // namespace
