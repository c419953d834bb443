// The frame, in the order the show needs: the user camera, the frame timer, then the
// frame's description: for every item of the active scene the camera path, the scene-2
// animation and its view, in list order; render/ draws it, then the scene's end check,
// the swap, the per-frame steps.
#pragma once
#include "render/render.h"

void display();   // the display and idle callback: showFrame then endFrame
void showFrame(); // fixed step, the frame up to its swap, the scene's end check
void endFrame();  // swap, per-frame counters
void runFrame();  // camera movement, timer, the frame described and (when drawn) drawn
// What runFrame described last: author mode draws it again while the show stands still.
const FrameDescription& lastFrameDescription();
// The window size, the projection, the glow and the items of the active scene, each
// stepping the path and the animation as it is described. Draws nothing.
void describeFrame(FrameDescription& frame);
// One item of the active scene: path step, animation step, its model-view.
DrawnItem describeItem(int index);
// The items' projection for a window of that size: 40 degrees, near plane 1, farPlane.
void viewProjection(float* out, int width, int height);
bool viewFollowsPath(); // cameraPathMode, and the active path was loaded whole
