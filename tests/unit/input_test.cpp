// The input callbacks on the state they change, without a window: every key, the arrow
// press/release pairs, the glow parameter's steps and messages.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include "app/input.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "show/flags.h"
#include "render/internal.h"
#include "show/timeline.h"

namespace {

std::string press(const std::string& keys) {
    testing::internal::CaptureStdout();
    for (char k : keys)
        keyboard(static_cast<unsigned char>(k), 0, 0);
    return testing::internal::GetCapturedStdout();
}

TEST(Input, TogglesAreLowerCaseOnly) {
    showFlags.bloomEnabled = showFlags.cameraPathMode = renderer.shaderEnabled =
        timeline.levelTwoActive = false;
    EXPECT_EQ(press(std::string("BCXSQWELOa\0\xff", 12)), ""); // upper case or no action
    EXPECT_FALSE(showFlags.bloomEnabled || showFlags.cameraPathMode || renderer.shaderEnabled ||
                 timeline.levelTwoActive || pathRecorder.recordingStarted);
    EXPECT_FLOAT_EQ(showFlags.dd, 0.005f);

    // "x" without a window only remembers the choice.
    for (auto [key, flag] : {std::pair{"b", &showFlags.bloomEnabled},
                             {"c", &showFlags.cameraPathMode},
                             {"x", &renderer.shaderEnabled}}) {
        press(key);
        EXPECT_TRUE(*flag) << key;
        press(key);
        EXPECT_FALSE(*flag) << key;
    }
}

TEST(Input, GlowParameterStepsAndPrints) {
    showFlags.dd = 0.005f;
    EXPECT_EQ(press("o"), "\ndd: 0.005500");
    EXPECT_EQ(press("l"), "\ndd: 0.005000");
    press("lllllllllll"); // no lower bound
    EXPECT_LT(showFlags.dd, 0.0f);
}

TEST(Input, ArrowPressReleasePairs) {
    // Each step: press (true) or release, the key, then speed and lift afterwards. A press
    // sets (never accumulates); releasing Left or Right also stops forward motion.
    const float f = 0.25f;
    struct Step {
        bool down;
        int key;
        float speed, lift;
    } steps[] = {{true, GLUT_KEY_UP, f, 0},       {true, GLUT_KEY_UP, f, 0},
                 {true, GLUT_KEY_DOWN, -f, 0},    {false, GLUT_KEY_UP, 0, 0},
                 {true, GLUT_KEY_UP, f, 0},       {true, GLUT_KEY_LEFT, f, f},
                 {false, GLUT_KEY_LEFT, 0, 0},    {true, GLUT_KEY_LEFT, 0, f},
                 {true, GLUT_KEY_UP, f, f},       {false, GLUT_KEY_UP, 0, f},
                 {true, GLUT_KEY_RIGHT, 0, -f},   {true, GLUT_KEY_DOWN, -f, -f},
                 {false, GLUT_KEY_RIGHT, 0, 0},   {true, GLUT_KEY_F1, 0, 0},
                 {true, GLUT_KEY_UP, f, 0},       {false, GLUT_KEY_HOME, f, 0},
                 {false, GLUT_KEY_PAGE_UP, f, 0}, {false, GLUT_KEY_UP, 0, 0}};
    cameraControl.cameraSpeed = cameraControl.cameraLift = 0;
    int n = 0;
    for (const Step& s : steps) {
        (s.down ? specialKeyDown : specialKeyUp)(s.key, 0, 0);
        EXPECT_EQ(cameraControl.cameraSpeed, s.speed) << "step " << n;
        EXPECT_EQ(cameraControl.cameraLift, s.lift) << "step " << n++;
    }
}

} // namespace
