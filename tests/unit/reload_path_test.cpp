// A camera path file read again while the show runs: the new path stands where a fresh
// start with the file would stand after as many finished segments; a file that cannot be
// played leaves the path as it was.
#include <gtest/gtest.h>

#include "campath/campath.h"
#include "files.h"

namespace {

std::vector<Vec3> line(int count, float y) {
    std::vector<Vec3> eyes;
    for (int i = 0; i < count; i++)
        eyes.push_back({float(i), y, 0});
    return eyes;
}

// What playback does at a segment's end, segments times over, as the frames do it.
void playSegments(CameraPath& path, int segments) {
    for (int i = 0; i < segments; i++) {
        pathPlayback.pathParam = 1.5f;
        playbackStep(path);
    }
}

void expectSameWindow(const CameraPath& a, const CameraPath& b) {
    EXPECT_EQ(a.nodeIndex, b.nodeIndex);
    EXPECT_EQ(a.amount, b.amount);
    EXPECT_EQ(a.nextNode, b.nextNode);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(a.posWindow[i].x, b.posWindow[i].x) << "node " << i;
        EXPECT_EQ(a.posWindow[i].y, b.posWindow[i].y) << "node " << i;
        EXPECT_EQ(a.viewWindow[i].x, b.viewWindow[i].x) << "node " << i;
    }
}

TEST(ReloadPath, GoesOnFromTheSegmentsPlayedAsAFreshStartWould) {
    TempFolder folder;
    std::string file = folder.file("campath2.xml");
    // k segments into a path of 10 nodes, the file changes to one of 10 (moved up) or 6,
    // or to 10 of which it declares 6 (playback trusts the count).
    for (int newCount : {10, 6, -6}) {
        for (int k : {0, 1, 3, 6, 9}) {
            SCOPED_TRACE("new path of " + std::to_string(newCount) +
                         " nodes (negative: declared) after " + std::to_string(k) + " segments");
            resetPlayback();
            writeText(file, pathXml(line(10, 1), 10, 10));
            CameraPath playing = {};
            ASSERT_TRUE(readCameraPath(file.c_str(), playing).reason.empty());
            playSegments(playing, k);

            int held = newCount < 0 ? 10 : newCount, declared = newCount < 0 ? -newCount : newCount;
            writeText(file, pathXml(line(held, 5), size_t(held), declared));
            CameraPath asLoaded = {};
            PathReading reading = reloadCameraPath(file.c_str(), playing, &asLoaded);
            EXPECT_TRUE(reading.reason.empty());

            CameraPath fresh = {};
            readCameraPath(file.c_str(), fresh);
            expectSameWindow(asLoaded, fresh); // as read: at its start
            playSegments(fresh, k);
            expectSameWindow(playing, fresh);
            EXPECT_EQ(playing.posWindow[1].y, 5.0f);
        }
    }
}

TEST(ReloadPath, AFileThatCannotBePlayedKeepsThePath) {
    TempFolder folder;
    std::string file = folder.file("campath.xml");
    resetPlayback();
    writeText(file, pathXml(line(8, 1), 8, 8));
    CameraPath playing = {};
    readCameraPath(file.c_str(), playing);
    playSegments(playing, 2);
    const CameraPath before = playing;

    writeText(file, pathXml(line(3, 5), 3, 3));
    EXPECT_EQ(reloadCameraPath(file.c_str(), playing).reason, "fewer than four pos/view pairs");
    expectSameWindow(playing, before);
    EXPECT_TRUE(playing.usable);

    writeText(file, "<camerapath><points");
    EXPECT_EQ(reloadCameraPath(file.c_str(), playing).reason, "missing or not well-formed XML");
    expectSameWindow(playing, before);
    EXPECT_EQ(playing.nodes.size(), before.nodes.size());
}

} // namespace
