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

    ilInit();
    ilBindImage(ilGenImage());
    ASSERT_TRUE(ilLoadImage((dir + "recorded_path.png").c_str())) << "no plot";
    EXPECT_EQ(ilGetInteger(IL_IMAGE_WIDTH), 1280);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), 640);
}

TEST_F(PathsTool, BrokenFilesFailWithAClearMessage) {
    std::ofstream(dir + "broken_path.xml") << "<camerapath><points amount=\"9\"><pos x=\"1\"/>";
    std::ofstream(dir + "short_path.xml")
        << "<camerapath><points amount=\"2\"><pos x=\"1\"/><view xv=\"1\"/>"
           "<pos x=\"2\"/><view xv=\"2\"/></points></camerapath>";
    // Each case: the arguments and a part of the message.
    const std::pair<std::string, std::string> cases[] = {
        {dir + "broken_path.xml", "cannot be played"},
        {dir + "short_path.xml", "fewer than four"},
        {dir + "no_such_path.xml", "cannot be played"},
        {"", "usage"}};
    for (const auto& [arguments, message] : cases) {
        std::string output;
        EXPECT_EQ(runTool(arguments, &output), 1) << arguments;
        EXPECT_NE(output.find(message), std::string::npos) << output;
    }
}

} // namespace
