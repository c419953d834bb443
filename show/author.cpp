// Author mode's hold on the show's time: rewinding the show to its start, running its logic
// forward without drawing, and the overlay that says where it is.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audio/music.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/overlay.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/show.h"
#include "show/timeline.h"
#include "show/timer.h"

AuthorTime authorTime;

int64_t showFrameNow() {
    return fixedStepFrame();
}

double frameSeconds(int64_t frame) {
    // As the demo clock reads it in that frame.
    double scale = 1000000.0 / double(readFrequency());
    return double(fixedStepCount(frame)) * scale * 1e-6;
}

int sceneNow() {
    // The scene the frame drew: the frame of the switch still draws scene 1.
    if (!authorTime.offTimeline && authorTime.sceneTwoStart > 0)
        return showFrameNow() >= authorTime.sceneTwoStart ? 2 : 1;
    return timeline.levelTwoActive ? 2 : 1;
}

void rewindShow() {
    setFixedStep(fixedStepRate()); // the frame count back to 0
    startFrameTimer(frameTimer);
    startClock(demoClock);
    resetShow();
    resetPlayback();
    rewindScenes();
    rewindMusic(show::kLevelOneMusicFile);
}

// The show's whole state after a frame: what the frames and the switch write.
struct Checkpoint {
    int64_t frame = -1; // -1: none kept
    FrameTimer frameTimer;
    DemoClock demoClock;
    TimelineState timeline;
    bool bloomEnabled;
    PathPlayback playback;
    CameraPath levelOnePath, levelTwoPath;
    std::vector<std::array<float, 6>> places; // every item's translation and rotation
    std::string musicFile;
    int64_t musicStart;
};

static const int64_t kCheckpointEvery = 300; // frames: 5 s at 60 a second
static std::vector<Checkpoint> checkpoints;  // the one after frame k x kCheckpointEvery at k

static bool sameNodes(const CameraPath& a, const CameraPath& b) {
    return a.nodes.size() == b.nodes.size() &&
           (a.nodes.empty() ||
            memcmp(a.nodes.data(), b.nodes.data(), a.nodes.size() * sizeof a.nodes[0]) == 0);
}

void forgetCheckpoints() {
    checkpoints.clear();
}

void keepCheckpoint() {
    int64_t frame = showFrameNow();
    if (frame <= 0 || frame % kCheckpointEvery != 0 || authorTime.offTimeline)
        return;
    size_t slot = size_t(frame / kCheckpointEvery);
    if (checkpoints.size() <= slot)
        checkpoints.resize(slot + 1);
    Checkpoint& c = checkpoints[slot];
    if (c.frame == frame)
        return;
    c.frame = frame;
    c.frameTimer = frameTimer;
    c.demoClock = demoClock;
    c.timeline = timeline;
    c.bloomEnabled = showFlags.bloomEnabled;
    c.playback = pathPlayback;
    c.levelOnePath = scenePath(kSceneOnePass);
    c.levelTwoPath = scenePath(kSceneTwoPass);
    c.places.resize(size_t(renderListSize()));
    for (int i = 0; i < renderListSize(); i++) {
        const RenderItem& item = renderItem(i);
        c.places[size_t(i)] = {item.translation[0], item.translation[1], item.translation[2],
                               item.rotation[0],    item.rotation[1],    item.rotation[2]};
    }
    c.musicFile = music.currentFile;
    c.musicStart = music.startCount;
}

// The latest kept state after a frame before `frame` and after `after`; nullptr if none.
static const Checkpoint* checkpointBefore(int64_t frame, int64_t after) {
    for (size_t slot = std::min(checkpoints.size(), size_t(frame / kCheckpointEvery) + 1);
         slot-- > 0;) {
        const Checkpoint& c = checkpoints[slot];
        if (c.frame < 0 || c.frame > frame)
            continue;
        if (c.frame <= after)
            return nullptr;
        if (!sameNodes(c.levelOnePath, scenePath(kSceneOnePass)) ||
            !sameNodes(c.levelTwoPath, scenePath(kSceneTwoPass)) ||
            c.places.size() != size_t(renderListSize())) {
            forgetCheckpoints(); // a path or a model was read again since
            return nullptr;
        }
        return &c;
    }
    return nullptr;
}

static void restoreCheckpoint(const Checkpoint& c) {
    setFixedStepFrame(c.frame);
    frameTimer = c.frameTimer;
    demoClock = c.demoClock;
    timeline = c.timeline;
    showFlags.bloomEnabled = c.bloomEnabled;
    pathPlayback = c.playback;
    scenePath(kSceneOnePass) = c.levelOnePath;
    scenePath(kSceneTwoPass) = c.levelTwoPath;
    for (int i = 0; i < renderListSize(); i++) {
        RenderItem& item = renderItem(i);
        const std::array<float, 6>& p = c.places[size_t(i)];
        std::copy(p.begin(), p.begin() + 3, item.translation);
        std::copy(p.begin() + 3, p.end(), item.rotation);
    }
    music.currentFile = c.musicFile;
    music.startCount = c.musicStart;
}

// One frame of the show, not drawn nor shown.
static void runUnshown() {
    showFlags.framesDrawn = false;
    showFrame();
    // endFrame without its swap.
    timeline.spinAngle += 0.2f * frameTimer.frameFactor;
    advancePathParam(frameTimer.frameFactor);
    keepCheckpoint();
}

// What a rerun must not take from the author, nor move: the user camera, its speeds and
// whether the view follows the path.
struct AuthorView {
    Camera camera;
    CameraControl control;
    bool cameraPathMode, framesDrawn, musicHeld;
};

static AuthorView holdAuthorView() {
    AuthorView kept = {camera, cameraControl, showFlags.cameraPathMode, showFlags.framesDrawn,
                       music.held};
    cameraControl.cameraSpeed = cameraControl.cameraLift = 0;
    showFlags.cameraPathMode = true; // mouse look stays out of it
    music.held = true;
    return kept;
}

static void restoreAuthorView(const AuthorView& kept) {
    camera = kept.camera;
    cameraControl = kept.control;
    showFlags.cameraPathMode = kept.cameraPathMode;
    showFlags.framesDrawn = kept.framesDrawn;
    music.held = kept.musicHeld;
}

void learnShowLength() {
    AuthorView kept = holdAuthorView();
    rewindShow();
    while (!timeline.levelTwoActive)
        runUnshown();
    authorTime.sceneTwoStart = showFrameNow() + 1;
    // Scene 2 ends by its fade: from the first frame after animationStart + kSceneTwoEnd,
    // brightness climbs from 0 by kFadeStep a frame; the frame it passes kFadeEnd ends the
    // show undrawn.
    int64_t fadeStart = authorTime.sceneTwoStart;
    while (!(frameSeconds(fadeStart) > timeline.animationStart + show::kSceneTwoEnd))
        fadeStart++;
    float brightness = 0;
    int steps = 0;
    while (!(brightness > show::kFadeEnd)) {
        brightness += show::kFadeStep;
        steps++;
    }
    authorTime.lastFrame = fadeStart + steps - 2;
    rewindShow();
    restoreAuthorView(kept);
}

void prepareFrame(int64_t frame) {
    AuthorView kept = holdAuthorView();
    int64_t now = showFrameNow();
    bool back = frame - 1 < now || authorTime.offTimeline;
    const Checkpoint* nearest = checkpointBefore(frame - 1, back ? -1 : now);
    if (nearest)
        restoreCheckpoint(*nearest);
    else if (back)
        rewindShow();
    authorTime.offTimeline = false;
    while (showFrameNow() < frame - 1)
        runUnshown();
    restoreAuthorView(kept);
}

static std::string clockText(double seconds) {
    char text[32];
    int whole = int(seconds);
    snprintf(text, sizeof text, "%d:%05.2f", whole / 60, seconds - whole / 60 * 60);
    return text;
}

void drawAuthorOverlay() {
    const int64_t frame = showFrameNow();
    const CameraPath& path = scenePath(timeline.levelTwoActive ? kSceneTwoPass : kSceneOnePass);
    OverlayDescription overlay;
    char line[96];
    snprintf(line, sizeof line, "%s  FRAME %lld", clockText(frameSeconds(frame)).c_str(),
             (long long)frame);
    overlay.lines.push_back(line);
    if (path.usable)
        snprintf(line, sizeof line, "SCENE %d  PATH SEGMENT %d/%d", sceneNow(), path.nodeIndex + 1,
                 path.amount > 3 ? path.amount - 3 : 1);
    else
        snprintf(line, sizeof line, "SCENE %d  NO PATH", sceneNow());
    overlay.lines.push_back(line);
    std::string state = authorTime.paused ? "PAUSED" : "PLAYING";
    if (authorTime.loopFrom >= 0) {
        state += "  LOOP " + clockText(frameSeconds(authorTime.loopFrom)) + " - ";
        state += authorTime.loopTo >= 0 ? clockText(frameSeconds(authorTime.loopTo)) : "...";
    }
    overlay.lines.push_back(state);
    const double length = double(authorTime.lastFrame > 0 ? authorTime.lastFrame : 1);
    auto along = [&](int64_t f) { return float(double(f) / length); };
    overlay.played = along(frame);
    overlay.mark = authorTime.sceneTwoStart > 0 ? along(authorTime.sceneTwoStart) : -1;
    if (authorTime.loopFrom >= 0) {
        overlay.loopFrom = along(authorTime.loopFrom);
        overlay.loopTo = authorTime.loopTo >= 0 ? along(authorTime.loopTo) : -1;
    }
    drawOverlay(overlay, camera.width, camera.height);
}
