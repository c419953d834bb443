// The frame, in the order the show needs: the user camera, the frame timer, then for every
// item of the active scene the camera path, the scene-2 animation and its view, drawn
// through render/; the glow passes, the scene's end check, the swap, the per-frame steps.
#pragma once

void display();           // the display and idle callback: showFrame then endFrame
void showFrame();         // fixed step, the frame up to its swap, the scene's end check
void endFrame();          // swap, per-frame counters
void runFrame();          // camera movement, timer, the active scene's items, the glow passes
void showItem(int index); // one item of the active scene: path, animation, view, draw
bool viewFollowsPath();   // cameraPathMode, and the active path was loaded whole
