// The input callbacks on the state they change, without a window: every key, the arrow
// press/release pairs, the glow parameter's steps and messages, and the pointer.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <cmath>

#include "app/app.h"
#include "camera/camera.h"
#include "campath/campath.h"
#include "platform/platform.h"
#include "render/render.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

std::string press(const std::string& keys) {
    CaptureStdout();
    for (char k : keys)
        keyboard(static_cast<unsigned char>(k), 0, 0);
    return GetCapturedStdout();
}

TEST(Input, InitialValues) {
    EXPECT_FLOAT_EQ(dd, 0.005f);
    EXPECT_EQ(headingCos, -1.0f);
    EXPECT_EQ(headingSin, 0.0f);
    EXPECT_FALSE(cameraPathMode);
    EXPECT_FALSE(bloomEnabled);
    EXPECT_EQ(cameraLift, 0.0f);
}

TEST(Input, TogglesAreLowerCaseOnly) {
    bloomEnabled = cameraPathMode = shaderEnabled = levelTwoActive = false;
    EXPECT_EQ(press("BCXSQWELO"), "");
    EXPECT_FALSE(bloomEnabled);
    EXPECT_FALSE(cameraPathMode);
    EXPECT_FALSE(shaderEnabled);
    EXPECT_FALSE(levelTwoActive);
    EXPECT_FALSE(recordingStarted);
    EXPECT_FLOAT_EQ(dd, 0.005f);

    press("b");
    EXPECT_TRUE(bloomEnabled);
    press("b");
    EXPECT_FALSE(bloomEnabled);
    press("c");
    EXPECT_TRUE(cameraPathMode);
    press("c");
    EXPECT_FALSE(cameraPathMode);
    // "x" without a window only remembers the choice.
    press("x");
    EXPECT_TRUE(shaderEnabled);
    press("x");
    EXPECT_FALSE(shaderEnabled);
    // Keys with no action, and the pointer position, change nothing.
    keyboard('a', 100, 200);
    keyboard(0, 0, 0);
    keyboard(255, 0, 0);
    EXPECT_FALSE(bloomEnabled);
}

TEST(Input, GlowParameterStepsAndPrints) {
    dd = 0.005f;
    EXPECT_EQ(press("o"), "\ndd: 0.005500");
    EXPECT_EQ(press("l"), "\ndd: 0.005000");
    // Ten steps down end a hair below zero through float rounding; no bounds.
    std::string out = press("llllllllll");
    EXPECT_EQ(out.substr(out.rfind('\n')), "\ndd: -0.000000");
    EXPECT_LT(dd, 0.0f);
    EXPECT_EQ(press("l"), "\ndd: -0.000500");
    EXPECT_EQ(press("ooo"), "\ndd: -0.000000\ndd: 0.000500\ndd: 0.001000");
}

TEST(Input, GlowParameterStepsInDoubleThenStoresFloat) {
    dd = 0.005f;
    press("o");
    EXPECT_EQ(dd, float(double(0.005f) + 0.0005));
}

TEST(Input, ArrowPressReleasePairs) {
    cameraSpeed = cameraLift = 0;
    specialKeyDown(GLUT_KEY_UP, 0, 0);
    specialKeyDown(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(cameraSpeed, 0.25f); // set, not accumulated
    specialKeyDown(GLUT_KEY_DOWN, 0, 0);
    EXPECT_EQ(cameraSpeed, -0.25f); // the last press wins
    specialKeyUp(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(cameraSpeed, 0.0f);

    // Up, Left, release Left: both stop.
    specialKeyDown(GLUT_KEY_UP, 0, 0);
    specialKeyDown(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(cameraLift, 0.25f);
    specialKeyUp(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(cameraLift, 0.0f);
    EXPECT_EQ(cameraSpeed, 0.0f);

    // Left, Up, release Up: still rising.
    specialKeyDown(GLUT_KEY_LEFT, 0, 0);
    specialKeyDown(GLUT_KEY_UP, 0, 0);
    specialKeyUp(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(cameraLift, 0.25f);
    EXPECT_EQ(cameraSpeed, 0.0f);

    // Right sinks; its release stops forward motion as well.
    specialKeyDown(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(cameraLift, -0.25f);
    specialKeyDown(GLUT_KEY_DOWN, 0, 0);
    specialKeyUp(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(cameraLift, 0.0f);
    EXPECT_EQ(cameraSpeed, 0.0f);

    // Other special keys are ignored.
    specialKeyDown(GLUT_KEY_F1, 0, 0);
    specialKeyDown(GLUT_KEY_PAGE_UP, 0, 0);
    EXPECT_EQ(cameraLift, 0.0f);
    specialKeyDown(GLUT_KEY_UP, 0, 0);
    specialKeyUp(GLUT_KEY_HOME, 0, 0);
    EXPECT_EQ(cameraSpeed, 0.25f);
    specialKeyUp(GLUT_KEY_UP, 0, 0);
}

TEST(Input, PointerKeepsHeadingAndFeedsMouseLook) {
    passiveMotion(520, 77);
    EXPECT_FLOAT_EQ(headingAngle, 2.0f);
    EXPECT_FLOAT_EQ(headingSin, std::sin(2.0f));
    EXPECT_FLOAT_EQ(headingCos, -std::cos(2.0f));
    int x, y;
    getCursorPos(&x, &y);
    EXPECT_EQ(x, 520);
    EXPECT_EQ(y, 77);
    passiveMotion(320, 0);
    EXPECT_EQ(headingCos, -1.0f);
}

TEST(Input, RecorderKeysNeedQFirst) {
    resetRecorder();
    EXPECT_EQ(press("we"), "");
    EXPECT_FALSE(recordingStarted);
    EXPECT_EQ(recordNodeCount, 0);
    EXPECT_EQ(press("q"), "\ncam path started!");
    EXPECT_EQ(press("w"), "\ncam node added!");
    EXPECT_EQ(press("q"), "");
    EXPECT_EQ(recordNodeCount, 1);
    resetRecorder();
}

TEST(Input, SSwitchesToTheSecondScene) {
    levelTwoActive = false;
    brightness = 1.0f;
    bloomEnabled = true;
    press("s");
    EXPECT_TRUE(levelTwoActive);
    EXPECT_EQ(brightness, 0.0f);
    EXPECT_FALSE(bloomEnabled);
}

TEST(Input, EscapeShutsDownWithStatusZero) {
    EXPECT_EXIT(keyboard(27, 0, 0), testing::ExitedWithCode(0), "");
}

} // namespace
