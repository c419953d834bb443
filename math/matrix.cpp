// 4x4 column-major matrices: products, transforms and projections, single precision.
#include <cmath>
#include <cstring>

#include "math/vecmath.h"

void identityMatrix(float* m) {
    std::memset(m, 0, sizeof(Mat4));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void multiplyMatrix(float* out, const float* a, const float* b) {
    // Into a temporary first, so out may be a or b.
    Mat4 result;
    for (int i = 0; i < 16; i++) {
        int r = i % 4;
        int c = i / 4;
        result[i] = a[r] * b[4 * c] + a[4 + r] * b[4 * c + 1] + a[8 + r] * b[4 * c + 2] +
                    a[12 + r] * b[4 * c + 3];
    }
    std::memcpy(out, result, sizeof(Mat4));
}

void translateMatrix(float* m, float x, float y, float z) {
    Mat4 t;
    identityMatrix(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    multiplyMatrix(m, m, t);
}

void rotateModel(float* m, float ax, float ay, float az) {
    const float twoPi = 6.2831855f;
    float a = ax * twoPi / 360.0f;
    float b = ay * twoPi / 360.0f;
    float c = az * twoPi / 360.0f;
    float sa = std::sin(a), ca = std::cos(a);
    float sb = std::sin(b), cb = std::cos(b);
    float sc = std::sin(c), cc = std::cos(c);

    // R = Rz * Ry * Rx
    Mat4 r = {};
    r[0] = cb * cc;
    r[1] = cb * sc;
    r[2] = -sb;
    r[4] = sa * sb * cc - ca * sc;
    r[5] = sa * sb * sc + ca * cc;
    r[6] = sa * cb;
    r[8] = ca * sb * cc + sa * sc;
    r[9] = ca * sb * sc - sa * cc;
    r[10] = ca * cb;
    r[15] = 1.0f;
    multiplyMatrix(m, m, r);
}

static float length(Vec3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

void lookAt(float* m, float eyeX, float eyeY, float eyeZ, float centreX, float centreY,
            float centreZ, float upX, float upY, float upZ) {
    Vec3 f = {centreX - eyeX, centreY - eyeY, centreZ - eyeZ};
    float fl = length(f);
    if (fl != 0.0f) // a zero direction stays zero rather than becoming NaN
        f = Vec3{f.x / fl, f.y / fl, f.z / fl};
    Vec3 s = cross(f, Vec3{upX, upY, upZ});
    float sl = length(s);
    if (sl != 0.0f)
        s = Vec3{s.x / sl, s.y / sl, s.z / sl};
    Vec3 u = cross(s, f);

    Mat4 r = {};
    r[0] = s.x;
    r[4] = s.y;
    r[8] = s.z;
    r[1] = u.x;
    r[5] = u.y;
    r[9] = u.z;
    r[2] = -f.x;
    r[6] = -f.y;
    r[10] = -f.z;
    r[15] = 1.0f;
    identityMatrix(m);
    multiplyMatrix(m, m, r);
    translateMatrix(m, -eyeX, -eyeY, -eyeZ);
}

void perspective(float* out, float fovY, float aspect, float nearPlane, float farDistance) {
    float angle = fovY * 3.1415927f / 360.0f;
    float top = std::tan(angle) * nearPlane;
    float bottom = -top;
    frustum(out, bottom * aspect, top * aspect, bottom, top, nearPlane, farDistance);
}

void frustum(float* out, float l, float r, float b, float t, float n, float f) {
    std::memset(out, 0, sizeof(Mat4));
    out[0] = 2 * n / (r - l);
    out[5] = 2 * n / (t - b);
    out[8] = (r + l) / (r - l);
    out[9] = (t + b) / (t - b);
    out[10] = -(f + n) / (f - n);
    out[11] = -1.0f;
    out[14] = -2 * f * n / (f - n);
}

void ortho(float* out, float width, float height, float nearPlane, float farDistance) {
    // Left 0, right width, top 0, bottom height: y points down from the top-left corner.
    std::memset(out, 0, sizeof(Mat4));
    out[0] = 2.0f / width;
    out[5] = -2.0f / height;
    out[10] = -2.0f / (farDistance - nearPlane);
    out[12] = -1.0f;
    out[13] = 1.0f;
    out[14] = -(farDistance + nearPlane) / (farDistance - nearPlane);
    out[15] = 1.0f;
}
