// The show's timeline: fixed times on the demo clock, the scene switch, the scene-2
// animation and the fades that end each scene (show/timeline.cpp). The frame runs the
// animation for every drawn scene-2 item and one end check per frame.
#pragma once
#include "show/show.h"

// The show's place on its timeline, written here (show/timeline.cpp) but for spinAngle,
// which the frame advances.
struct TimelineState {
    bool levelTwoActive = false; // the second scene is on; set by switchToLevelTwo only
    // The glow composite's scale: 1.0 at load, raised by the end fades, 0.0 after the switch.
    float brightness = 1.0f;
    // Clock second the animation begins; moved by the switch.
    float animationStart = float(show::kAnimationStart);
    float spinAngle = 0; // degrees; advanced by the frame after every swap
    // Written by the animation steps.
    float liftHeight = 0;
    float tiltAngle = 0;
    float flyOffset = 0;
};
extern TimelineState timeline;

double demoSeconds(); // elapsed seconds of the demo clock, read afresh
// Scene 2 now: music, model positions, brightness, glow off; also the key s, every press.
void switchToLevelTwo();
void animationStep();
void sceneOneEndCheck();
void sceneTwoEndCheck();
// The timeline and the glow back to their values at load, and the path's segment
// restarted (tests).
void resetShow();
