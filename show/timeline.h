// The show's timeline: fixed times on the demo clock, the scene switch, the scene-2
// animation and the fades that end each scene (show/timeline.cpp). The frame runs the
// animation for every drawn scene-2 item and one end check per frame.
#pragma once

// The second scene is on; written by switchToLevelTwo only.
extern bool levelTwoActive;
// The glow composite's scale: 1.0 at load, raised by the end fades, 0.0 after the switch.
extern float brightness;
extern float animationStart; // clock second the scene-2 animation begins; moved by the switch
extern float spinAngle;      // degrees; advanced by the frame after every swap
// Written by the animation steps.
extern float liftHeight;
extern float tiltAngle;
extern float flyOffset;

double demoSeconds(); // elapsed seconds of the demo clock, read afresh
// Scene 2 now: music, model positions, brightness, glow off; also the key s, every press.
void switchToLevelTwo();
void animationStep();
void sceneOneEndCheck();
void sceneTwoEndCheck();
// Everything above back to its value at load, and the path's segment restarted (tests).
void resetShow();
