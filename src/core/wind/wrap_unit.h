// Wrapping a coordinate into [0, 1), shared by the wind sampler and the
// motion update.
#pragma once

#include <cmath>
#include <cstdint>

// trunc(v) through one integer conversion where v has a fractional part at
// all (|v| < 2^52); the sign of a zero result does not matter to the callers.
inline double TruncWhole(double v) {
    if (std::fabs(v) < 4503599627370496.0) {
        return static_cast<double>(static_cast<int64_t>(v));
    }
    return std::trunc(v);
}

// fmod(v, 1.0), made exact and cheap: the fractional part of a double is
// always representable, and the remainder keeps the sign of v (-0.0 for a
// negative whole number), as fmod's does.
inline double UnitRemainder(double v) {
    return std::copysign(v - TruncWhole(v), v);
}

// The remainder, moved into [0, 1) when negative, rounded to a float. The
// rounding can give exactly 1.0f for a tiny negative v.
inline float WrapUnit(double v) {
    double m = UnitRemainder(v);
    if (m < 0.0) {
        m += 1.0;
    }
    return static_cast<float>(m);
}
