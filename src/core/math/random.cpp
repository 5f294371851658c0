#include "core/math/random.h"

#include <cmath>

namespace {
// One generator for the process; the saver has a single thread.
uint32_t gRandomState = 0;

// The next value of the 15-bit sequence, 0..32767.
uint32_t Draw() {
    gRandomState = gRandomState * 214013u + 2531011u;
    return (gRandomState >> 16) & 32767u;
}
} // namespace

void SeedRandom(uint32_t seed) {
    gRandomState = seed;
}

int32_t RandomInt(int32_t lo, int32_t hi) {
    if (!(lo < hi)) {
        return lo;
    }
    // The width of the range in 64 bits: lo = INT32_MIN, hi = INT32_MAX fits.
    int64_t span = static_cast<int64_t>(hi) - static_cast<int64_t>(lo) + 1;
    return static_cast<int32_t>(lo + static_cast<int64_t>(Draw()) % span);
}

float RandomRange(float lo, float hi) {
    if (!(lo < hi)) {
        return lo;
    }
    double draw = static_cast<double>(Draw());
    double low = lo;
    return static_cast<float>(low + draw * (static_cast<double>(hi) - low) / 32767.0);
}

float FloorFloat(float x) {
    return static_cast<float>(std::floor(static_cast<double>(x)));
}
