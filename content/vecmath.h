// Small vector and scalar math of the generator's own: the generator does not link the demo.
#pragma once
#include <algorithm>
#include <cmath>

inline constexpr float kPi = 3.14159265358979f;

struct Float3 {
    float x = 0, y = 0, z = 0;
};
inline Float3 operator+(Float3 a, Float3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Float3 operator-(Float3 a, Float3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Float3 operator*(Float3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(Float3 a, Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Float3 crossV(Float3 a, Float3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float lengthV(Float3 a) {
    return std::sqrt(dot(a, a));
}
inline Float3 unitV(Float3 a) {
    float l = lengthV(a);
    return l > 0 ? a * (1.0f / l) : a;
}

// Linear blend from a (t = 0) to b (t = 1); colours are Float3 too.
inline Float3 mix(Float3 a, Float3 b, float t) {
    return a + (b - a) * t;
}
inline float clamp01(float x) {
    return std::clamp(x, 0.0f, 1.0f);
}
inline float fract(float x) {
    return x - std::floor(x);
}
// a folded into [0, period): the index of a tiling lattice or image.
inline int wrapIndex(int a, int period) {
    int m = a % period;
    return m < 0 ? m + period : m;
}
