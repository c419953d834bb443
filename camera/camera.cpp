// The user camera: set, turned by the mouse, rotated about an axis through the eye, and
// moved along the horizontal view direction.
#include <cmath>

#include "camera/camera.h"
#include "platform/platform.h"

Camera camera = {{0, 0, 0}, {0, 1, 0.5f}, {0, 0, 1}, 0, 0};
CameraControl cameraControl;

static const float kPitchLimit = 2.0f;

void setCamera(float eyeX, float eyeY, float eyeZ, float viewX, float viewY, float viewZ, float upX,
               float upY, float upZ) {
    camera.eye = {eyeX, eyeY, eyeZ};
    camera.view = {viewX, viewY, viewZ};
    camera.up = {upX, upY, upZ};
}

// The right-hand axis for pitching; false when the view runs along the up vector, where
// no such axis exists and normalising would give NaNs.
static bool pitchAxis(const Camera& cam, Vec3* axis) {
    Vec3 d = {cam.view.x - cam.eye.x, cam.view.y - cam.eye.y, cam.view.z - cam.eye.z};
    Vec3 n = cross(d, cam.up);
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    float scale = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z) *
                  std::sqrt(cam.up.x * cam.up.x + cam.up.y * cam.up.y + cam.up.z * cam.up.z);
    if (!(length > 1e-6f * scale) || !std::isfinite(length))
        return false;
    *axis = normalize(n);
    return true;
}

void mouseLook(Camera& cam) {
    CameraControl& control = cameraControl;
    int cx = cam.width >> 1;
    int cy = cam.height >> 1;
    int px = 0, py = 0;
    getCursorPos(&px, &py);
    if (px == cx && py == cy)
        return;
    setCursorPos(cx, cy);

    float yaw = float(cx - px) / 1000.0f;
    float pitchStep = float(cy - py) / 1000.0f;
    control.pitchPrevious = control.pitchTotal;
    control.pitchTotal += pitchStep;

    Vec3 n;
    if (!pitchAxis(cam, &n)) {
        // Looking straight along up: skip the pitch, and do not count it either.
        control.pitchTotal = control.pitchPrevious;
    } else if (control.pitchTotal > kPitchLimit) {
        control.pitchTotal = kPitchLimit;
        if (control.pitchPrevious != kPitchLimit)
            rotateView(cam, kPitchLimit - control.pitchPrevious, n.x, n.y, n.z);
    } else if (control.pitchTotal < -kPitchLimit) {
        control.pitchTotal = -kPitchLimit;
        if (control.pitchPrevious != -kPitchLimit)
            rotateView(cam, -kPitchLimit - control.pitchPrevious, n.x, n.y, n.z);
    } else {
        rotateView(cam, pitchStep, n.x, n.y, n.z);
    }
    // Yaw about the world's vertical axis, whether or not the pitch was clamped.
    rotateView(cam, yaw, 0, 1, 0);
}

void rotateView(Camera& cam, float angle, float x, float y, float z) {
    Vec3 d = {cam.view.x - cam.eye.x, cam.view.y - cam.eye.y, cam.view.z - cam.eye.z};
    float c = std::cos(angle);
    float s = std::sin(angle);
    float k = 1.0f - c;
    Vec3 r;
    r.x = (c + k * x * x) * d.x + (k * x * y - s * z) * d.y + (k * x * z + s * y) * d.z;
    r.y = (k * x * y + s * z) * d.x + (c + k * y * y) * d.y + (k * y * z - s * x) * d.z;
    r.z = (k * x * z - s * y) * d.x + (k * y * z + s * x) * d.y + (c + k * z * z) * d.z;
    cam.view = {cam.eye.x + r.x, cam.eye.y + r.y, cam.eye.z + r.z};
}

void moveCamera(Camera& cam) {
    // Horizontal only: looking up or down does not make the camera climb.
    float dx = cameraControl.cameraSpeed * (cam.view.x - cam.eye.x);
    float dz = cameraControl.cameraSpeed * (cam.view.z - cam.eye.z);
    cam.eye.x += dx;
    cam.view.x += dx;
    cam.eye.z += dz;
    cam.view.z += dz;
}

void liftCamera(Camera& cam) {
    // Both points rise, so the view direction does not change.
    cam.eye.y += cameraControl.cameraLift;
    cam.view.y += cameraControl.cameraLift;
}
