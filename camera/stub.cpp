// Placeholder until the camera lands.
#include "camera/camera.h"
Camera camera = {{0, 0, 0}, {0, 1, 0.5f}, {0, 0, 1}, 0, 0};
float pitchTotal = 0, pitchPrevious = 0, cameraSpeed = 0;
void setCamera(float ex, float ey, float ez, float vx, float vy, float vz, float ux, float uy,
               float uz) {
    camera.eye = {ex, ey, ez};
    camera.view = {vx, vy, vz};
    camera.up = {ux, uy, uz};
}
void mouseLook(Camera&) {}
void rotateView(Camera&, float, float, float, float) {}
void moveCamera(Camera&) {}
