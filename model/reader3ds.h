// The 3DS reader: a file's chunk tree into a Model's objects and materials (no GL).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct Model;

// On failure these return false with model.error set; the model then holds nothing of the
// file.
bool readModelFile(Model& model, const char* fileName);
bool readModelData(Model& model, const uint8_t* data, size_t size, const char* fileName);
// Reads, then prepares (textures, normals, tangents, render items).
bool importFile(Model& model, const char* fileName);
// Where the reader's version warning goes; null means stdout. Tools that print their own
// output on stdout send it to stderr.
extern FILE* modelWarningStream;
