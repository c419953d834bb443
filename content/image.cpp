// Images: 24-bit BMP encoding and normal maps from height fields.
#include <algorithm>
#include <cmath>

#include "content/files.h"
#include "content/image.h"

namespace {

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

} // namespace

std::vector<uint8_t> encodeBmp(const Image& image) {
    std::vector<uint8_t> rgb(image.rgb.size());
    for (size_t k = 0; k < rgb.size(); ++k) {
        float v = std::clamp(image.rgb[k], 0.0f, 1.0f);
        rgb[k] = uint8_t(std::lround(v * 255.0f));
    }
    return encodeBmpRaw(image.width, image.height, rgb);
}

bool writeTexture(const std::string& outDir, const std::string& file, const Image& colour,
                  const Image& normal) {
    return writeFile(outDir + "/textures/" + file, encodeBmp(colour)) &&
           writeFile(outDir + "/textures/normal_" + file, encodeBmp(normal));
}

// x follows +u (increasing i), y follows +v (increasing j): the tangent frame that the
// demo's tangents (along du and dv) describe.
Image normalMapFromHeight(const std::vector<float>& h, int w, int ht, float strength) {
    Image out(w, ht);
    auto H = [&](int i, int j) { return h[size_t(wrapIndex(j, ht)) * w + wrapIndex(i, w)]; };
    for (int j = 0; j < ht; ++j)
        for (int i = 0; i < w; ++i) {
            float dx = (H(i + 1, j) - H(i - 1, j)) * 0.5f * strength;
            float dy = (H(i, j + 1) - H(i, j - 1)) * 0.5f * strength;
            Float3 n = unitV({-dx, -dy, 1.0f});
            out.set(i, j, {n.x * 0.5f + 0.5f, n.y * 0.5f + 0.5f, n.z * 0.5f + 0.5f});
        }
    return out;
}
