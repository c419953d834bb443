// Images: float colour texels, 24-bit BMP and 24- or 32-bit TGA encoding, and normal maps
// from height fields.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "content/vecmath.h"

struct Image {
    int width = 0, height = 0;
    std::vector<float> rgb;   // 3 floats per texel, row j is texture coordinate v = j / height
    std::vector<float> alpha; // 1 float per texel, or empty: no alpha channel
    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(size_t(w) * h * 3, 0.0f) {}
    float* at(int i, int j) { return &rgb[(size_t(j) * width + i) * 3]; }
    void set(int i, int j, Float3 c) {
        float* p = at(i, j);
        p[0] = c.x, p[1] = c.y, p[2] = c.z;
    }
};

// A colour from 8-bit channels.
inline Float3 rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

// Texel (i, j) is stored in the BMP row j counted from the first stored row, so an image
// loader that hands rows over as stored gives texture coordinate v = j / height.
std::vector<uint8_t> encodeBmp(const Image& image);
// The same order of rows as an uncompressed TGA (origin at the bottom left), with alpha
// when the image has it: the demo's image loader reads no alpha from a BMP.
std::vector<uint8_t> encodeTga(const Image& image);

// Writes textures/F and textures/normal_F, the colour map and the normal map of F, as BMP
// or TGA after F's extension.
bool writeTexture(const std::string& outDir, const std::string& file, const Image& colour,
                  const Image& normal);

// Tangent-space normal map from a tiling height field (w*h values, same layout as Image).
Image normalMapFromHeight(const std::vector<float>& height, int w, int h, float strength);
