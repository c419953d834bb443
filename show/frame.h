// The frame, in the order the show needs: the user camera, the frame timer, then the
// frame's description: for every item of the active scene the camera path, the scene-2
// animation and its view, in list order; render/ draws it, then the scene's end check,
// the swap, the per-frame steps.
#pragma once
#include <vector>

#include "math/vecmath.h"
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
// One item of the active scene: path step, animation step, its model-view, the lighting
// its program variant has.
DrawnItem describeItem(int index);
// The lighting of the model the item belongs to (kAnyLighting for any other item).
SurfaceLighting surfaceLightingOf(int index);

// A sphere about an item's vertices (x, y, z, 1 each), in its model's coordinates; a
// negative radius where there is none to trust (no vertices, or not plain points).
struct ItemBounds {
    Vec3 centre;
    float radius;
};
ItemBounds boundsOf(const std::vector<float>& vertices);
// False only when the sphere, seen with the model-view (rotations and translations), lies
// wholly outside the projection's view: nothing of it could be drawn. Unknown bounds: true.
bool mayBeInView(const ItemBounds& bounds, const float* modelView, const float* projection);
// The bounds are worked out once per item; after its vertices change (tests), forget them.
void forgetItemBounds();
// The drawing order: opaque items nearest first (by the farthest reach of their bounds
// from the eye), so the depth test spares most hidden pixels their shading; the sky boxes
// after them, shaded only where nothing else was. The pixels are those of list order, ties
// included: an item goes ahead of one listed before it only where the two cannot tie, and
// the sky boxes, moved last only where listed first, win their ties with "less or equal"
// (winsDepthTies).
void orderForDrawing(std::vector<DrawnItem>& items);
// The items' projection for a window of that size: 40 degrees, near plane 1, farPlane.
void viewProjection(float* out, int width, int height);
bool viewFollowsPath(); // cameraPathMode, and the active path was loaded whole
