// The show's timeline: fixed times on the demo clock, the scene switch, the scene-2
// animation and the fades that end each scene. Every comparison reads the clock afresh.
#include "app/app.h"
#include "audio/music.h"
#include "campath/campath.h"
#include "render/render.h"

float brightness = 1.0f;
float animationStart = 47.0f;
float spinAngle = 0;
float liftHeight = 0;
float tiltAngle = 0;
float flyOffset = 0;

static const double kSceneOneEnd = 115.0;
static const double kPhaseTwo = 5.0;
static const double kPhaseThree = 9.0;
static const double kSceneTwoEnd = 16.0;
static const float kFadeStep = 0.01f;
static const float kFadeEnd = 2.0f;

double demoSeconds() {
    return elapsedMicros(demoClock) * 1e-6;
}

void switchToLevelTwo() {
    pathParam = 0;
    brightness = 0;
    bloomEnabled = false;
    levelTwoActive = true;
    setTranslation(portModel, 0, 0, 0);
    setTranslation(ufoModel, 0, 0, 0);
    setTranslation(platformModel, 0, 0, 0);
    setTranslation(roomModel, 0, 0, 1000.0f);
    setTranslation(skyboxModel, 0, 0, 1000.0f);
    switchMusic("lvl2.mp3");
    // The whole elapsed time is added, also on a second switch.
    animationStart = float(animationStart + demoSeconds());
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
