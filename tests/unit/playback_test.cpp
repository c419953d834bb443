// Camera path playback: the Catmull-Rom segment between window entries 1 and 2, the wrap
// of the parameter, the walk along the file's nodes and its end.
#include <gtest/gtest.h>

#include "camera/camera.h"
#include "campath/campath.h"
#include "pathfiles.h"

namespace {

class Playback : public PathReading {
  protected:
    void load(const std::string& text) {
        read(text);
        resetPlayback();
    }
    // Node i has its eye at x = 10 i and looks at x = 10 i + 1, on straight lines.
    void loadStraight(int eyes, int views, int amount) {
        load(pathXml(alongX(eyes), alongX(views, 1, -5), amount));
    }
    // Plays frames until the segment wraps; returns the eye x at the segment's start.
    float nextSegmentStart() {
        for (int frame = 0; frame < 200; frame++) {
            int before = path.nodeIndex;
            playbackStep(path);
            pathParam += 0.01f;
            if (path.nodeIndex != before) {
                EXPECT_EQ(pathParam, 0.01f);
                return pathEye.x;
            }
        }
        ADD_FAILURE() << "no wrap within 200 frames";
        return -1;
    }
};

TEST_F(Playback, StraightEqualSpacingMovesAtConstantSpeed) {
    loadStraight(4, 4, 4);
    for (int i = 0; i <= 10; i++) {
        float t = i / 10.0f;
        evaluatePath(path, t);
        EXPECT_NEAR(pathEye.x, 10.0f + 10.0f * t, 1e-4) << "t " << t;
        EXPECT_NEAR(pathLookAt.x, 11.0f + 10.0f * t, 1e-4);
        EXPECT_FLOAT_EQ(pathEye.y, 2.0f);
        EXPECT_FLOAT_EQ(pathLookAt.z, -5.0f);
    }
}

TEST_F(Playback, WrapsOnlyPastOneAndNeverSkipsASegment) {
    loadStraight(10, 10, 10);
    pathParam = 1.0f;
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 0); // no wrap at exactly 1
    EXPECT_FLOAT_EQ(pathEye.x, 20.0f);
    pathParam += 0.01f * 180.0f; // a first frame after three seconds of loading
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 1); // one segment on, the rest dropped
    EXPECT_EQ(pathParam, 0.0f);
    EXPECT_FLOAT_EQ(pathEye.x, 20.0f); // node 2 starts the next segment
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 40.0f);
}

TEST_F(Playback, WalksTheNodesAndRepeatsTheLastSegmentAtTheEnd) {
    // Each case: nodes held (pos, view), the declared amount, and the eye x at the start of
    // each segment played; node i stands at x = 10 i.
    struct Case {
        int eyes, views, amount;
        std::vector<float> starts;
    } cases[] = {
        {8, 8, 4, {10, 10, 10}},                 // below five the window never moves
        {6, 5, 40, {10, 20, 20}},                // a "pos" without its "view" is no node
        {6, 6, 40, {10, 20, 30, 30, 30, 30}},    // more declared than held: end at the last
        {6, 6, 6, {10, 20, 30, 30, 30, 30, 30}}, // 1-2, 2-3, 3-4, then 3-4 again
    };
    for (const Case& c : cases) {
        loadStraight(c.eyes, c.views, c.amount);
        playbackStep(path);
        EXPECT_FLOAT_EQ(pathEye.x, c.starts[0]);
        for (size_t k = 1; k < c.starts.size(); k++)
            EXPECT_FLOAT_EQ(nextSegmentStart(), c.starts[k]) << c.amount << " segment " << k;
        float last = c.starts.back() + 20; // the window's last node
        EXPECT_FLOAT_EQ(path.posWindow[3].x, last) << c.amount;
        EXPECT_FLOAT_EQ(path.viewWindow[3].x, last + 1) << c.amount;
    }
    // At the end the cursor stays on the last "view"; nothing beyond it is read.
    EXPECT_EQ(path.cursor->NextSiblingElement(), nullptr);
}

TEST_F(Playback, MissingAttributesKeepThePlaybackValues) {
    std::string text = pathXml(alongX(5), alongX(5, 1, -5), 6);
    text.replace(text.find("</points>"), 0, "<pos x=\"99\"/><view zv=\"7\"/>");
    load(text);
    pathParam = 1.5f;
    playbackStep(path); // reads node 4 into the window
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 40.0f);
    pathParam = 1.5f;
    playbackStep(path); // node 5: pos has only x, view only zv
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 99.0f);
    EXPECT_FLOAT_EQ(path.posWindow[3].y, 2.0f);  // node 4's view
    EXPECT_FLOAT_EQ(path.posWindow[3].z, -5.0f); // node 4's view
    EXPECT_FLOAT_EQ(path.viewWindow[3].x, 99.0f);
    EXPECT_FLOAT_EQ(path.viewWindow[3].z, 7.0f);
}

TEST_F(Playback, UnusablePathFollowsTheUserCamera) {
    loadStraight(3, 3, 3);
    ASSERT_FALSE(path.usable);
    setCamera(1, 2, 3, 4, 5, 6, 0, 1, 0);
    pathParam = 1.5f;
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 0);
    EXPECT_EQ(pathEye.z, 3.0f);
    EXPECT_EQ(pathLookAt.x, 4.0f);
}

} // namespace
