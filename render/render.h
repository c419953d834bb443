// Rendering: the set-up of the programs, buffers and targets, and the drawing a frame asks
// for: the scene target's clear, one item with the matrices it is handed, the glow passes
// and the swap. render/ knows nothing of the show: what is drawn, when and from where is
// decided in show/. What only render/ itself uses is in render/internal.h.
#pragma once

struct RenderItem;

// The five programs, every RenderItem's buffers and the glow's full-screen quad, which is
// sized from windowWidth and windowHeight; leaves the scene program current.
void setupShaders();
// The two off-screen targets at windowWidth x windowHeight; an incomplete one is fatal.
void setupRenderTargets();
// The targets and the glow's quad to windowWidth x windowHeight, where the platform's
// targets follow the window; nothing before they exist.
void resizeRenderTargets();
// The items' perspective (40 degrees, near plane 1, farPlane) into `projection`, uploaded
// to whichever program is bound: every drawn item does this, reshape once.
void uploadProjection();

// Clears the picture for a frame's items (white, and depth); offScreen first binds the
// scene target, which the glow passes then read.
void beginScene(bool offScreen);
// The item with its program, textures and buffers, the projection and modelView.
void drawItem(const RenderItem& item, const float* modelView);
// The two glow passes from the scene target into the window: brightness scales the
// composite, reach is the glow's "dd".
void drawGlowPasses(float brightness, float reach);
void presentFrame(); // swaps the window's buffers

// The key x: flips shaderEnabled and binds the scene program, or none; only the choice is
// kept while there is no GL (unit tests).
void toggleSceneProgram();
