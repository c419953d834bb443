// The user camera: eye, look-at point and up vector, steered by the arrow keys and
// the mouse. The eye-to-view distance never changes: turning rotates the view point
// about the eye, moving shifts both points together.
#pragma once
#include "math/vecmath.h"

struct Camera {
    Vec3 eye;
    Vec3 view;
    Vec3 up;
    int height; // the window's size in pixels
    int width;
};

// Set by start-up and reshape (the window size, kept only here); moved and turned by the
// frame's calls.
extern Camera camera;

struct CameraControl {
    // Written by mouseLook (camera/camera.cpp).
    float pitchTotal = 0;    // accumulated mouse-look pitch, radians, within [-2, 2]
    float pitchPrevious = 0; // pitchTotal before the latest step
    // The speeds the arrow keys set (app/input.cpp) and the frame applies, not scaled by
    // the frame timer.
    float cameraSpeed = 0; // fraction of the horizontal eye-to-view vector moved per frame
    float cameraLift = 0;  // world units the eye and view point rise per frame
};
extern CameraControl cameraControl;

void setCamera(float eyeX, float eyeY, float eyeZ, float viewX, float viewY, float viewZ, float upX,
               float upY, float upZ);
void mouseLook(Camera& cam);
void rotateView(Camera& cam, float angle, float x, float y, float z);
void moveCamera(Camera& cam); // horizontally, by cameraSpeed
void liftCamera(Camera& cam); // vertically, by cameraLift
