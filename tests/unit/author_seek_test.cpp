// Author mode's seeks, without a display: whatever way a frame is reached (forward, back,
// from a kept state, from the start, after the author switched scenes), the show's state
// after it is the one a straight run has after that frame: the clocks, the timeline and
// the animation, both paths and the playback, every item's place, and the music's record.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "audio/music.h"
#include "campath/campath.h"
#include "model/model.h"
#include "model/renderlist.h"
#include "platform/platform.h"
#include "show/author.h"
#include "show/flags.h"
#include "show/frame.h"
#include "show/scene.h"
#include "show/timeline.h"
#include "show/timer.h"

namespace {

struct ShowState {
    double seconds;
    float frameFactor;
    TimelineState timeline;
    float pathParam;
    Vec3 pathEye, pathLookAt;
    int nodeIndexOne, nodeIndexTwo;
    std::vector<std::array<float, 6>> places;
    std::string musicFile;
    int64_t musicStart;
};

ShowState stateNow() {
    ShowState s;
    s.seconds = demoSeconds();
    s.frameFactor = frameTimer.frameFactor;
    s.timeline = timeline;
    s.pathParam = pathPlayback.pathParam;
    s.pathEye = pathPlayback.pathEye;
    s.pathLookAt = pathPlayback.pathLookAt;
    s.nodeIndexOne = scenePath(kSceneOnePass).nodeIndex;
    s.nodeIndexTwo = scenePath(kSceneTwoPass).nodeIndex;
    for (int i = 0; i < renderListSize(); i++) {
        const RenderItem& item = renderItem(i);
        s.places.push_back({item.translation[0], item.translation[1], item.translation[2],
                            item.rotation[0], item.rotation[1], item.rotation[2]});
    }
    s.musicFile = music.currentFile;
    s.musicStart = music.startCount;
    return s;
}

void expectSame(const ShowState& got, const ShowState& want, int64_t frame) {
    SCOPED_TRACE("frame " + std::to_string(frame));
    EXPECT_EQ(got.seconds, want.seconds);
    EXPECT_EQ(got.frameFactor, want.frameFactor);
    EXPECT_EQ(got.timeline.levelTwoActive, want.timeline.levelTwoActive);
    EXPECT_EQ(got.timeline.brightness, want.timeline.brightness);
    EXPECT_EQ(got.timeline.animationStart, want.timeline.animationStart);
    EXPECT_EQ(got.timeline.spinAngle, want.timeline.spinAngle);
    EXPECT_EQ(got.timeline.liftHeight, want.timeline.liftHeight);
    EXPECT_EQ(got.timeline.tiltAngle, want.timeline.tiltAngle);
    EXPECT_EQ(got.timeline.flyOffset, want.timeline.flyOffset);
    EXPECT_EQ(got.pathParam, want.pathParam);
    EXPECT_EQ(got.pathEye.x, want.pathEye.x);
    EXPECT_EQ(got.pathEye.z, want.pathEye.z);
    EXPECT_EQ(got.pathLookAt.y, want.pathLookAt.y);
    EXPECT_EQ(got.nodeIndexOne, want.nodeIndexOne);
    EXPECT_EQ(got.nodeIndexTwo, want.nodeIndexTwo);
    EXPECT_EQ(got.places, want.places);
    EXPECT_EQ(got.musicFile, want.musicFile);
    EXPECT_EQ(got.musicStart, want.musicStart);
}

class AuthorSeekTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* runDir = getenv("KESTRUNE_RUN_DIR");
        if (!runDir || chdir(runDir) != 0 || access("campath2.xml", R_OK) != 0)
            return;
        // Items of both scenes, the UFO and the platform among them, without GL: nothing is
        // drawn, the frames run the show's logic.
        const std::pair<Model*, PassKind> models[] = {
            {&scenes.skyboxModel, kSceneOnePass},   {&scenes.skybox2Model, kSceneTwoPass},
            {&scenes.portModel, kSceneTwoPass},     {&scenes.ufoModel, kSceneTwoPass},
            {&scenes.platformModel, kSceneTwoPass}, {&scenes.roomModel, kSceneOnePass}};
        for (auto [model, pass] : models) {
            model->firstItem = renderListSize();
            model->itemCount = 2;
            for (int k = 0; k < 2; k++) {
                RenderItem item;
                item.shaderKind = kNormalMappingShader;
                item.passKind = pass;
                appendRenderItem(item);
            }
        }
        loadScenePaths();
        ready = scenePath(kSceneOnePass).usable && scenePath(kSceneTwoPass).usable;
        setCursorWarp(false);
        setFixedStep(60);
        showFlags.framesDrawn = false;
        showFlags.cameraPathMode = true;
        learnShowLength();
        // The straight run, its states kept at the frames the tests go to.
        rewindShow();
        for (int64_t frame = 1; frame <= kLast; frame++) {
            showFrame();
            endFrame();
            if (std::find(std::begin(kFrames), std::end(kFrames), frame) != std::end(kFrames))
                straight[frame] = stateNow();
        }
        rewindShow();
    }
    void SetUp() override {
        if (!ready)
            GTEST_SKIP() << "no run folder with both camera paths (KESTRUNE_RUN_DIR)";
    }
    // What a seek key does: the state before the frame, then the frame.
    static void reach(int64_t frame) {
        prepareFrame(frame);
        showFrame();
        endFrame();
        keepCheckpoint();
        ASSERT_EQ(showFrameNow(), frame);
    }
    static constexpr int64_t kFrames[] = {1,    2,    299,  300,  301,  650,
                                          3001, 7001, 7002, 7003, 9900, 10500};
    static constexpr int64_t kLast = 10500;
    static inline bool ready = false;
    static inline std::map<int64_t, ShowState> straight;
};

TEST_F(AuthorSeekTest, TheShowsLengthIsLearntFromItsLogic) {
    // Scene 1's fade starts after frame 6900 (115 s) and passes 2.0 on its 101st step: the
    // switch runs in frame 7001. Scene 2 ends 63 s after it, its fade's 201st step undrawn.
    EXPECT_EQ(authorTime.sceneTwoStart, 7002);
    EXPECT_EQ(authorTime.lastFrame, 10981);
}

TEST_F(AuthorSeekTest, EveryWayToAFrameGivesTheStraightRunsState) {
    forgetCheckpoints();
    rewindShow();
    // Forward with nothing kept, back, forward from kept states, across the switch both ways.
    for (int64_t frame : {650, 3001, 2, 7003, 301, 10500, 299, 7001, 300, 9900, 1, 7002, 650})
        reach(frame), expectSame(stateNow(), straight.at(frame), frame);
}

TEST_F(AuthorSeekTest, AfterTheAuthorsSwitchASeekReturnsToTheStraightRun) {
    reach(650);
    switchToLevelTwo(); // the key s
    authorTime.offTimeline = true;
    for (int i = 0; i < 5; i++)
        showFrame(), endFrame(), keepCheckpoint();
    forgetCheckpoints();
    reach(3001); // forward, yet from the start
    expectSame(stateNow(), straight.at(3001), 3001);
}

} // namespace
