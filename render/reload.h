// What reloading while the show runs needs of render/: programs rebuilt from their
// changed sources, item buffers made and deleted, textures refilled, and the counts and
// checksums with which tests see that nothing leaks and what was drawn.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "model/renderlist.h"
#include "platform/platform.h"

// Whether the file ("shader/flat.fs") is a source of one of the programs.
bool isShaderSource(const std::string& path);
// Rebuilds every program built from the file. Each new program is built beside the old
// one and replaces it only once it links; the old program and its shaders are deleted
// then. A program that fails keeps the old one; for each, the result says why, in the
// driver's log under the file's name: "the flat program stays as it was: shader/flat.fs
// failed to compile:", then the log's lines. Empty when all were rebuilt.
std::vector<std::string> rebuildProgramsOf(const std::string& path);

// The five buffers of the item at that index, made from its arrays as start-up makes them
// (new names); and their deletion.
void uploadRenderItem(int index);
void deleteItemBuffers(RenderItem& item);
void deleteTextures(const std::vector<uint32_t>& names);
// The texture's image and mipmap chain replaced by the image's, under the same name.
void refillTexture(uint32_t name, const DecodedImage& image);

// Live GL objects, found by asking GL about every name up to the next one it would hand
// out: what a leak makes grow.
struct GlObjectCounts {
    int programs = 0, shaders = 0, buffers = 0, textures = 0;
};
GlObjectCounts countGlObjects();
