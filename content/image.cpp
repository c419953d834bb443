// Images: 24-bit BMP encoding, tiling value noise and normal maps from height fields.
#include <algorithm>
#include <cmath>

#include "content/content.h"

std::vector<uint8_t> encodeBmpRaw(int width, int height, const std::vector<uint8_t>& rgb) {
    int rowBytes = (width * 3 + 3) & ~3;
    uint32_t dataSize = uint32_t(rowBytes) * uint32_t(height);
    std::vector<uint8_t> out(54 + dataSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        out[at] = uint8_t(v);
        out[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height)); // positive: rows stored bottom-up, first stored row is j = 0
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2835); // 72 dpi
    put32(42, 2835);
    for (int j = 0; j < height; ++j) {
        uint8_t* row = &out[54 + size_t(j) * rowBytes];
        for (int i = 0; i < width; ++i) {
            const uint8_t* p = &rgb[(size_t(j) * width + i) * 3];
            row[3 * i] = p[2]; // BMP stores blue, green, red
            row[3 * i + 1] = p[1];
            row[3 * i + 2] = p[0];
        }
    }
    return out;
}

std::vector<uint8_t> encodeBmp(const Image& image) {
    std::vector<uint8_t> rgb(image.rgb.size());
    for (size_t k = 0; k < rgb.size(); ++k) {
        float v = std::clamp(image.rgb[k], 0.0f, 1.0f);
        rgb[k] = uint8_t(std::lround(v * 255.0f));
    }
    return encodeBmpRaw(image.width, image.height, rgb);
}

static uint32_t hash3(int x, int y, int z, uint32_t seed) {
    uint32_t h = seed * 0x27d4eb2du ^ uint32_t(x) * 0x85ebca6bu ^ uint32_t(y) * 0xc2b2ae35u ^
                 uint32_t(z) * 0x165667b1u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}
static float hashUnit(int x, int y, int z, uint32_t seed) {
    return float(hash3(x, y, z, seed) >> 8) * (1.0f / 16777216.0f);
}
static float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}
static int wrap(int a, int period) {
    int m = a % period;
    return m < 0 ? m + period : m;
}

float valueNoise2(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = smooth(x - fx), ty = smooth(y - fy);
    int x0 = wrap(ix, period), x1 = wrap(ix + 1, period);
    int y0 = wrap(iy, period), y1 = wrap(iy + 1, period);
    float a = hashUnit(x0, y0, 0, seed), b = hashUnit(x1, y0, 0, seed);
    float c = hashUnit(x0, y1, 0, seed), d = hashUnit(x1, y1, 0, seed);
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

float valueNoise3(Float3 p, uint32_t seed) {
    float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    int ix = int(fx), iy = int(fy), iz = int(fz);
    float tx = smooth(p.x - fx), ty = smooth(p.y - fy), tz = smooth(p.z - fz);
    float c[2][2][2];
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (int d = 0; d < 2; ++d)
                c[a][b][d] = hashUnit(ix + a, iy + b, iz + d, seed);
    float x00 = c[0][0][0] + (c[1][0][0] - c[0][0][0]) * tx;
    float x10 = c[0][1][0] + (c[1][1][0] - c[0][1][0]) * tx;
    float x01 = c[0][0][1] + (c[1][0][1] - c[0][0][1]) * tx;
    float x11 = c[0][1][1] + (c[1][1][1] - c[0][1][1]) * tx;
    float y0 = x00 + (x10 - x00) * ty, y1 = x01 + (x11 - x01) * ty;
    return y0 + (y1 - y0) * tz;
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

// x follows +u (increasing i), y follows +v (increasing j): the tangent frame that the
// demo's tangents (along du and dv) describe.
Image normalMapFromHeight(const std::vector<float>& h, int w, int ht, float strength) {
    Image out(w, ht);
    auto H = [&](int i, int j) { return h[size_t(wrap(j, ht)) * w + wrap(i, w)]; };
    for (int j = 0; j < ht; ++j)
        for (int i = 0; i < w; ++i) {
            float dx = (H(i + 1, j) - H(i - 1, j)) * 0.5f * strength;
            float dy = (H(i, j + 1) - H(i, j - 1)) * 0.5f * strength;
            Float3 n = unitV({-dx, -dy, 1.0f});
            out.set(i, j, {n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f});
        }
    return out;
}
