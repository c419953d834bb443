// Vector and 4x4 matrix operations, single precision. Pure: every result goes into the
// matrix the caller hands over. Matrices are column-major: element (row r, column c) is
// m[4 * c + r], handed to GL untransposed.
#pragma once

struct Vec3 {
    float x, y, z;
};

typedef float Mat4[16];

// The far plane of every perspective.
constexpr float farPlane = 3000.0f;

Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalize(Vec3 v); // no guard: callers never pass a zero vector

void identityMatrix(float* m);
void multiplyMatrix(float* out, const float* a, const float* b); // out = a * b; out may alias
void translateMatrix(float* m, float x, float y, float z);       // m = m * T
void rotateModel(float* m, float ax, float ay, float az);        // m = m * Rz*Ry*Rx, degrees
void lookAt(float* m, float eyeX, float eyeY, float eyeZ, float centreX, float centreY,
            float centreZ, float upX, float upY, float upZ);
// out = the perspective of the vertical field of view (degrees) and the width/height aspect.
void perspective(float* out, float fovY, float aspect, float nearPlane, float farDistance);
void frustum(float* out, float left, float right, float bottom, float top, float nearPlane,
             float farDistance);
// out = pixel space of width x height, y down from the top-left corner.
void ortho(float* out, float width, float height, float nearPlane, float farDistance);
