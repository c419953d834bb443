// The frame's description, built without a display: which items it holds and with which
// program, the model-view each item is seen with, and the path and animation stepping once
// per described item of the active scene only.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "camera/camera.h"
#include "campath/campath.h"
#include "platform/platform.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/timeline.h"
#include "show/timer.h"

namespace {

// The RenderList: scene-1 and scene-2 items interleaved, the UFO last.
enum Item { OneA, TwoA, OneB, TwoB, Ufo };

// Where m takes the point p.
Vec3 apply(const float* m, Vec3 p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

void expectNear(Vec3 got, Vec3 want, const char* what) {
    EXPECT_NEAR(got.x, want.x, 1e-4) << what;
    EXPECT_NEAR(got.y, want.y, 1e-4) << what;
    EXPECT_NEAR(got.z, want.z, 1e-4) << what;
}

class FrameDescriptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (renderListSize() == 0) {
            const std::pair<int, int> items[] = {{kFlatShader, kSceneOnePass},
                                                 {kNeonShader, kSceneTwoPass},
                                                 {kNormalMappingShader, kSceneOnePass},
                                                 {kSceneShader, kSceneTwoPass},
                                                 {kNormalMappingShader, kSceneTwoPass}};
            for (auto [shaderKind, passKind] : items) {
                RenderItem item;
                item.shaderKind = shaderKind;
                item.passKind = passKind;
                appendRenderItem(item);
            }
            scenes.ufoModel.firstItem = Ufo;
            scenes.ufoModel.itemCount = 1;
        }
        for (int i = 0; i < renderListSize(); i++) {
            setTranslationAndRotation(i, {0, 0, 0}, {0, 0, 0});
            renderItem(i).vertices.clear(); // no bounds: never left out, never moved
        }
        forgetItemBounds();
        scenes.skyboxModel.firstItem = scenes.skyboxModel.itemCount = 0;
        setCursorWarp(false);
        camera.width = 800;
        camera.height = 400;
        // At z = 6 looking down -z: the view only moves the world by -6 along z.
        setCamera(0, 0, 6, 0, 0, 0, 0, 1, 0);
        showFlags = ShowFlags{};
        scenePath(kSceneOnePass).usable = scenePath(kSceneTwoPass).usable = false;
        startClock(demoClock);
        resetShow();
        frameTimer.frameFactor = 1.0f;
    }
    static void setTranslationAndRotation(int index, Vec3 t, Vec3 r) {
        RenderItem& item = renderItem(index);
        item.translation[0] = t.x, item.translation[1] = t.y, item.translation[2] = t.z;
        item.rotation[0] = r.x, item.rotation[1] = r.y, item.rotation[2] = r.z;
    }
    // A square of side 2 about the item's origin, in its x-y plane.
    static void giveSquare(int index) {
        renderItem(index).vertices = {-1, -1, 0, 1, 1, -1, 0, 1, 1, 1, 0, 1, -1, 1, 0, 1};
        forgetItemBounds();
    }
    // The item as described, seen from the user camera at z = 6, moved to t.
    static DrawnItem at(int index, Vec3 t) {
        DrawnItem item;
        item.index = index;
        item.shaderKind = renderItem(index).shaderKind;
        Mat4 view, model;
        lookAt(view, 0, 0, 6, 0, 0, 0, 0, 1, 0);
        identityMatrix(model);
        translateMatrix(model, t.x, t.y, t.z);
        multiplyMatrix(item.modelView, view, model);
        return item;
    }
    static std::vector<int> indices(const std::vector<DrawnItem>& items) {
        std::vector<int> got;
        for (const DrawnItem& item : items)
            got.push_back(item.index);
        return got;
    }
    static std::vector<std::pair<int, int>> indicesAndKinds(const FrameDescription& frame) {
        std::vector<std::pair<int, int>> got;
        for (const DrawnItem& item : frame.items)
            got.push_back({item.index, item.shaderKind});
        return got;
    }
    FrameDescription frame;
};

// Each scene's items in list order with their programs, the window's size and projection,
// and the glow as the flags and the timeline have it (forced on in scene 1).
TEST_F(FrameDescriptionTest, HoldsTheActiveScenesItemsInListOrderAndTheGlow) {
    showFlags.dd = 0.007f;
    describeFrame(frame);
    EXPECT_EQ(indicesAndKinds(frame), (std::vector<std::pair<int, int>>{
                                          {OneA, kFlatShader}, {OneB, kNormalMappingShader}}));
    EXPECT_EQ(std::pair(frame.windowWidth, frame.windowHeight), std::pair(800, 400));
    EXPECT_TRUE(frame.glow.bloomEnabled && showFlags.bloomEnabled);
    EXPECT_EQ(std::pair(frame.glow.brightness, frame.glow.dd), std::pair(1.0f, 0.007f));
    // 40 degrees high, twice as wide: the top edge of the view at distance 1 is tan 20.
    const float top = std::tan(20.0f * 3.1415927f / 180.0f);
    const float* p = frame.projection;
    EXPECT_NEAR(p[5] * top, 1.0f, 1e-5);
    EXPECT_NEAR(p[0] * 2 * top, 1.0f, 1e-5);
    EXPECT_EQ(p[11], -1.0f);

    timeline.levelTwoActive = true;
    timeline.brightness = 0.25f;
    showFlags.bloomEnabled = false; // the key b
    describeFrame(frame);           // a second frame reuses the list
    EXPECT_EQ(indicesAndKinds(frame),
              (std::vector<std::pair<int, int>>{
                  {TwoA, kNeonShader}, {TwoB, kSceneShader}, {Ufo, kNormalMappingShader}}));
    EXPECT_FALSE(frame.glow.bloomEnabled); // scene 2 follows the toggle
    EXPECT_EQ(frame.glow.brightness, 0.25f);
}

// The model-view takes the item's points through its rotation (z, then y, then x applied
// last to first), its translation and the view of the user camera or the path.
TEST_F(FrameDescriptionTest, ModelViewRotatesThenTranslatesThenViews) {
    setTranslationAndRotation(OneB, {1, 2, 3}, {0, 0, 90});
    describeFrame(frame);
    const float* m = frame.items[1].modelView;
    // x turns onto y about z, moves to (1, 3, 3), seen from z = 6.
    expectNear(apply(m, {1, 0, 0}), {1, 3, -3}, "user camera");
    expectNear(apply(m, {0, 0, 0}), {1, 2, -3}, "user camera, origin");

    // Following a path that stands at (0, 0, 10) and looks along +x.
    CameraPath& path = scenePath(kSceneOnePass);
    for (int i = 0; i < 4; i++) {
        path.posWindow[i] = {0, 0, 10};
        path.viewWindow[i] = {1, 0, 10};
    }
    path.amount = 4;
    path.nodeIndex = 0;
    path.usable = true;
    showFlags.cameraPathMode = true;
    pathPlayback.pathParam = 0.5f;
    describeFrame(frame);
    m = frame.items[1].modelView;
    // The item's origin (1, 2, 3) is 1 ahead (-z), 2 up and 7 to the left (-x).
    expectNear(apply(m, {0, 0, 0}), {-7, 2, -1}, "path");
    path.usable = false;
}

// The animation runs once per described scene-2 item, and an item is seen where it was
// before the animation moved it in its own step: the move shows from its next frame.
TEST_F(FrameDescriptionTest, AnimationStepsOncePerDescribedItemOfSceneTwoOnly) {
    timeline.animationStart = -1.0f; // phase 1, the rise, runs from the clock's start
    describeFrame(frame);            // scene 1: no animation
    EXPECT_EQ(timeline.liftHeight, 0.0f);

    timeline.levelTwoActive = true;
    describeFrame(frame);
    EXPECT_FLOAT_EQ(timeline.liftHeight, 3 * 0.001f);
    const float* ufo = frame.items.back().modelView;
    // Copied before its own step, the UFO is seen at the height of two steps (those of the
    // items before it), though it now stands at three.
    EXPECT_NEAR(apply(ufo, {0, 0, 0}).y, 2 * 0.001f, 1e-6);
    EXPECT_FLOAT_EQ(renderItem(Ufo).translation[1], 3 * 0.001f);
}

// Each scene's items step that scene's path: while scene 1 plays, scene 2's path stands
// still, and the first of its own items finishes a segment that is due.
TEST_F(FrameDescriptionTest, OnlyTheActiveScenesItemsStepThePath) {
    CameraPath& path = scenePath(kSceneTwoPass);
    for (int i = 0; i < 4; i++)
        path.posWindow[i] = path.viewWindow[i] = {float(i), 0, 0};
    path.amount = 4; // three segments, never read further
    path.nodeIndex = 0;
    path.usable = true;
    pathPlayback.pathParam = 1.5f; // the next step finishes the segment
    describeFrame(frame);          // scene 1: scene 2's path stands still
    EXPECT_EQ(std::pair(path.nodeIndex, pathPlayback.pathParam), std::pair(0, 1.5f));

    timeline.levelTwoActive = true;
    describeFrame(frame);
    EXPECT_EQ(std::pair(path.nodeIndex, pathPlayback.pathParam), std::pair(1, 0.0f));
    path.usable = false;
}

// The harbour's lighthouse shines in scene 2 only: its beam stands at the lantern, seen
// from where the frame's view ends, and turns with the show's spin.
TEST_F(FrameDescriptionTest, TheBeamTurnsAtTheLanternInSceneTwoOnly) {
    describeFrame(frame);
    EXPECT_FALSE(frame.beam.visible);

    timeline.levelTwoActive = true;
    timeline.spinAngle = 0.0f;
    describeFrame(frame);
    ASSERT_TRUE(frame.beam.visible);
    const Vec3 lantern = {show::kLantern[0], show::kLantern[1], show::kLantern[2] - 6};
    expectNear(apply(frame.beam.modelView, {0, 0, 0}), lantern, "the lantern, seen from z = 6");
    expectNear(apply(frame.beam.modelView, {1, 0, 0}), {lantern.x + 1, lantern.y, lantern.z},
               "the beam along x at first");

    timeline.spinAngle = 30.0f; // a quarter turn of the beam
    describeFrame(frame);
    expectNear(apply(frame.beam.modelView, {1, 0, 0}), {lantern.x, lantern.y, lantern.z - 1},
               "a quarter turn later");
}

// The sphere holds every vertex, snugly; no vertices, or points that are not plain (w not
// 1, not finite), give no bounds at all.
TEST(ItemBounds, HoldEveryVertexOrAreUnknown) {
    const std::vector<float> triangle = {0, 0, 0, 1, 2, 0, 0, 1, 0, 4, 0, 1};
    ItemBounds b = boundsOf(triangle);
    expectNear(b.centre, {1, 2, 0}, "centre of the box about them");
    for (size_t v = 0; v < triangle.size(); v += 4) {
        float dx = triangle[v] - b.centre.x, dy = triangle[v + 1] - b.centre.y;
        EXPECT_LE(std::sqrt(dx * dx + dy * dy), b.radius) << "vertex " << v / 4;
    }
    EXPECT_LT(b.radius, 2.3f);
    EXPECT_LT(boundsOf({}).radius, 0);
    EXPECT_LT(boundsOf({0, 0, 0, 1, 1, 1, 1, 0.5f}).radius, 0);
    EXPECT_LT(boundsOf({0, 0, 0, 1, NAN, 0, 0, 1}).radius, 0);
}

// Seen from z = 6 down -z through 40 degrees high, twice as wide, from 1 to farPlane: a
// sphere is left out only when it lies wholly outside one of the six planes.
TEST(ItemBounds, TheViewLeavesOutOnlyWhatLiesWhollyOutside) {
    Mat4 projection, view;
    perspective(projection, 40.0f, 2.0f, 1.0f, farPlane);
    const float halfHeight = std::tan(20.0f * 3.1415927f / 180.0f); // at distance 1
    auto seen = [&](Vec3 centre, float radius = 1.0f) {
        lookAt(view, 0, 0, 6, 0, 0, 0, 0, 1, 0);
        return mayBeInView({centre, radius}, view, projection);
    };
    const float d = 16; // the centres' distance from the eye below, at z = -10
    const struct {
        Vec3 centre;
        bool in;
        const char* what;
    } cases[] = {
        {{0, 0, -10}, true, "ahead"},
        {{0, 0, 8}, false, "behind the eye"},
        {{0, 0, 5.5f}, true, "across the near plane"},
        {{0, 0, 6 - farPlane - 1.5f}, false, "beyond the far plane"},
        {{0, 0, 6 - farPlane - 0.5f}, true, "across the far plane"},
        {{2 * d * halfHeight + 0.5f, 0, -10}, true, "across the right edge"},
        {{2 * d * halfHeight + 1.5f, 0, -10}, false, "right of the view"},
        {{-2 * d * halfHeight - 1.5f, 0, -10}, false, "left of the view"},
        {{0, d * halfHeight + 0.5f, -10}, true, "across the top edge"},
        {{0, d * halfHeight + 1.5f, -10}, false, "above the view"},
        {{0, -d * halfHeight - 1.5f, -10}, false, "below the view"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(seen(c.centre), c.in) << c.what;
    EXPECT_TRUE(seen({0, 0, 8}, -1.0f)) << "unknown bounds are always drawn";
    EXPECT_TRUE(seen({0, 0, 8}, 3.5f)) << "a big sphere behind the eye reaching past it";

    // The model-view turns the item: its own +z, turned half round, lies ahead.
    Mat4 model, modelView;
    lookAt(view, 0, 0, 6, 0, 0, 0, 0, 1, 0);
    identityMatrix(model);
    rotateModel(model, 0, 180, 0);
    multiplyMatrix(modelView, view, model);
    EXPECT_TRUE(mayBeInView({{0, 0, 10}, 1}, modelView, projection));
    EXPECT_FALSE(mayBeInView({{0, 0, -10}, 1}, modelView, projection));
}

// Nearest first, but an item goes before one listed earlier only where their depths lie
// too far apart ever to tie: at a tie the first drawn stays, as in list order.
TEST_F(FrameDescriptionTest, DrawsNearestFirstWhereNoTieCanChangeAPixel) {
    for (int i : {TwoA, TwoB, Ufo})
        giveSquare(i);
    std::vector<DrawnItem> items = {at(TwoA, {0, 0, -50}), at(TwoB, {0, 0, -10}),
                                    at(Ufo, {0, 0, -30})};
    orderForDrawing(items);
    EXPECT_EQ(indices(items), (std::vector<int>{TwoB, Ufo, TwoA}));

    // TwoB half a unit in front of TwoA: the two may tie, so TwoA stays before it.
    items = {at(TwoA, {0, 0, -50}), at(TwoB, {0, 0, -49.5f}), at(Ufo, {0, 0, -30})};
    orderForDrawing(items);
    EXPECT_EQ(indices(items), (std::vector<int>{Ufo, TwoA, TwoB}));
    for (const DrawnItem& item : items)
        EXPECT_FALSE(item.winsDepthTies);

    // Unknown bounds may tie with anything: list order.
    renderItem(TwoB).vertices.clear();
    forgetItemBounds();
    items = {at(TwoA, {0, 0, -50}), at(TwoB, {0, 0, -10}), at(Ufo, {0, 0, -30})};
    orderForDrawing(items);
    EXPECT_EQ(indices(items), (std::vector<int>{TwoA, TwoB, Ufo}));
}

// Sky boxes listed first go last, the first listed last of all, each winning ties with
// what was drawn before it, as it did drawn first. Listed after another item, they stay
// among the others.
TEST_F(FrameDescriptionTest, SkyBoxesListedFirstAreDrawnLastWinningTies) {
    for (int i = 0; i < renderListSize(); i++)
        giveSquare(i);
    scenes.skyboxModel.firstItem = OneA;
    scenes.skyboxModel.itemCount = 2; // OneA and TwoA
    std::vector<DrawnItem> items = {at(OneA, {0, 0, 0}), at(TwoA, {0, 0, 0}), at(TwoB, {0, 0, -50}),
                                    at(Ufo, {0, 0, -10})};
    orderForDrawing(items);
    EXPECT_EQ(indices(items), (std::vector<int>{Ufo, TwoB, TwoA, OneA}));
    std::vector<bool> winsTies;
    for (const DrawnItem& item : items)
        winsTies.push_back(item.winsDepthTies);
    EXPECT_EQ(winsTies, (std::vector<bool>{false, false, true, true}));

    scenes.skyboxModel.firstItem = TwoA;
    scenes.skyboxModel.itemCount = 1; // after OneA, an item of its own scene here
    items = {at(OneA, {0, 0, -50}), at(TwoA, {0, 0, -49.5f}), at(Ufo, {0, 0, -10})};
    orderForDrawing(items);
    EXPECT_EQ(indices(items), (std::vector<int>{Ufo, OneA, TwoA}));
    EXPECT_FALSE(items[2].winsDepthTies);
}

// Each lit model's items take the variant with only their lighting; in the harbour, the
// item textured with the water map takes the water's. Items of no such model: all of it.
TEST_F(FrameDescriptionTest, EachLitModelTakesTheVariantWithItsLighting) {
    Model& port = scenes.portModel;
    port.firstItem = TwoA; // TwoA and OneB
    port.itemCount = 2;
    port.objects.resize(2);
    port.materials.resize(2);
    strcpy(port.materials[0].fileName, "concrete.tga");
    strcpy(port.materials[1].fileName, "WATER.TGA"); // as a modelling tool may write it
    port.objects[0].materialIndex = 1;
    port.objects[1].materialIndex = 0;
    EXPECT_EQ(surfaceLightingOf(TwoA), kWaterOnly);
    EXPECT_EQ(surfaceLightingOf(OneB), kHarbourDuskOnly);
    port.objects[0].materialIndex = -1; // no known material
    EXPECT_EQ(surfaceLightingOf(TwoA), kHarbourDuskOnly);
    port = Model();

    scenes.roomModel.firstItem = OneB;
    scenes.roomModel.itemCount = 1;
    EXPECT_EQ(surfaceLightingOf(OneB), kDaylightOnly);
    EXPECT_EQ(surfaceLightingOf(Ufo), kVisitorOnly);
    EXPECT_EQ(surfaceLightingOf(TwoB), kAnyLighting);
    describeFrame(frame); // scene 1: OneA is flat, OneB normal mapped in the hall
    EXPECT_EQ(frame.items[0].lighting, kAnyLighting);
    EXPECT_EQ(frame.items[1].lighting, kDaylightOnly);
    scenes.roomModel = Model();
}

// The drawing order and the view leave the describing alone: every item of the scene,
// drawn or not, steps the path and the animation in list order.
TEST_F(FrameDescriptionTest, ItemsOutOfViewOrDrawnOutOfOrderStillStepInListOrder) {
    for (int i : {TwoA, TwoB, Ufo})
        giveSquare(i);
    setTranslationAndRotation(TwoA, {0, 0, 20}, {0, 0, 0});  // behind the eye
    setTranslationAndRotation(TwoB, {0, 0, -40}, {0, 0, 0}); // far ahead; the UFO near
    CameraPath& path = scenePath(kSceneTwoPass);
    for (int i = 0; i < 4; i++)
        path.posWindow[i] = path.viewWindow[i] = {float(i), 0, 0};
    path.amount = 4;
    path.nodeIndex = 0;
    path.usable = true;
    pathPlayback.pathParam = 1.5f; // the first item of the scene finishes the segment
    timeline.animationStart = -1.0f;
    timeline.levelTwoActive = true;

    describeFrame(frame);
    EXPECT_EQ(indices(frame.items), (std::vector<int>{Ufo, TwoB}));
    EXPECT_EQ(std::pair(path.nodeIndex, pathPlayback.pathParam), std::pair(1, 0.0f))
        << "the item out of view stepped the path";
    EXPECT_FLOAT_EQ(timeline.liftHeight, 3 * 0.001f) << "every item stepped the animation";
    // Drawn first, the UFO is still seen as described last: after two steps.
    EXPECT_NEAR(apply(frame.items[0].modelView, {0, 0, 0}).y, 2 * 0.001f, 1e-6);
    EXPECT_EQ(frame.items[0].lighting, kVisitorOnly);
    EXPECT_TRUE(frame.beam.visible);
    path.usable = false;
}

} // namespace
