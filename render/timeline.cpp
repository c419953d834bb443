// Placeholder until the show's timeline lands.
#include "app/app.h"
#include "render/render.h"
float brightness = 1, animationStart = 47, spinAngle, liftHeight, tiltAngle, flyOffset;
double demoSeconds() { return elapsedMicros(demoClock) * 1e-6; }
void switchToLevelTwo() {}
void animationStep() {}
void sceneOneEndCheck() {}
void sceneTwoEndCheck() {}
