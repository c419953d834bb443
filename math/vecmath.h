// Vector and 4x4 matrix operations, single precision, and the global matrices the
// renderer uploads. Matrices are column-major: element (row r, column c) is m[4 * c + r],
// handed to GL untransposed.
#pragma once

struct Vec3 {
    float x, y, z;
};

typedef float Mat4[16];

// Global matrices; all zeros until written: through the functions below, by the frame
// and the glow passes (render/) and by reshape (app/).
extern Mat4 projection;      // perspective(), uploaded as "projectionMatrix" of item programs
extern Mat4 orthoProjection; // ortho(), for the full-screen quad
extern Mat4 modelMatrix;     // transform of the thing being drawn
extern Mat4 viewMatrix;      // model-view of the item being drawn
extern Mat4 quadViewMatrix;  // model-view of the full-screen quad

// Window globals read by the projections; start-up and reshape keep them current.
extern int windowWidth;   // 640 until start-up
extern int windowHeight;  // 480 until start-up
extern float aspectRatio; // windowWidth / windowHeight
extern float farPlane;    // 3000, far plane of every perspective

Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalize(Vec3 v); // no guard: callers never pass a zero vector

void identityMatrix(float* m);
void multiplyMatrix(float* out, const float* a, const float* b); // out = a * b; out may alias
void translateMatrix(float* m, float x, float y, float z);       // m = m * T
void rotateModel(float ax, float ay, float az); // modelMatrix = modelMatrix * Rz*Ry*Rx, degrees
void lookAt(float* m, float eyeX, float eyeY, float eyeZ, float centreX, float centreY,
            float centreZ, float upX, float upY, float upZ);
void perspective(float fovY, float nearPlane, float farDistance); // writes projection
void frustum(float left, float right, float bottom, float top, float nearPlane,
             float farDistance);                                           // writes projection
void ortho(float width, float height, float nearPlane, float farDistance); // orthoProjection
