// Camera path playback: the Catmull-Rom segment between window entries 1 and 2, the wrap
// of the parameter, the walk along the file's nodes and its end.
#include <gtest/gtest.h>

#include "camera/camera.h"
#include "campath/campath.h"
#include "pathfiles.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// Node i has its eye at x = 10 i and looks at x = 10 i + 1, both on a straight line.
std::vector<Vec3> eyesAlongX(int count) {
    std::vector<Vec3> points;
    for (int i = 0; i < count; i++)
        points.push_back({10.0f * i, 2.0f, 0});
    return points;
}
std::vector<Vec3> viewsAlongX(int count) {
    std::vector<Vec3> points;
    for (int i = 0; i < count; i++)
        points.push_back({10.0f * i + 1, 2.0f, -5});
    return points;
}

class Playback : public ::testing::Test {
  protected:
    TempFolder folder;
    CameraPath path = {};
    TiXmlDocument document;

    void load(const std::string& text) {
        std::string name = folder.file("path.xml");
        writeText(name, text);
        CaptureStdout();
        readCameraPath(name.c_str(), path, document);
        GetCapturedStdout();
        resetPlayback();
    }
    // Plays frames until the segment wraps; returns the eye x at the segment's start.
    float nextSegmentStart() {
        for (int frame = 0; frame < 200; frame++) {
            int before = path.nodeIndex;
            playbackStep(path);
            if (path.nodeIndex != before) {
                EXPECT_EQ(pathParam, 0.0f);
                float x = pathEye.x;
                pathParam += 0.01f;
                return x;
            }
            pathParam += 0.01f;
        }
        ADD_FAILURE() << "no wrap within 200 frames";
        return -1;
    }
};

TEST_F(Playback, StraightEqualSpacingMovesAtConstantSpeed) {
    load(pathXml(eyesAlongX(4), viewsAlongX(4), 4));
    for (int i = 0; i <= 10; i++) {
        float t = i / 10.0f;
        evaluatePath(path, t);
        EXPECT_NEAR(pathEye.x, 10.0f + 10.0f * t, 1e-4) << "t " << t;
        EXPECT_NEAR(pathLookAt.x, 11.0f + 10.0f * t, 1e-4);
        EXPECT_FLOAT_EQ(pathEye.y, 2.0f);
        EXPECT_FLOAT_EQ(pathLookAt.z, -5.0f);
    }
}

TEST_F(Playback, CurveMeetsItsNodesAndBendsBetweenThem) {
    std::vector<Vec3> eyes = {{0, 0, 0}, {1, 2, 0}, {3, -1, 4}, {4, 4, 4}};
    load(pathXml(eyes, eyes, 4));
    evaluatePath(path, 0);
    EXPECT_FLOAT_EQ(pathEye.y, 2.0f);
    evaluatePath(path, 1);
    EXPECT_FLOAT_EQ(pathEye.x, 3.0f);
    EXPECT_FLOAT_EQ(pathEye.y, -1.0f);
    evaluatePath(path, 0.5f);
    // 0.5 * (2 P1 + (P2 - P0) / 2 + (2 P0 - 5 P1 + 4 P2 - P3) / 4 + (-P0 + 3 P1 - 3 P2 + P3) / 8)
    EXPECT_FLOAT_EQ(pathEye.y, 0.5f * (4 - 0.5f + (-10 - 4 - 4) / 4.0f + (6 + 3 + 4) / 8.0f));
}

TEST_F(Playback, NoWrapAtExactlyOne) {
    load(pathXml(eyesAlongX(8), viewsAlongX(8), 8));
    pathParam = 1.0f;
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 0);
    EXPECT_FLOAT_EQ(pathEye.x, 20.0f);
    pathParam += 0.01f;
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 1);
    EXPECT_EQ(pathParam, 0.0f);
    EXPECT_FLOAT_EQ(pathEye.x, 20.0f); // node 2 starts the next segment
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 40.0f);
}

TEST_F(Playback, AmountSixPlaysThreeSegmentsThenRepeatsTheLast) {
    load(pathXml(eyesAlongX(6), viewsAlongX(6), 6));
    playbackStep(path);
    EXPECT_FLOAT_EQ(pathEye.x, 10.0f);          // 1 -> 2
    EXPECT_FLOAT_EQ(nextSegmentStart(), 20.0f); // 2 -> 3
    EXPECT_FLOAT_EQ(nextSegmentStart(), 30.0f); // 3 -> 4
    for (int repeat = 0; repeat < 4; repeat++)
        EXPECT_FLOAT_EQ(nextSegmentStart(), 30.0f); // 3 -> 4 again and again
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 50.0f);
    // The cursor stays on the last "view"; nothing beyond it is read.
    EXPECT_EQ(path.cursor->NextSiblingElement(), nullptr);
}

TEST_F(Playback, LargeFrameFactorCarriesOverOneSegmentOnly) {
    load(pathXml(eyesAlongX(10), viewsAlongX(10), 10));
    playbackStep(path);
    pathParam += 0.01f * 180.0f; // a first frame after three seconds of loading
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 1);
    EXPECT_EQ(pathParam, 0.0f);
    EXPECT_FLOAT_EQ(pathEye.x, 20.0f);
}

TEST_F(Playback, AmountAboveTheNodesHeldEndsAtTheLastNodeHeld) {
    load(pathXml(eyesAlongX(6), viewsAlongX(6), 40));
    EXPECT_FLOAT_EQ(nextSegmentStart(), 20.0f);
    EXPECT_FLOAT_EQ(nextSegmentStart(), 30.0f);
    for (int repeat = 0; repeat < 5; repeat++)
        EXPECT_FLOAT_EQ(nextSegmentStart(), 30.0f);
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 50.0f);
    EXPECT_FLOAT_EQ(path.viewWindow[3].x, 51.0f);

    // A last node with a "pos" but no "view" is not a node: the window stays.
    load(pathXml(eyesAlongX(6), viewsAlongX(5), 40));
    EXPECT_FLOAT_EQ(nextSegmentStart(), 20.0f);
    EXPECT_FLOAT_EQ(nextSegmentStart(), 20.0f);
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 40.0f);
}

TEST_F(Playback, AmountBelowFiveNeverMovesTheWindow) {
    load(pathXml(eyesAlongX(8), viewsAlongX(8), 4));
    for (int repeat = 0; repeat < 3; repeat++)
        EXPECT_FLOAT_EQ(nextSegmentStart(), 10.0f);
}

TEST_F(Playback, MissingAttributesKeepThePlaybackValues) {
    std::string text = pathXml(eyesAlongX(5), viewsAlongX(5), 6);
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
    load(pathXml(eyesAlongX(3), viewsAlongX(3), 3));
    ASSERT_FALSE(path.usable);
    setCamera(1, 2, 3, 4, 5, 6, 0, 1, 0);
    pathParam = 1.5f;
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 0);
    EXPECT_EQ(pathEye.z, 3.0f);
    EXPECT_EQ(pathLookAt.x, 4.0f);
}

} // namespace
