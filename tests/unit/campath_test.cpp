// Reading camera path files: the four-node window, the messages, per-axis "last value"
// reads, and files that cannot be played (missing, malformed, too short).
#include <gtest/gtest.h>

#include "camera/camera.h"
#include "campath/campath.h"
#include "pathfiles.h"

namespace {

class PathFile : public PathReading {};

TEST_F(PathFile, RecordedFileReadsBackRoundedToSixDecimals) {
    resetRecorder();
    std::string name = folder.file("campath.xml");
    recordFileName = name.c_str();
    testing::internal::CaptureStdout();
    startRecording();
    for (int i = 0; i < 5; i++) {
        setCamera(1.23456789f + i, 2.5f * i, 3, 0.1f * i, 7.0000004f, -1e-7f, 0, 1, 0);
        addRecordNode();
    }
    finishRecording();
    testing::internal::GetCapturedStdout();
    recordFileName = "campath.xml";

    std::string out = read(readText(name));
    ASSERT_TRUE(path.usable) << out;
    EXPECT_EQ(path.amount, 5);
    EXPECT_EQ(path.nodeIndex, 0);
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(path.posWindow[i].x, float(std::stod(std::to_string(1.23456789 + i))));
        EXPECT_FLOAT_EQ(path.posWindow[i].y, 2.5f * i);
        EXPECT_FLOAT_EQ(path.viewWindow[i].y, 7.0f);
        EXPECT_EQ(path.viewWindow[i].z, 0.0f); // -0.000000 after rounding
    }
    // The cursor stands on the "view" of node 3; node 4 is left for playback.
    ASSERT_NE(path.cursor, nullptr);
    EXPECT_STREQ(path.cursor->Value(), "view");
    EXPECT_EQ(out.rfind("\nxml file loaded.\nnumber of points: 5\npos values x='1.234568', "
                        "y='0.000000', z='3.000000'\nview values x='0.000000', y='7.000000', "
                        "z='-0.000000'\npos values",
                        0),
              0u)
        << out;
}

TEST_F(PathFile, OnlyTheOrderOfChildrenCountsNotTheirNamesOrTheRoots) {
    // Node 1 written "view" first: that element is read as the pos, whose x, y, z it lacks,
    // so the values read last (node 0's view) stay; the pos element then serves as the view.
    std::string text = "<?xml version=\"1.0\" ?>\n<elsewhere><points amount=\"4\">"
                       "<pos x=\"1\" y=\"2\" z=\"3\"/><view xv=\"4\" yv=\"5\" zv=\"6\"/>"
                       "<view xv=\"7\" yv=\"8\" zv=\"9\"/><pos x=\"10\" y=\"11\" z=\"12\"/>"
                       "<a x=\"1\" y=\"1\" z=\"1\"/><b xv=\"2\" yv=\"2\" zv=\"2\"/>"
                       "<pos x=\"3\" y=\"3\" z=\"3\"/><view xv=\"4\" yv=\"4\" zv=\"4\"/>"
                       "</points></elsewhere>\n";
    read(text);
    ASSERT_TRUE(path.usable);
    EXPECT_EQ(path.posWindow[1].x, 4.0f);
    EXPECT_EQ(path.posWindow[1].z, 6.0f);
    EXPECT_EQ(path.viewWindow[1].x, 4.0f);
    EXPECT_EQ(path.viewWindow[1].z, 6.0f);
    // Other element names are read like "pos" and "view".
    EXPECT_EQ(path.posWindow[2].y, 1.0f);
    EXPECT_EQ(path.viewWindow[2].y, 2.0f);
}

TEST_F(PathFile, MissingOrBadAttributesKeepTheLastValuePerAxis) {
    std::string text = "<?xml version=\"1.0\" ?>\n<camerapath><points amount=\"4\">"
                       "<pos y=\"2\" z=\"3\"/><view xv=\"4\" yv=\"5\" zv=\"6\"/>"
                       "<pos x=\"10\" z=\"abc\"/><view yv=\"8\"/>"
                       "<pos x=\"1\" y=\"1\" z=\"1\"/><view xv=\"2\" yv=\"2\" zv=\"2\"/>"
                       "<pos x=\"3\" y=\"3\" z=\"3\"/><view xv=\"4\" yv=\"4\" zv=\"4\"/>"
                       "</points></camerapath>\n";
    read(text);
    ASSERT_TRUE(path.usable);
    EXPECT_EQ(path.posWindow[0].x, 0.0f); // nothing read yet in this file
    EXPECT_EQ(path.posWindow[1].x, 10.0f);
    EXPECT_EQ(path.posWindow[1].y, 5.0f);   // from node 0's view
    EXPECT_EQ(path.posWindow[1].z, 6.0f);   // "abc" does not parse
    EXPECT_EQ(path.viewWindow[1].x, 10.0f); // a view without xv takes its own pos's x
    EXPECT_EQ(path.viewWindow[1].y, 8.0f);
    EXPECT_EQ(path.viewWindow[1].z, 6.0f);
}

TEST_F(PathFile, UnusableFilesAreReportedAndMarked) {
    // Each case: the file's text (empty: no file), how the output begins, and the reason.
    // A good file read next into the same path makes it usable again.
    const std::string head = "<?xml version=\"1.0\" ?>\n<camerapath>";
    const std::string notXml = "missing or not well-formed XML", tooFew = "fewer than four";
    struct Case {
        std::string text, begins, reason;
    } cases[] = {
        {"", "\nxml file not found.", notXml},
        {head + "<points amount=\"4\"><pos x=\"1\"", "\nxml file not found.", notXml},
        {pathXml(alongX(3), alongX(3), 3), "\nxml file loaded.", tooFew},
        {pathXml(alongX(4), alongX(3), 4), "\nxml file loaded.", tooFew}, // three views
        {head + "<nodes/></camerapath>\n", "\nxml file loaded.", "no \"points\" element"},
        {head + "<points amount=\"9\"/></camerapath>\n", "\nxml file loaded.\nnumber of points: 9",
         tooFew},
    };
    for (const Case& c : cases) {
        path.usable = true;
        std::string out = read(c.text);
        EXPECT_FALSE(path.usable) << c.text;
        EXPECT_EQ(out.rfind(c.begins, 0), 0u) << out;
        EXPECT_NE(out.find(" not usable: " + c.reason), std::string::npos) << out;
        read(pathXml(alongX(4), alongX(4), 4));
        EXPECT_TRUE(path.usable);
    }
}

} // namespace
