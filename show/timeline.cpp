// The show's timeline: fixed times on the demo clock, the scene switch, the scene-2
// animation and the fades that end each scene. Every comparison reads the clock afresh.
#include "platform/platform.h"
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

TimelineState timeline;

double demoSeconds() {
    return elapsedMicros(demoClock) * 1e-6;
}

void switchToLevelTwo() {
    // A switch from scene 2 to itself: its path from its start. (At the first switch the
    // path has not moved yet.)
    if (timeline.levelTwoActive)
        rewindSceneTwoPath();
    restartSegment();
    timeline.brightness = 0;
    showFlags.bloomEnabled = false;
    timeline.levelTwoActive = true;
    placeScenes(kSceneTwoPass);
    switchMusic(show::kLevelTwoMusicFile);
    // Every switch starts scene 2 afresh with its music: the path from its start, the
    // platform and the UFO back on the ground, and the animation 47 s from now. (At the first
    // switch they are there already.)
    timeline.liftHeight = timeline.tiltAngle = timeline.flyOffset = 0;
    setRotation(scenes.platformModel, 0, 0, 0);
    setRotation(scenes.ufoModel, 0, 0, 0);
    timeline.animationStart = float(show::kAnimationStart + demoSeconds());
}

void animationStep() {
    const float factor = frameTimer.frameFactor;
    if (timeline.animationStart < demoSeconds() &&
        demoSeconds() < timeline.animationStart + kPhaseTwo) {
        // Platform and UFO rise and spin together.
        timeline.liftHeight += factor * 0.001;
        setRotation(scenes.platformModel, 0, timeline.spinAngle, 0);
        setRotation(scenes.ufoModel, 0, timeline.spinAngle, 0);
        setTranslation(scenes.platformModel, 0, timeline.liftHeight, 0);
        setTranslation(scenes.ufoModel, 0, timeline.liftHeight, 0);
    }
    if (timeline.animationStart + kPhaseTwo < demoSeconds() &&
        demoSeconds() < timeline.animationStart + kPhaseThree) {
        // The UFO tilts and spins faster.
        timeline.tiltAngle -= factor * 0.002;
        setRotation(scenes.ufoModel, 0, timeline.spinAngle * 10.0f, timeline.tiltAngle);
    }
    if (demoSeconds() > timeline.animationStart + kPhaseThree) {
        // The UFO flies off diagonally.
        timeline.flyOffset += factor * 0.005;
        setRotation(scenes.ufoModel, 0, timeline.spinAngle * 30.0f, timeline.tiltAngle);
        setTranslation(scenes.ufoModel, timeline.flyOffset,
                       timeline.flyOffset + timeline.liftHeight, 0);
    }
}

void sceneOneEndCheck() {
    if (demoSeconds() > kSceneOneEnd) {
        timeline.brightness += kFadeStep;
        if (timeline.brightness > kFadeEnd)
            switchToLevelTwo();
    }
}

void sceneTwoEndCheck() {
    if (demoSeconds() > timeline.animationStart + kSceneTwoEnd) {
        showFlags.bloomEnabled = true;
        timeline.brightness += kFadeStep;
        if (timeline.brightness > kFadeEnd)
            quitShow();
    }
}

void resetShow() {
    timeline = TimelineState{};
    showFlags.bloomEnabled = false;
    restartSegment();
}
