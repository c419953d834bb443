// Integer hashes behind the procedural textures: a value in [0, 1) per lattice point,
// texture cell or texel, the same on every machine.
#pragma once
#include <cstdint>

// Points of the noise lattice (x, y, z) under a seed.
inline float latticeHash(int x, int y, int z, uint32_t seed) {
    uint32_t h = seed * 0x27d4eb2du ^ uint32_t(x) * 0x85ebca6bu ^ uint32_t(y) * 0xc2b2ae35u ^
                 uint32_t(z) * 0x165667b1u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// The finishing mix of the two hashes below, its low 24 bits taken as [0, 1).
inline float scrambledUnit(uint32_t h) {
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return float(h & 0xFFFFFF) / 16777216.0f;
}
// Cell (a, b) of a texture pattern (a brick, a board, a window) under a seed.
inline float cellHash(int a, int b, uint32_t seed) {
    return scrambledUnit(uint32_t(a) * 73856093u ^ uint32_t(b) * 19349663u ^ seed * 83492791u);
}
// Texel (i, j) of sky face `face`: where the stars are.
inline float texelHash(int face, int i, int j) {
    return scrambledUnit(uint32_t(face * 7919 + j * 104729 + i * 1299709));
}
