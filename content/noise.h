// Value noise and its fractal sums, for the textures and the skies.
#pragma once
#include <cstdint>

#include "content/vecmath.h"

// On a periodic lattice (period in cells), so textures tile.
float valueNoise2(float x, float y, int period, uint32_t seed);
float fbm2(float x, float y, int period, int octaves, uint32_t seed);
// Unbounded, for directions of the sky.
float fbm3(Float3 p, int octaves, uint32_t seed);
