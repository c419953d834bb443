// The keyboard callback on the flags it toggles, without a window. (Keys as the window
// system delivers them, the arrows and the glow parameter's steps are checked on the real
// demo: tests/integration/keys.sh and session.sh.)
#include <gtest/gtest.h>

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

} // namespace
