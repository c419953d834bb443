// The user camera: mouse look with its pitch limit and horizontal movement; the cursor is
// driven through the platform layer without a window system.
#include <gtest/gtest.h>

#include <cmath>

#include "camera/camera.h"
#include "platform/platform.h"

namespace {

float distance(Vec3 a, Vec3 b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

Vec3 direction(const Camera& c) {
    return {c.view.x - c.eye.x, c.view.y - c.eye.y, c.view.z - c.eye.z};
}

class CameraTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setCursorWarp(false);
        camera.width = 1280;
        camera.height = 721; // odd: the centre is the integer half, 360
        setCamera(0, 0, 6, 0, 1.5f, 5, 0, 1, 0);
        cameraControl.pitchTotal = cameraControl.pitchPrevious = 0;
        cameraControl.cameraSpeed = 0;
    }
    // One mouse-look step with the pointer at (dx, dy) pixels from the centre.
    void look(int dx, int dy) {
        cursorMoved(640 + dx, 360 + dy);
        mouseLook(camera);
    }
};

TEST_F(CameraTest, PitchClampsAtTwoAndYawStillApplies) {
    cameraControl.pitchTotal = 1.9f;
    Vec3 before = direction(camera);
    look(0, -300); // +0.3 asked, only 0.1 left before the limit
    EXPECT_EQ(cameraControl.pitchTotal, 2.0f);
    EXPECT_FLOAT_EQ(cameraControl.pitchPrevious, 1.9f);
    Vec3 turned = direction(camera);
    float dot = before.x * turned.x + before.y * turned.y + before.z * turned.z;
    EXPECT_NEAR(std::acos(dot / (distance(before, {}) * distance(turned, {}))), 0.1f, 1e-4);

    // At the limit: no pitch, but the yaw of the same step turns about the world y axis.
    before = direction(camera);
    look(200, -50);
    EXPECT_EQ(cameraControl.pitchTotal, 2.0f);
    Vec3 after = direction(camera);
    EXPECT_NEAR(after.y, before.y, 1e-5);
    float yaw = std::atan2(after.x, after.z) - std::atan2(before.x, before.z);
    EXPECT_NEAR(std::remainder(yaw, 2 * M_PI), -0.2f, 1e-4);

    cameraControl.pitchTotal = -1.95f; // the lower limit likewise
    look(0, 400);
    EXPECT_EQ(cameraControl.pitchTotal, -2.0f);
}

TEST_F(CameraTest, MovesAlongTheHorizontalView) {
    cameraControl.cameraSpeed = -0.25f;
    setCamera(1, 2, 3, 3, 10, 3, 0, 1, 0);
    moveCamera(camera);
    EXPECT_FLOAT_EQ(camera.eye.x, 0.5f);
    EXPECT_FLOAT_EQ(camera.view.x, 2.5f);
    EXPECT_EQ(camera.eye.y, 2.0f); // looking up does not make it climb
}

TEST_F(CameraTest, LookingAlongUpStaysFinite) {
    setCamera(0, 0, 0, 0, 2, 0, 0, 1, 0);
    for (int i = 0; i < 10; i++)
        look(30, -40);
    EXPECT_TRUE(
        std::isfinite(camera.view.x + camera.view.y + camera.view.z + cameraControl.pitchTotal));
    EXPECT_NEAR(distance(camera.eye, camera.view), 2.0f, 1e-5);
}

} // namespace
