// The camera path recorder through its keys: the written file byte for byte, the state
// machine of "q", "w", "e", and a write that fails without harming the old file.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "app/input.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "pathfiles.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

class Recorder : public ::testing::Test {
  protected:
    TempFolder folder;
    std::string target = folder.file("campath.xml");
    void SetUp() override {
        resetRecorder();
        recordFileName = target.c_str();
        setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
    }
    void TearDown() override { recordFileName = "campath.xml"; }
    std::string press(const char* keys) {
        CaptureStdout();
        for (const char* k = keys; *k; k++)
            keyboard(static_cast<unsigned char>(*k), 0, 0);
        return GetCapturedStdout();
    }
    std::vector<std::string> folderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path))
            names.push_back(entry.path().filename());
        return names;
    }
};

TEST_F(Recorder, ThreeNodesInTinyXmlPrintLayout) {
    press("q");
    setCamera(1.23456789f, -2, 0.5f, 10, 20, -30, 0, 1, 0);
    press("w");
    setCamera(0, 0, 0, 0, 0, 0, 0, 1, 0);
    press("w");
    setCamera(-1e-7f, 1000, 3, 4, 5, 6, 0, 1, 0);
    std::string out = press("we");
    EXPECT_EQ(out, "\ncam node added!\ncam path finished!");
    EXPECT_EQ(recordNodeCount, 3);
    EXPECT_EQ(readText(target),
              "<?xml version=\"1.0\" ?>\n"
              "<camerapath>\n"
              "    <points amount=\"3\">\n"
              "        <pos x=\"1.234568\" y=\"-2.000000\" z=\"0.500000\" />\n"
              "        <view xv=\"10.000000\" yv=\"20.000000\" zv=\"-30.000000\" />\n"
              "        <pos x=\"0.000000\" y=\"0.000000\" z=\"0.000000\" />\n"
              "        <view xv=\"0.000000\" yv=\"0.000000\" zv=\"0.000000\" />\n"
              "        <pos x=\"-0.000000\" y=\"1000.000000\" z=\"3.000000\" />\n"
              "        <view xv=\"4.000000\" yv=\"5.000000\" zv=\"6.000000\" />\n"
              "    </points>\n"
              "</camerapath>\n");
    // Written through a temporary file that is gone afterwards.
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"campath.xml"});
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IRGRP, 0u) << "a recorded path is readable like any new file";
}

TEST_F(Recorder, KeysFollowTheRecorderState) {
    // "w" and "e" before "q" do nothing, nor do the calls behind them.
    EXPECT_EQ(press("wewe"), "");
    CaptureStdout();
    addRecordNode();
    finishRecording();
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_FALSE(recordingStarted || recordingFinished);
    EXPECT_EQ(access(target.c_str(), F_OK), -1);

    EXPECT_EQ(press("qwwe"),
              "\ncam path started!\ncam node added!\ncam node added!\ncam path finished!");
    std::string written = readText(target);
    EXPECT_NE(written.find("<points amount=\"2\">"), std::string::npos) << written;

    // One recording per run: later keys do nothing, the file stays.
    EXPECT_EQ(press("qwe"), "");
    EXPECT_EQ(recordNodeCount, 2);
    EXPECT_EQ(readText(target), written);
}

// In a child process that cannot write the folder: root passes permission checks, so the
// child drops to an unprivileged user first.
void recordIntoReadOnlyFolder(const std::string& folderPath) {
    dup2(2, 1); // the death-test matcher reads stderr
    chmod(folderPath.c_str(), 0555);
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        exit(3);
    setvbuf(stdout, nullptr, _IONBF, 0);
    keyboard('q', 0, 0);
    keyboard('w', 0, 0);
    keyboard('e', 0, 0);
    exit(0);
}

TEST_F(Recorder, UnwritableFolderLeavesTheOldFileIntact) {
    const std::string old = "<?xml version=\"1.0\" ?>\n<camerapath>old</camerapath>\n";
    writeText(target, old);
    EXPECT_EXIT(recordIntoReadOnlyFolder(folder.path), testing::ExitedWithCode(0),
                "cam path not written to .*campath.xml: Permission denied\ncam path finished!");
    chmod(folder.path.c_str(), 0755);
    EXPECT_EQ(readText(target), old);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"campath.xml"});
}

} // namespace
