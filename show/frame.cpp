// The frame: camera movement, the frame timer, then the frame's description (each item of
// the active scene steps the camera path and, in scene 2, the animation, and takes its
// model-view from where the view stands), which render/ draws with the glow passes; the
// timeline's end check, the swap and the per-frame counters. Without drawing, a frame
// still runs everything that moves the show on.
#include <algorithm>
#include <cmath>
#include <strings.h>
#include <vector>

#include "camera/camera.h"
#include "campath/campath.h"
#include "math/vecmath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/timeline.h"
#include "show/timer.h"

ShowFlags showFlags;
static FrameDescription lastFrame; // the frame runFrame described last

static PassKind activePass() {
    return timeline.levelTwoActive ? kSceneTwoPass : kSceneOnePass;
}

// The path steers the view only when it was loaded whole; otherwise the user camera does.
bool viewFollowsPath() {
    return showFlags.cameraPathMode && scenePath(activePass()).usable;
}

void viewProjection(float* out, int width, int height) {
    perspective(out, 40.0f, float(width) / float(height), 1.0f, farPlane);
}

// Where the view stands now: on the path, or at the user camera.
static void viewMatrix(float* out, bool followPath) {
    if (followPath)
        lookAt(out, pathPlayback.pathEye.x, pathPlayback.pathEye.y, pathPlayback.pathEye.z,
               pathPlayback.pathLookAt.x, pathPlayback.pathLookAt.y, pathPlayback.pathLookAt.z,
               0.0f, 1.0f, 0.0f);
    else
        lookAt(out, camera.eye.x, camera.eye.y, camera.eye.z, camera.view.x, camera.view.y,
               camera.view.z, camera.up.x, camera.up.y, camera.up.z);
}

// The harbour's one map lit as water; every other harbour map is lit at dusk.
const char* const kWaterMap = "water.tga";

// Whether the model's item is textured with that file.
static bool itemTextureIs(const Model& model, int index, const char* fileName) {
    size_t object = size_t(index - model.firstItem);
    if (object >= model.objects.size())
        return false;
    int material = model.objects[object].materialIndex;
    return material >= 0 && size_t(material) < model.materials.size() &&
           strcasecmp(model.materials[size_t(material)].fileName, fileName) == 0;
}

// The normal-mapped models, with the surfaces their maps ask for: each is drawn with the
// program variant that has only those (the content generator writes the hall's maps
// without alpha, the harbour's with its dusk codes and its water's, the visitor's with its
// own).
SurfaceLighting surfaceLightingOf(int index) {
    const std::pair<const Model*, SurfaceLighting> lit[] = {{&scenes.roomModel, kDaylightOnly},
                                                            {&scenes.portModel, kHarbourDuskOnly},
                                                            {&scenes.ufoModel, kVisitorOnly},
                                                            {&scenes.platformModel, kVisitorOnly}};
    for (auto [model, lighting] : lit)
        if (index >= model->firstItem && index < model->firstItem + model->itemCount)
            return lighting == kHarbourDuskOnly && itemTextureIs(*model, index, kWaterMap)
                       ? kWaterOnly
                       : lighting;
    return kAnyLighting;
}

static bool isSkyItem(int index) {
    for (const Model* sky : {&scenes.skyboxModel, &scenes.skybox2Model})
        if (index >= sky->firstItem && index < sky->firstItem + sky->itemCount)
            return true;
    return false;
}

DrawnItem describeItem(int index) {
    const RenderItem& item = renderItem(index);
    PassKind pass = activePass();
    playbackStep(scenePath(pass));

    // Working copies: a move made by the animation below shows from the next draw.
    float translation[3] = {item.translation[0], item.translation[1], item.translation[2]};
    float rotation[3] = {item.rotation[0], item.rotation[1], item.rotation[2]};
    DrawnItem drawn;
    drawn.index = index;
    drawn.shaderKind = item.shaderKind;
    if (item.shaderKind == kNormalMappingShader)
        drawn.lighting = surfaceLightingOf(index);

    if (timeline.levelTwoActive)
        animationStep();

    bool followPath = viewFollowsPath();
    placeSkybox(pass, followPath ? pathPlayback.pathEye : camera.eye);

    Mat4 modelMatrix;
    identityMatrix(modelMatrix);
    translateMatrix(modelMatrix, translation[0], translation[1], translation[2]);
    rotateModel(modelMatrix, rotation[0], rotation[1], rotation[2]);

    float* view = drawn.modelView;
    viewMatrix(view, followPath);
    multiplyMatrix(view, view, modelMatrix);
    return drawn;
}

ItemBounds boundsOf(const std::vector<float>& vertices) {
    size_t count = vertices.size() / 4;
    if (count == 0)
        return {{0, 0, 0}, -1.0f};
    float low[3], high[3];
    for (int a = 0; a < 3; a++)
        low[a] = high[a] = vertices[size_t(a)];
    for (size_t v = 0; v < count; v++) {
        const float* p = &vertices[v * 4];
        if (p[3] != 1.0f || !std::isfinite(p[0] + p[1] + p[2]))
            return {{0, 0, 0}, -1.0f}; // not plain points: no bounds worth trusting
        for (int a = 0; a < 3; a++) {
            low[a] = std::min(low[a], p[a]);
            high[a] = std::max(high[a], p[a]);
        }
    }
    Vec3 centre = {(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2};
    float farthest = 0;
    for (size_t v = 0; v < count; v++) {
        const float* p = &vertices[v * 4];
        float dx = p[0] - centre.x, dy = p[1] - centre.y, dz = p[2] - centre.z;
        farthest = std::max(farthest, dx * dx + dy * dy + dz * dz);
    }
    // A little more than the farthest vertex: rounding must never leave a vertex outside.
    return {centre, std::sqrt(farthest) * 1.001f + 1e-3f};
}

// Where the model-view takes the point (rotations and translations only: lengths keep).
static Vec3 transformPoint(const float* m, Vec3 p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

bool mayBeInView(const ItemBounds& bounds, const float* modelView, const float* projection) {
    if (bounds.radius < 0)
        return true;
    Vec3 c = transformPoint(modelView, bounds.centre);
    // The six clip planes in view space: the fourth row of the projection plus or minus
    // each of the first three (the view holds x, y and z within -w to w).
    const float* p = projection;
    for (int row = 0; row < 3; row++)
        for (float sign : {1.0f, -1.0f}) {
            float a = p[3] + sign * p[row], b = p[7] + sign * p[4 + row],
                  cz = p[11] + sign * p[8 + row], d = p[15] + sign * p[12 + row];
            float length = std::sqrt(a * a + b * b + cz * cz);
            if (!(length > 0))
                continue;
            float distance = (a * c.x + b * c.y + cz * c.z + d) / length;
            // A margin for the rounding of the GPU's transform against ours.
            if (distance < -(bounds.radius * 1.001f + 0.01f))
                return false;
        }
    return true;
}

// Each item's bounds, worked out once from its vertices: the list's geometry never changes
// once loaded (forgetItemBounds where it does).
namespace {
struct CachedBounds {
    bool known = false;
    ItemBounds bounds;
};
std::vector<CachedBounds> boundsCache;
} // namespace

void forgetItemBounds() {
    boundsCache.clear();
}

static const ItemBounds& itemBounds(int index) {
    if (boundsCache.size() < size_t(renderListSize()))
        boundsCache.resize(size_t(renderListSize()));
    CachedBounds& c = boundsCache.at(size_t(index));
    if (!c.known)
        c = {true, boundsOf(renderItem(index).vertices)};
    return c.bounds;
}

// How near and how far from the eye (along the view) an item's fragments can lie: its
// bounds' centre, seen with its model-view, less and plus its radius. Unknown bounds reach
// from the eye to everywhere.
static void depthRange(const DrawnItem& item, float& nearest, float& farthest) {
    const ItemBounds& b = itemBounds(item.index);
    if (b.radius < 0) {
        nearest = -INFINITY;
        farthest = INFINITY;
        return;
    }
    float depth = -transformPoint(item.modelView, b.centre).z;
    nearest = depth - b.radius;
    farthest = depth + b.radius;
}

// Whether fragments of the two could land on the same depth value: their depth ranges
// overlap, or come closer than the depth buffer tells apart there (a 16-bit buffer's step,
// four times over, and a little more for the rasteriser's interpolation).
static bool mayTie(float nearA, float farA, float nearB, float farB) {
    float gap = std::max(nearB - farA, nearA - farB);
    float at = std::max(std::fabs(farA), std::fabs(farB));
    float margin = at * at / 16384.0f + 1e-3f * at + 0.01f;
    return !(gap > margin);
}

void orderForDrawing(std::vector<DrawnItem>& items) {
    struct Keyed {
        DrawnItem item;
        bool sky;
        float nearest, farthest;
    };
    static std::vector<Keyed> keyed, sky;
    keyed.clear();
    sky.clear();
    // The sky boxes move behind the others only where they all come first in the list, as
    // in the show: drawn last, each must win ties against everything before it.
    int lastSky = -1, firstOther = renderListSize();
    for (const DrawnItem& item : items) {
        if (isSkyItem(item.index))
            lastSky = std::max(lastSky, item.index);
        else
            firstOther = std::min(firstOther, item.index);
    }
    bool skyLast = lastSky < firstOther;
    for (const DrawnItem& item : items) {
        Keyed k{item, skyLast && isSkyItem(item.index), 0, 0};
        k.item.winsDepthTies = false;
        depthRange(item, k.nearest, k.farthest);
        (k.sky ? sky : keyed).push_back(k);
    }

    // With the depth test "less", of two fragments at the same depth the first drawn stays.
    // So an item may go before one listed earlier only where the two can never tie: then
    // any order leaves the same pixels. Among those free to go, the nearest goes first.
    size_t n = keyed.size();
    static std::vector<char> placed;
    placed.assign(n, 0);
    items.clear();
    for (size_t round = 0; round < n; round++) {
        size_t best = n;
        for (size_t j = 0; j < n; j++) {
            if (placed[j])
                continue;
            bool free = true;
            for (size_t i = 0; i < j && free; i++)
                free = placed[i] || !mayTie(keyed[i].nearest, keyed[i].farthest, keyed[j].nearest,
                                            keyed[j].farthest);
            if (free && (best == n || keyed[j].farthest < keyed[best].farthest))
                best = j;
        }
        placed[best] = 1; // the first unplaced one is always free: best is found
        items.push_back(keyed[best].item);
    }

    // The sky boxes last, shaded only where nothing nearer was drawn. First in the list,
    // they won every tie: drawn last, they win them with "less or equal", the earliest
    // listed drawn last of all.
    for (auto k = sky.rbegin(); k != sky.rend(); ++k) {
        k->item.winsDepthTies = true;
        items.push_back(k->item);
    }
}

// The harbour's lighthouse turns its beam with the show's spin, seen from where the last
// item was: the view the frame ends on.
static void describeBeam(FrameDescription& frame, bool anyItems) {
    frame.beam.visible = timeline.levelTwoActive && anyItems;
    if (!frame.beam.visible)
        return;
    Mat4 model, view;
    identityMatrix(model);
    translateMatrix(model, show::kLantern[0], show::kLantern[1], show::kLantern[2]);
    rotateModel(model, 0.0f, show::kBeamTurnsPerSpin * timeline.spinAngle, 0.0f);
    viewMatrix(view, viewFollowsPath());
    multiplyMatrix(frame.beam.modelView, view, model);
}

void describeFrame(FrameDescription& frame) {
    if (!timeline.levelTwoActive)
        showFlags.bloomEnabled = true; // the first scene is always seen through the glow
    frame.windowWidth = camera.width;
    frame.windowHeight = camera.height;
    viewProjection(frame.projection, frame.windowWidth, frame.windowHeight);
    frame.glow = {showFlags.bloomEnabled, timeline.brightness, showFlags.dd};
    frame.items.clear();
    PassKind pass = activePass();
    bool anyItems = false;
    // Every item of the scene steps the path and the animation, in list order, whether it
    // is drawn or not; one wholly outside its view is left out of the drawing.
    for (int i = 0; i < renderListSize(); i++) {
        if (renderItem(i).passKind != pass)
            continue;
        anyItems = true;
        DrawnItem item = describeItem(i);
        if (mayBeInView(itemBounds(i), item.modelView, frame.projection))
            frame.items.push_back(item);
    }
    orderForDrawing(frame.items);
    describeBeam(frame, anyItems);
}

void runFrame() {
    if (cameraControl.cameraSpeed != 0.0f)
        moveCamera(camera);
    if (cameraControl.cameraLift != 0.0f)
        liftCamera(camera);
    if (!showFlags.cameraPathMode)
        mouseLook(camera);
    updateFrameTimer(frameTimer);

    // Kept from frame to frame: its list keeps its room.
    FrameDescription& frame = lastFrame;
    describeFrame(frame);
    if (showFlags.framesDrawn) {
        renderFrame(frame);
        if (showFlags.authorMode && authorTime.overlayShown)
            drawAuthorOverlay();
    }
}

const FrameDescription& lastFrameDescription() {
    return lastFrame;
}

void showFrame() {
    advanceFixedStep();
    bool sceneTwo = timeline.levelTwoActive;
    runFrame();
    if (sceneTwo)
        sceneTwoEndCheck();
    else
        sceneOneEndCheck();
}

void endFrame() {
    if (showFlags.framesDrawn)
        presentFrame();
    timeline.spinAngle += 0.2f * frameTimer.frameFactor;
    advancePathParam(frameTimer.frameFactor);
}

void display() {
    checkStopSignal();
    showFrame();
    endFrame();
}
