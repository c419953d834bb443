// Images: BMP and TGA encoding and normal maps from height fields.
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

static uint8_t toByte(float v) {
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::vector<uint8_t> encodeBmp(const Image& image) {
    std::vector<uint8_t> rgb(image.rgb.size());
    for (size_t k = 0; k < rgb.size(); ++k)
        rgb[k] = toByte(image.rgb[k]);
    return encodeBmpRaw(image.width, image.height, rgb);
}

std::vector<uint8_t> encodeTga(const Image& image) {
    bool withAlpha = image.alpha.size() == size_t(image.width) * image.height;
    size_t texels = size_t(image.width) * image.height, bytes = withAlpha ? 4 : 3;
    std::vector<uint8_t> out(18 + texels * bytes, 0);
    out[2] = 2; // uncompressed true colour
    out[12] = uint8_t(image.width), out[13] = uint8_t(image.width >> 8);
    out[14] = uint8_t(image.height), out[15] = uint8_t(image.height >> 8);
    out[16] = uint8_t(bytes * 8);
    out[17] = withAlpha ? 8 : 0; // alpha bits; origin bottom left, rows stored from j = 0
    for (size_t k = 0; k < texels; ++k) {
        uint8_t* p = &out[18 + k * bytes];
        p[0] = toByte(image.rgb[k * 3 + 2]); // blue, green, red, alpha
        p[1] = toByte(image.rgb[k * 3 + 1]);
        p[2] = toByte(image.rgb[k * 3]);
        if (withAlpha)
            p[3] = toByte(image.alpha[k]);
    }
    return out;
}

bool writeTexture(const std::string& outDir, const std::string& file, const Image& colour,
                  const Image& normal) {
    bool tga = file.size() > 4 && file.compare(file.size() - 4, 4, ".tga") == 0;
    auto encode = tga ? encodeTga : encodeBmp;
    return writeFile(outDir + "/textures/" + file, encode(colour)) &&
           writeFile(outDir + "/textures/normal_" + file, encode(normal));
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
