// Rendering: the set-up of the programs, buffers and targets, and the drawing of a frame
// from its description. render/ knows nothing of the show, the camera or the window: what
// is drawn, from where and at which size is all in the FrameDescription it is handed,
// which show/frame.cpp builds. What only render/ itself uses is in render/internal.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "math/vecmath.h"

// The surfaces a normal-mapped item shows, as its normal maps' alpha tells
// (shader/normalmapping.fs): it is drawn with a variant of the program that has only
// their branches. kAnyLighting: the program with all of them.
enum SurfaceLighting : int {
    kAnyLighting = 0,
    kDaylightOnly,    // maps without alpha (it reads 1): the hall
    kHarbourDuskOnly, // the harbour at dusk, but for its water
    kWaterOnly,       // the harbour's water
    kVisitorOnly,     // the UFO and its platform at dusk
};

// One item to draw: its index in the RenderList, the program it selects (its shaderKind,
// and the variant its lighting picks) and its model-view matrix.
struct DrawnItem {
    int index;
    int shaderKind;
    Mat4 modelView;
    int lighting = kAnyLighting;
    // Drawn with the depth test "less or equal": it wins ties with what is drawn before it
    // (items drawn out of list order, which won them in it). Otherwise "less".
    bool winsDepthTies = false;
};

// The glow passes' parameters: on or off, the composite's brightness and the glow's reach
// ("dd").
struct GlowParameters {
    bool bloomEnabled;
    float brightness;
    float dd;
};

// The lighthouse beam: whether it shines, and its model-view (the lantern's place, turned
// about the vertical; the beam runs along the model's x axis both ways).
struct BeamParameters {
    bool visible;
    Mat4 modelView;
};

// One frame: the window's size, the view's projection, the items in drawing order (render/
// draws them as handed), the beam, the glow. With the glow on, the items and the beam go
// into the scene target, which the glow passes read.
struct FrameDescription {
    int windowWidth = 0;
    int windowHeight = 0;
    Mat4 projection = {};
    std::vector<DrawnItem> items;
    BeamParameters beam = {false, {}};
    GlowParameters glow = {false, 1.0f, 0.005f};
};

// The five programs, every RenderItem's buffers and the glow's full-screen quad at the
// screen size given; leaves the scene program current.
void setupShaders(int width, int height);
// The two off-screen targets at the size given; an incomplete one is fatal.
void setupRenderTargets(int width, int height);
// The targets and the glow's quad to a new size, where the platform's targets follow the
// window; nothing before they exist.
void resizeRenderTargets(int width, int height);
// The finished picture off screen, into a colour and depth target of that size (made or
// resized here, left bound), in place of the window; or, with offScreen false, into the
// window again. For tools that read every frame back: the window need not be shown.
void setOutputTarget(bool offScreen, int width, int height);
// The projection, uploaded to whichever program is bound: every drawn item does this,
// reshape once.
void uploadProjection(const float* projection);

// The whole frame up to its swap: the clear, the items, the glow passes.
void renderFrame(const FrameDescription& frame);
// Clears the picture for a frame's items (white, and depth); offScreen first binds the
// scene target, which the glow passes then read.
void beginScene(bool offScreen, int width, int height);
// The item with its program, textures and buffers, the projection and its model-view.
void drawItem(const DrawnItem& item, const float* projection);
// The two glow passes from the scene target into the window of that size: brightness
// scales the composite, dd is the glow's reach.
void drawGlowPasses(const GlowParameters& glow, int width, int height);
void presentFrame(); // swaps the window's buffers

// The key x: flips shaderEnabled and binds the scene program, or none; only the choice is
// kept while there is no GL (unit tests).
void toggleSceneProgram();

// A picture's hash (RGB bytes, top row first), as kestrune-capture --checksums writes it.
uint64_t pictureChecksum(const unsigned char* bytes, size_t size);
// The same of the window's back buffer, width x height from its bottom-left corner.
uint64_t windowChecksum(int width, int height);
