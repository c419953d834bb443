// Deterministic random numbers: fixed integer arithmetic, the same sequence on every machine.
#pragma once
#include <cstdint>

struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next() { // a PCG-style step
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        uint32_t xorshifted = uint32_t(((state >> 18u) ^ state) >> 27u);
        uint32_t rot = uint32_t(state >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
    }
    float uniform() { return (next() >> 8) * (1.0f / 16777216.0f); }       // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); } // [lo, hi)
};
