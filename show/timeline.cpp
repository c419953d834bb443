// The show's timeline: fixed times on the demo clock, the scene switch, the scene-2
// animation and the fades that end each scene. Every comparison reads the clock afresh.
#include "app/exit.h"
#include "audio/music.h"
#include "campath/campath.h"
#include "model/model.h"
#include "show/flags.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/timeline.h"
#include "show/timer.h"

using show::kFadeEnd;
using show::kFadeStep;
using show::kPhaseThree;
using show::kPhaseTwo;
using show::kSceneOneEnd;
using show::kSceneTwoEnd;

bool levelTwoActive = false;
float brightness = 1.0f;
float animationStart = float(show::kAnimationStart);
float spinAngle = 0;
float liftHeight = 0;
float tiltAngle = 0;
float flyOffset = 0;

double demoSeconds() {
    return elapsedMicros(demoClock) * 1e-6;
}

void switchToLevelTwo() {
    restartSegment();
    brightness = 0;
    bloomEnabled = false;
    levelTwoActive = true;
    placeScenes(kSceneTwoPass);
    switchMusic(show::kLevelTwoMusicFile);
    // Every switch starts scene 2 afresh with its music: the platform and the UFO back on
    // the ground, and the animation 47 s from now. (At the first switch they are there
    // already.)
    liftHeight = tiltAngle = flyOffset = 0;
    setRotation(platformModel, 0, 0, 0);
    setRotation(ufoModel, 0, 0, 0);
    animationStart = float(show::kAnimationStart + demoSeconds());
}

void animationStep() {
    const float factor = frameTimer.frameFactor;
    if (animationStart < demoSeconds() && demoSeconds() < animationStart + kPhaseTwo) {
        // Platform and UFO rise and spin together.
        liftHeight += factor * 0.001;
        setRotation(platformModel, 0, spinAngle, 0);
        setRotation(ufoModel, 0, spinAngle, 0);
        setTranslation(platformModel, 0, liftHeight, 0);
        setTranslation(ufoModel, 0, liftHeight, 0);
    }
    if (animationStart + kPhaseTwo < demoSeconds() &&
        demoSeconds() < animationStart + kPhaseThree) {
        // The UFO tilts and spins faster.
        tiltAngle -= factor * 0.002;
        setRotation(ufoModel, 0, spinAngle * 10.0f, tiltAngle);
    }
    if (demoSeconds() > animationStart + kPhaseThree) {
        // The UFO flies off diagonally.
        flyOffset += factor * 0.005;
        setRotation(ufoModel, 0, spinAngle * 30.0f, tiltAngle);
        setTranslation(ufoModel, flyOffset, flyOffset + liftHeight, 0);
    }
}

void sceneOneEndCheck() {
    if (demoSeconds() > kSceneOneEnd) {
        brightness += kFadeStep;
        if (brightness > kFadeEnd)
            switchToLevelTwo();
    }
}

void sceneTwoEndCheck() {
    if (demoSeconds() > animationStart + kSceneTwoEnd) {
        bloomEnabled = true;
        brightness += kFadeStep;
        if (brightness > kFadeEnd)
            shutDown();
    }
}

void resetShow() {
    levelTwoActive = false;
    bloomEnabled = false;
    brightness = 1.0f;
    animationStart = float(show::kAnimationStart);
    spinAngle = liftHeight = tiltAngle = flyOffset = 0;
    restartSegment();
}
