// Reading camera path files: the four-node window, the messages, per-axis "last value"
// reads, and files that cannot be played (missing, malformed, too short).
#include <gtest/gtest.h>

#include "camera/camera.h"
#include "campath/campath.h"
#include "pathfiles.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class PathFile : public ::testing::Test {
  protected:
    TempFolder folder;
    CameraPath path = {};
    TiXmlDocument document;

    std::string read(const std::string& text) {
        std::string name = folder.file("path.xml");
        writeText(name, text);
        CaptureStdout();
        readCameraPath(name.c_str(), path, document);
        return GetCapturedStdout();
    }
};

std::vector<Vec3> line(int count, float step) {
    std::vector<Vec3> points;
    for (int i = 0; i < count; i++)
        points.push_back({i * step, 1.0f, -float(i)});
    return points;
}

TEST_F(PathFile, RecordedFileReadsBackRoundedToSixDecimals) {
    resetRecorder();
    std::string name = folder.file("campath.xml");
    recordFileName = name.c_str();
    CaptureStdout();
    startRecording();
    for (int i = 0; i < 5; i++) {
        setCamera(1.23456789f + i, 2.5f * i, 3, 0.1f * i, 7.0000004f, -1e-7f, 0, 1, 0);
        addRecordNode();
    }
    finishRecording();
    GetCapturedStdout();
    recordFileName = "campath.xml";

    CaptureStdout();
    readCameraPath(name.c_str(), path, document);
    std::string out = GetCapturedStdout();
    ASSERT_TRUE(path.usable) << out;
    EXPECT_EQ(path.amount, 5);
    EXPECT_EQ(path.nodeIndex, 0);
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(path.posWindow[i].x, float(std::stod(std::to_string(1.23456789 + i))));
        EXPECT_FLOAT_EQ(path.posWindow[i].y, 2.5f * i);
        EXPECT_FLOAT_EQ(path.viewWindow[i].y, 7.0f);
        EXPECT_EQ(path.viewWindow[i].z, 0.0f); // -0.000000 after rounding
    }
    EXPECT_FLOAT_EQ(path.posWindow[0].x, 1.234568f);
    // The cursor stands on the "view" of node 3.
    ASSERT_NE(path.cursor, nullptr);
    EXPECT_STREQ(path.cursor->Value(), "view");
    TiXmlElement* next = path.cursor->NextSiblingElement();
    ASSERT_NE(next, nullptr);
    EXPECT_STREQ(next->Value(), "pos"); // node 4, left for playback
    EXPECT_EQ(next->NextSiblingElement()->NextSiblingElement(), nullptr);

    EXPECT_EQ(out.rfind("\nxml file loaded.\nnumber of points: 5\npos values x='1.234568', "
                        "y='0.000000', z='3.000000'\nview values x='0.000000', y='7.000000', "
                        "z='-0.000000'\npos values",
                        0),
              0u)
        << out;
}

TEST_F(PathFile, RootNameIsNotChecked) {
    std::string text = pathXml(line(4, 2), line(4, 3), 4);
    text.replace(text.find("<camerapath>"), 12, "<somethingelse>");
    text.replace(text.find("</camerapath>"), 13, "</somethingelse>");
    read(text);
    ASSERT_TRUE(path.usable);
    EXPECT_EQ(path.posWindow[3].x, 6.0f);
    EXPECT_EQ(path.viewWindow[3].x, 9.0f);
}

TEST_F(PathFile, OnlyTheOrderOfChildrenCounts) {
    // Node 1 written "view" first: that element is read as the pos, whose x, y, z it lacks,
    // so the values read last (node 0's view) stay; the pos element then serves as the view.
    std::string text = "<?xml version=\"1.0\" ?>\n<camerapath><points amount=\"4\">"
                       "<pos x=\"1\" y=\"2\" z=\"3\"/><view xv=\"4\" yv=\"5\" zv=\"6\"/>"
                       "<view xv=\"7\" yv=\"8\" zv=\"9\"/><pos x=\"10\" y=\"11\" z=\"12\"/>"
                       "<a x=\"1\" y=\"1\" z=\"1\"/><b xv=\"2\" yv=\"2\" zv=\"2\"/>"
                       "<pos x=\"3\" y=\"3\" z=\"3\"/><view xv=\"4\" yv=\"4\" zv=\"4\"/>"
                       "</points></camerapath>\n";
    std::string out = read(text);
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

TEST_F(PathFile, MissingAmountReadsAsZero) {
    std::string out = read(pathXml(line(4, 1), line(4, 1), -1));
    EXPECT_TRUE(path.usable);
    EXPECT_EQ(path.amount, 0);
    EXPECT_NE(out.find("\nnumber of points: 0"), std::string::npos);
}

TEST_F(PathFile, UnusableFilesAreReportedAndMarked) {
    path.usable = true;
    std::string missing = folder.file("nothere.xml");
    CaptureStdout();
    readCameraPath(missing.c_str(), path, document);
    std::string out = GetCapturedStdout();
    EXPECT_FALSE(path.usable);
    EXPECT_EQ(out.rfind("\nxml file not found.", 0), 0u);
    EXPECT_NE(out.find("not usable"), std::string::npos) << out;

    // Malformed XML counts as not found.
    path.usable = true;
    out = read("<?xml version=\"1.0\" ?>\n<camerapath><points amount=\"4\"><pos x=\"1\"");
    EXPECT_FALSE(path.usable);
    EXPECT_EQ(out.rfind("\nxml file not found.", 0), 0u);

    // Three pairs are not enough for the four-node window.
    path.usable = true;
    out = read(pathXml(line(3, 1), line(3, 1), 3));
    EXPECT_FALSE(path.usable);
    EXPECT_NE(out.find("fewer than four"), std::string::npos) << out;

    // Four pos elements but only three views.
    out = read(pathXml(line(4, 1), line(3, 1), 4));
    EXPECT_FALSE(path.usable);

    // No "points" element, and an empty document root.
    out = read("<?xml version=\"1.0\" ?>\n<camerapath><nodes/></camerapath>\n");
    EXPECT_FALSE(path.usable);
    out = read("<?xml version=\"1.0\" ?>\n<camerapath><points amount=\"9\"/></camerapath>\n");
    EXPECT_FALSE(path.usable);
    EXPECT_NE(out.find("\nnumber of points: 9"), std::string::npos);

    // A usable file read afterwards into the same path is usable again.
    read(pathXml(line(4, 1), line(4, 1), 4));
    EXPECT_TRUE(path.usable);
}

} // namespace
