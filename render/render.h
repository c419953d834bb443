// Rendering as start-up and the keys see it: the set-up of the programs, buffers and
// targets, the frame callback, the projection upload and the key x's program toggle.
// The rest of render/ has headers by concern: the flags the frame obeys (render/flags.h),
// the show (render/timeline.h), the two scenes (render/scene.h), the clocks
// (render/timer.h), and what only render/ itself uses (render/internal.h).
#pragma once

// The five programs, every RenderItem's buffers and the glow's full-screen quad, which is
// sized from windowWidth and windowHeight; leaves the scene program current.
void setupShaders();
// The two off-screen targets at windowWidth x windowHeight; an incomplete one is fatal.
void setupRenderTargets();
// The items' perspective (40 degrees, near plane 1, farPlane) into `projection`, uploaded
// to whichever program is bound: the frame does this for every item, reshape once.
void uploadProjection();
// The frame: the display and idle callback, showFrame then endFrame.
void display();
void showFrame(); // fixed step, the frame up to its swap, the scene's end check
void endFrame();  // swap, per-frame counters
// The key x: flips shaderEnabled and binds the scene program, or none; only the choice is
// kept while there is no GL (unit tests).
void toggleSceneProgram();
