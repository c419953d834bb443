// Value noise: smoothly blended hashes of integer lattice points, summed over octaves.
#include <cmath>

#include "content/hash.h"
#include "content/noise.h"

namespace {

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

float valueNoise3(Float3 p, uint32_t seed) {
    float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    int ix = int(fx), iy = int(fy), iz = int(fz);
    float tx = smooth(p.x - fx), ty = smooth(p.y - fy), tz = smooth(p.z - fz);
    float c[2][2][2];
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int d = 0; d < 2; ++d)
                c[a][b][d] = latticeHash(ix + a, iy + b, iz + d, seed);
    float x00 = c[0][0][0] + (c[1][0][0] - c[0][0][0]) * tx;
    float x10 = c[0][1][0] + (c[1][1][0] - c[0][1][0]) * tx;
    float x01 = c[0][0][1] + (c[1][0][1] - c[0][0][1]) * tx;
    float x11 = c[0][1][1] + (c[1][1][1] - c[0][1][1]) * tx;
    float y0 = x00 + (x10 - x00) * ty, y1 = x01 + (x11 - x01) * ty;
    return y0 + (y1 - y0) * tz;
}

} // namespace

float valueNoise2(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = smooth(x - fx), ty = smooth(y - fy);
    int x0 = wrapIndex(ix, period), x1 = wrapIndex(ix + 1, period);
    int y0 = wrapIndex(iy, period), y1 = wrapIndex(iy + 1, period);
    float a = latticeHash(x0, y0, 0, seed), b = latticeHash(x1, y0, 0, seed);
    float c = latticeHash(x0, y1, 0, seed), d = latticeHash(x1, y1, 0, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fbm2(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise2(x, y, period, seed + uint32_t(o) * 101u);
        norm += amp;
        x *= 2, y *= 2, period *= 2, amp *= 0.5f;
    }
    return sum / norm;
}

float fbm3(Float3 p, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise3(p, seed + uint32_t(o) * 131u);
        norm += amp;
        p = p * 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}
