// The generator's own pseudo-random sequence (SplitMix64), so that a seed
// gives the same tables whatever the standard library.
#pragma once

#include <cstdint>

struct NoiseRandom {
    uint64_t state;
};

inline void SeedNoiseRandom(NoiseRandom& random, uint64_t seed) {
    random.state = seed;
}

inline uint64_t NextNoiseBits(NoiseRandom& random) {
    random.state += 0x9E3779B97F4A7C15ull;
    uint64_t z = random.state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Uniform in (0, 1).
inline double NextNoiseUnit(NoiseRandom& random) {
    return (static_cast<double>(NextNoiseBits(random) >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}
