// kestrune-paths on a path the recorder wrote and on broken files.
#include <gtest/gtest.h>

#include <IL/il.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "camera/camera.h"
#include "campath/campath.h"

namespace {

std::string tool() {
    const char* bin = getenv("KESTRUNE_BIN_DIR");
    return std::string(bin ? bin : ".") + "/kestrune-paths";
}

// Runs the tool; returns its exit status and what it printed.
int runTool(const std::string& arguments, std::string* output) {
    std::string command = tool() + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    output->clear();
    while (fgets(buffer, sizeof buffer, pipe))
        *output += buffer;
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PathsTool : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::ifstream(tool()))
            GTEST_SKIP() << "kestrune-paths not built at " << tool();
        dir = ::testing::TempDir();
    }
    std::string dir;
};

TEST_F(PathsTool, PlotsARecordedPath) {
    std::string file = dir + "recorded_path.xml";
    resetRecorder();
    recordFileName = file.c_str();
    startRecording();
    for (int i = 0; i < 8; i++) {
        setCamera(float(i), 1.0f, float(-i), float(i), 1.0f, float(-i - 5), 0, 1, 0);
        addRecordNode();
    }
    finishRecording();
    recordFileName = "campath.xml";

    std::string output;
    ASSERT_EQ(runTool(file, &output), 0) << output;
    EXPECT_NE(output.find("8 nodes held, amount 8"), std::string::npos) << output;
    EXPECT_NE(output.find("(5 segments)"), std::string::npos) << output;

    std::string png = dir + "recorded_path.png";
    ilInit();
    ILuint image;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilLoadImage(png.c_str())) << "no plot at " << png;
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 1280);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 640);
    ilDeleteImages(1, &image);
}

TEST_F(PathsTool, BrokenFilesFailWithAClearMessage) {
    std::string broken = dir + "broken_path.xml";
    std::ofstream(broken) << "<camerapath><points amount=\"9\"><pos x=\"1\"/>";
    std::string shortPath = dir + "short_path.xml";
    std::ofstream(shortPath) << "<camerapath><points amount=\"2\"><pos x=\"1\"/><view xv=\"1\"/>"
                                "<pos x=\"2\"/><view xv=\"2\"/></points></camerapath>";
    std::string output;
    EXPECT_EQ(runTool(broken, &output), 1);
    EXPECT_NE(output.find("cannot be played"), std::string::npos) << output;
    EXPECT_EQ(runTool(shortPath, &output), 1);
    EXPECT_NE(output.find("fewer than four"), std::string::npos) << output;
    EXPECT_EQ(runTool(dir + "no_such_path.xml", &output), 1);
    EXPECT_EQ(runTool("", &output), 1);
    EXPECT_NE(output.find("usage"), std::string::npos);
}

} // namespace
