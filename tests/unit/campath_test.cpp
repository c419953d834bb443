// Camera paths: the recorder through its keys and every way out of the demo, the file it
// writes read back, the reader's per-axis "last value" rule and unusable files, and
// Catmull-Rom playback.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <csignal>
#include <functional>

#include "app/exit.h"
#include "app/input.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "files.h"
#include "platform/platform.h"
#include "show/timeline.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::vector<float> xyz(Vec3 v) {
    return {v.x, v.y, v.z};
}
std::vector<bool> given(const ReadAxes& axes) {
    return {axes.given[0], axes.given[1], axes.given[2]};
}

// A path document with eyes at x = 10 i, y = 2.
std::string pathXml(int eyes, int views, int amount) {
    std::vector<Vec3> at;
    for (int i = 0; i < eyes; i++)
        at.push_back({10.0f * float(i), 2, 0});
    return pathXml(at, size_t(std::max(views, 0)), amount);
}

// A private folder, a path read from text, the recorder aimed at the folder.
class CamPath : public ::testing::Test {
  protected:
    TempFolder temp;
    std::string folder = temp.path, target = temp.file("campath.xml");
    CameraPath path = {};

    void SetUp() override {
        resetRecorder();
        resetPlayback();
        setShowEnding(finishShow); // as the demo's start-up does
        pathRecorder.recordFileName = target.c_str();
        setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
    }
    void TearDown() override { pathRecorder.recordFileName = "campath.xml"; }
    PathReading reading;
    // Reads the text as a path file (empty: a file that does not exist); returns the
    // demo's messages for it.
    std::string read(const std::string& text, const std::string& name = "path.xml") {
        if (!text.empty())
            writeText(folder + "/" + name, text);
        std::string file = folder + "/" + (text.empty() ? "nothere.xml" : name);
        CaptureStdout();
        reading = readCameraPath(file.c_str(), path);
        std::string quiet = GetCapturedStdout();
        EXPECT_EQ(quiet, ""); // reading reports through its result
        CaptureStdout();
        printPathReading(file.c_str(), path, reading);
        resetPlayback();
        return GetCapturedStdout();
    }
    std::string press(const char* keys) {
        CaptureStdout();
        for (const char* k = keys; *k; k++)
            keyboard(static_cast<unsigned char>(*k), 0, 0);
        return GetCapturedStdout();
    }
    std::vector<std::string> folderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename());
        return names;
    }
    // Plays frames of 0.01 until the segment wraps; returns the eye x at its start.
    float nextSegmentStart() {
        for (int frame = 0; frame < 200; frame++) {
            int before = path.nodeIndex;
            playbackStep(path);
            pathPlayback.pathParam += 0.01f;
            if (path.nodeIndex != before)
                return pathPlayback.pathEye.x;
        }
        ADD_FAILURE() << "no wrap within 200 frames";
        return -1;
    }
};

TEST_F(CamPath, RecordedFileIsWrittenInPrintLayoutAndReadsBack) {
    EXPECT_EQ(press("wewe"), ""); // nothing before "q", nor from the calls behind the keys
    CaptureStdout();
    addRecordNode();
    finishRecording();
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_FALSE(pathRecorder.recordingStarted || pathRecorder.recordingFinished);
    EXPECT_EQ(access(target.c_str(), F_OK), -1);
    EXPECT_EQ(press("q"), "\ncam path started!");
    const Vec3 eyes[4] = {{1.23456789f, -2, 0.5f}, {0, 0, 0}, {-1e-7f, 1000, 3}, {4, 5, 6}};
    for (const Vec3& e : eyes) {
        setCamera(e.x, e.y, e.z, e.z, e.y, -e.x, 0, 1, 0);
        EXPECT_EQ(press("w"), "\ncam node added!");
    }
    EXPECT_EQ(press("e"), "\ncam path finished!");
    EXPECT_EQ(press("qwe"), ""); // one recording per run
    EXPECT_EQ(pathRecorder.nodes.size(), 4u);
    const std::string written = readText(target);
    EXPECT_EQ(written, "<?xml version=\"1.0\" ?>\n"
                       "<camerapath>\n"
                       "    <points amount=\"4\">\n"
                       "        <pos x=\"1.234568\" y=\"-2.000000\" z=\"0.500000\" />\n"
                       "        <view xv=\"0.500000\" yv=\"-2.000000\" zv=\"-1.234568\" />\n"
                       "        <pos x=\"0.000000\" y=\"0.000000\" z=\"0.000000\" />\n"
                       "        <view xv=\"0.000000\" yv=\"0.000000\" zv=\"-0.000000\" />\n"
                       "        <pos x=\"-0.000000\" y=\"1000.000000\" z=\"3.000000\" />\n"
                       "        <view xv=\"3.000000\" yv=\"1000.000000\" zv=\"0.000000\" />\n"
                       "        <pos x=\"4.000000\" y=\"5.000000\" z=\"6.000000\" />\n"
                       "        <view xv=\"6.000000\" yv=\"5.000000\" zv=\"-4.000000\" />\n"
                       "    </points>\n"
                       "</camerapath>\n");
    // Written through a temporary file that is gone, readable like any new file.
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"campath.xml"});
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IRGRP, 0u);

    std::string out = read(written);
    ASSERT_TRUE(path.usable) << out;
    EXPECT_EQ(path.amount, 4);
    EXPECT_EQ(path.posWindow[0].x, 1.234568f); // rounded to six decimals
    EXPECT_EQ(path.viewWindow[1].z, 0.0f);
    EXPECT_EQ(path.viewWindow[3].z, -4.0f);
    EXPECT_EQ(path.nextNode, 4u); // playback reads on from node 4
    EXPECT_EQ(out.rfind("\nxml file loaded.\nnumber of points: 4\npos values x='1.234568', "
                        "y='-2.000000', z='0.500000'\nview values x='0.500000', y='-2.000000', "
                        "z='-1.234568'\npos values",
                        0),
              0u)
        << out;
}

// Records the given number of nodes in a death-test child, then leaves the demo one way.
void recordThenLeave(int nodes, void (*leave)()) {
    dup2(2, 1); // the death-test matcher reads stderr
    setvbuf(stdout, nullptr, _IONBF, 0);
    keyboard('q', 0, 0);
    for (int i = 0; i < nodes; i++)
        keyboard('w', 0, 0);
    leave();
    exit(9); // every way out must end the process itself
}

// In a child process that cannot write the folder: root passes permission checks, so the
// child drops to an unprivileged user first.
void recordIntoReadOnlyFolder(const std::string& folder) {
    chmod(folder.c_str(), 0555);
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        exit(3);
    recordThenLeave(1, [] { keyboard(27, 0, 0); }); // Escape
}

TEST_F(CamPath, UnwritableFolderLeavesTheOldFileIntact) {
    std::ofstream(target) << "old";
    chmod(target.c_str(), 0666); // writable itself: only a write beside it keeps it whole
    EXPECT_EXIT(recordIntoReadOnlyFolder(folder), testing::ExitedWithCode(0),
                "cam path not written to .*campath.xml: Permission denied\ncam path finished!");
    EXPECT_EQ(readText(target), "old");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"campath.xml"});
}

void signalled(int number) {
    signal(number, SIG_DFL); // as a demo started from a terminal finds it
    installStopSignals();
    raise(number);
    checkStopSignal(); // what the next frame does
}

TEST_F(CamPath, EveryWayOutFinishesARecordingInProgress) {
    struct Case {
        const char* how;
        void (*leave)();
        std::function<bool(int)> ends;
    } cases[] = {
        {"Escape", [] { keyboard(27, 0, 0); }, testing::ExitedWithCode(0)},
        {"the show's end",
         [] {
             timeline.levelTwoActive = true;
             timeline.animationStart = -100.0f; // the final fade is running
             timeline.brightness = 1.999f;      // and passes 2 with this step
             sceneTwoEndCheck();
         },
         testing::ExitedWithCode(0)},
        {"SIGTERM", [] { signalled(SIGTERM); }, testing::KilledBySignal(SIGTERM)},
        {"SIGINT", [] { signalled(SIGINT); }, testing::KilledBySignal(SIGINT)},
    };
    for (const Case& c : cases) {
        std::ofstream(target) << "old";
        EXPECT_EXIT(recordThenLeave(2, c.leave), c.ends, "cam node added!\ncam path finished!\n$")
            << c.how;
        EXPECT_NE(readText(target).find("<points amount=\"2\">"), std::string::npos) << c.how;
        // Without a node there is nothing to keep: the old file stays as it was.
        std::ofstream(target) << "old";
        EXPECT_EXIT(recordThenLeave(0, c.leave), c.ends, "started!\ncam path not written: no nodes")
            << c.how;
        EXPECT_EQ(readText(target), "old") << c.how;
        EXPECT_EQ(folderEntries(), std::vector<std::string>{"campath.xml"}) << c.how;
    }
}

// A missing or bad attribute keeps the value read last on its axis, when reading and when
// playing; only the order of children counts, not their names or the root's.
TEST_F(CamPath, MissingAttributesKeepTheLastValuePerAxis) {
    read("<?xml version=\"1.0\" ?>\n<elsewhere><points amount=\"6\">"
         "<pos y=\"2\" z=\"3\"/><view xv=\"4\" yv=\"5\" zv=\"6\"/>"
         "<pos x=\"10\" z=\"abc\"/><view yv=\"8\"/>"
         "<view xv=\"7\" yv=\"7\" zv=\"7\"/><pos x=\"1\" y=\"1\" z=\"1\"/>"
         "<a x=\"3\" y=\"3\" z=\"3\"/><b xv=\"4\" yv=\"4\" zv=\"4\"/>"
         "<pos x=\"5\" y=\"5\" z=\"5\"/><view xv=\"6\" yv=\"6\" zv=\"6\"/>"
         "<pos x=\"99\"/><view zv=\"7\"/></points></elsewhere>\n");
    ASSERT_TRUE(path.usable);
    using V = std::vector<float>;
    EXPECT_EQ(xyz(path.posWindow[0]), V({0, 2, 3})); // nothing read before in this file
    EXPECT_EQ(xyz(path.posWindow[1]), V({10, 5, 6}));
    EXPECT_EQ(xyz(path.viewWindow[1]), V({10, 8, 6}));
    // Node 2 written view first: neither element has the attributes looked for.
    EXPECT_EQ(xyz(path.posWindow[2]), V({10, 8, 6}));
    EXPECT_EQ(xyz(path.viewWindow[2]), V({10, 8, 6}));
    EXPECT_EQ(xyz(path.posWindow[3]), V({3, 3, 3}));
    EXPECT_EQ(xyz(path.viewWindow[3]), V({4, 4, 4}));
    for (int i = 0; i < 2; i++) {
        pathPlayback.pathParam = 1.5f;
        playbackStep(path); // nodes 4, then 5
    }
    EXPECT_EQ(xyz(path.posWindow[2]), V({5, 5, 5}));
    EXPECT_EQ(xyz(path.posWindow[3]), V({99, 6, 6}));
    EXPECT_EQ(xyz(path.viewWindow[3]), V({99, 6, 7}));
}

// Playback keeps last values of its own for the nodes it reads on: 0 at load, apart from
// the reader's, and shared by both paths, so a node past the first four that lacks an
// attribute takes the axis playback read last, not the one the reader read last.
TEST_F(CamPath, PlaybackCarriesItsOwnLastValuesAcrossBothPaths) {
    const std::string head = "<?xml version=\"1.0\" ?>\n<camerapath><points amount=\"6\">";
    std::string firstFour;
    for (const char* v : {"2", "2", "2", "3"})
        firstFour += "<pos x=\"1\" y=\"1\" z=\"1\"/><view xv=\"" + std::string(v) + "\" yv=\"" + v +
                     "\" zv=\"" + v + "\"/>";
    read(
        head + firstFour + "<pos y=\"4\"/><view xv=\"5\"/>" +
        "<pos x=\"6\" y=\"6\" z=\"6\"/><view xv=\"7\" yv=\"7\" zv=\"7\"/></points></camerapath>\n");
    ASSERT_TRUE(path.usable);
    using V = std::vector<float>;
    pathPlayback.pathParam = 1.5f;
    playbackStep(path);                              // node 4
    EXPECT_EQ(xyz(path.posWindow[3]), V({0, 4, 0})); // not node 3's view (3, 3, 3)
    EXPECT_EQ(xyz(path.viewWindow[3]), V({5, 4, 0}));
    pathPlayback.pathParam = 1.5f;
    playbackStep(path); // node 5
    EXPECT_EQ(xyz(path.viewWindow[3]), V({7, 7, 7}));

    // The other path's node 4 lacks every attribute: it keeps what the first one played.
    CameraPath other = {};
    readLoadedCameraPath(
        other,
        parsePathText(
            (head + firstFour + "<pos/><view/><pos/><view/></points></camerapath>").c_str()));
    ASSERT_TRUE(other.usable);
    pathPlayback.pathParam = 1.5f;
    playbackStep(other);
    EXPECT_EQ(xyz(other.posWindow[3]), V({7, 7, 7}));
    EXPECT_EQ(xyz(other.posWindow[2]), V({1, 1, 1})); // the window moved on by one
    EXPECT_EQ(xyz(other.viewWindow[2]), V({3, 3, 3}));
}

// Nodes are element pairs, comments between them skipped; a last lone "pos" is kept apart;
// "amount" as written, or not given.
TEST_F(CamPath, TheFileIsReadIntoItsListOfNodes) {
    const std::string head = "<?xml version=\"1.0\" ?>\n<camerapath>";
    PathFile file = parsePathText((head + "<points amount=\"x\"><pos x=\"1\" y=\"nan\"/>"
                                          "<!-- between --><view xv=\"2\" yv=\"1e39\"/>"
                                          "<pos z=\"3\"/></points></camerapath>")
                                      .c_str());
    ASSERT_TRUE(file.loaded && file.pointsFound);
    EXPECT_FALSE(file.amountGiven);
    EXPECT_EQ(file.amount, 0);
    ASSERT_EQ(file.nodes.size(), 1u);
    const ReadNode& node = file.nodes[0];
    EXPECT_EQ(given(node.pos), std::vector<bool>({true, true, false}));
    EXPECT_TRUE(std::isnan(node.pos.value[1])); // a number, if not a finite one
    EXPECT_EQ(given(node.view), std::vector<bool>({true, true, false}));
    EXPECT_TRUE(std::isinf(node.view.value[1])); // beyond float: infinite
    EXPECT_TRUE(file.lonePos);
    EXPECT_EQ(given(file.lastPos), std::vector<bool>({false, false, true}));
    EXPECT_EQ(file.lastPos.value[2], 3.0f);
}

TEST_F(CamPath, UnusableFilesAreReportedAndFollowTheUserCamera) {
    // Each case: the file's text (empty: no file), how the output begins, and the reason.
    const std::string notXml = "missing or not well-formed XML", tooFew = "fewer than four";
    const std::string head = "<?xml version=\"1.0\" ?>\n<camerapath>";
    std::string leadingComment = pathXml(4, 4, 4);
    leadingComment.insert(leadingComment.find("<pos"), "<!-- first -->");
    struct Case {
        std::string text, begins, reason;
    } cases[] = {
        {"", "\nxml file not found.", notXml},
        {head + "<points amount=\"4\"><pos x=\"1\"", "\nxml file not found.", notXml},
        {pathXml(3, 3, 3), "\nxml file loaded.", tooFew},
        {pathXml(4, 3, 4), "\nxml file loaded.", tooFew}, // three views
        {head + "<nodes/></camerapath>\n", "\nxml file loaded.", "no \"points\" element"},
        {head + "<points amount=\"9\"/></camerapath>\n", "\nxml file loaded.\nnumber of points: 9",
         tooFew},
        // Nodes start at the first child: a comment there leaves none.
        {leadingComment, "\nxml file loaded.\nnumber of points: 4\ncamera path", tooFew},
        // What was read is printed, a last "pos" without its "view" too.
        {pathXml(3, 2, 3),
         "\nxml file loaded.\nnumber of points: 3"
         "\npos values x='0.000000', y='2.000000', z='0.000000'"
         "\nview values x='1.000000', y='2.000000', z='-5.000000'"
         "\npos values x='10.000000', y='2.000000', z='0.000000'"
         "\nview values x='11.000000', y='2.000000', z='-5.000000'"
         "\npos values x='20.000000', y='2.000000', z='0.000000'\ncamera path " +
             folder +
             "/path.xml not usable: fewer than four pos/view pairs; the view follows "
             "the user camera.",
         tooFew},
    };
    for (const Case& c : cases) {
        path.usable = true;
        std::string out = read(c.text);
        EXPECT_FALSE(path.usable) << c.text;
        EXPECT_EQ(out.rfind(c.begins, 0), 0u) << out;
        EXPECT_NE(out.find(" not usable: " + c.reason), std::string::npos) << out;
        EXPECT_EQ(reading.reason.rfind(c.reason, 0), 0u) << reading.reason;
        setCamera(1, 2, 3, 4, 5, 6, 0, 1, 0);
        pathPlayback.pathParam = 1.5f;
        playbackStep(path);
        EXPECT_EQ(path.nodeIndex, 0);
        EXPECT_EQ(xyz(pathPlayback.pathEye), std::vector<float>({1, 2, 3}));
        EXPECT_EQ(xyz(pathPlayback.pathLookAt), std::vector<float>({4, 5, 6}));
        read(pathXml(4, 4, 4), "good.xml"); // a good file makes the path usable again
        EXPECT_TRUE(path.usable);
    }
}

TEST_F(CamPath, StraightEqualSpacingMovesAtConstantSpeed) {
    read(pathXml(4, 4, 4));
    for (float t = 0; t <= 1.0f; t += 0.1f) {
        evaluatePath(path, t);
        EXPECT_NEAR(pathPlayback.pathEye.x, 10.0f + 10.0f * t, 1e-4) << "t " << t;
        EXPECT_NEAR(pathPlayback.pathLookAt.x, 11.0f + 10.0f * t, 1e-4);
        EXPECT_EQ(pathPlayback.pathEye.y + pathPlayback.pathLookAt.z, 2.0f - 5.0f);
    }
}

TEST_F(CamPath, WrapsOnlyPastOneAndNeverSkipsASegment) {
    read(pathXml(10, 10, 10));
    pathPlayback.pathParam = 1.0f;
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 0); // no wrap at exactly 1
    EXPECT_FLOAT_EQ(pathPlayback.pathEye.x, 20.0f);
    pathPlayback.pathParam += 0.01f * 180.0f; // a first frame after three seconds of loading
    playbackStep(path);
    EXPECT_EQ(path.nodeIndex, 1); // one segment on, the rest dropped
    EXPECT_EQ(pathPlayback.pathParam, 0.0f);
    EXPECT_FLOAT_EQ(pathPlayback.pathEye.x, 20.0f); // node 2 starts the next segment
    EXPECT_FLOAT_EQ(path.posWindow[3].x, 40.0f);
}

TEST_F(CamPath, WalksTheNodesAndRepeatsTheLastSegmentAtTheEnd) {
    // Each case: nodes held (pos, view), the declared amount, and the eye x at the start of
    // each segment played; node i stands at x = 10 i.
    struct Case {
        int eyes, views, amount;
        std::vector<float> starts;
    } cases[] = {
        {8, 8, 4, {10, 10, 10}},                 // below five the window never moves
        {8, 8, -1, {10, 10, 10}},                // below zero: reported, taken as 0
        {8, 8, INT_MIN, {10, 10, 10}},           // and amount - 3 does not overflow
        {6, 5, 40, {10, 20, 20}},                // a "pos" without its "view" is no node
        {6, 6, 40, {10, 20, 30, 30, 30, 30}},    // more declared than held: end at the last
        {6, 6, 6, {10, 20, 30, 30, 30, 30, 30}}, // 1-2, 2-3, 3-4, then 3-4 again
    };
    for (const Case& c : cases) {
        std::string out = read(pathXml(c.eyes, c.views, c.amount));
        EXPECT_EQ(out.find("amount " + std::to_string(c.amount) + " is negative; taken as 0") !=
                      std::string::npos,
                  c.amount < 0)
            << out;
        playbackStep(path);
        EXPECT_FLOAT_EQ(pathPlayback.pathEye.x, c.starts[0]);
        for (size_t k = 1; k < c.starts.size(); k++)
            EXPECT_FLOAT_EQ(nextSegmentStart(), c.starts[k]) << c.amount << " segment " << k;
        EXPECT_FLOAT_EQ(path.posWindow[3].x, c.starts.back() + 20) << c.amount;
        EXPECT_FLOAT_EQ(path.viewWindow[3].x, c.starts.back() + 21) << c.amount;
    }
    // At the end the window stays on the last node; nothing beyond it is read.
    EXPECT_EQ(path.nextNode, path.nodes.size());
}

} // namespace
