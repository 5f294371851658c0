#include "core/wind/sample_wind.h"

#include <cmath>

#include "core/wind/wrap_unit.h"

namespace {
// One axis of a lookup: the lower grid point, the next one around the
// period, and the fraction between them.
struct Axis {
    size_t lower;
    size_t upper;
    double fraction;
    double rest; // 1 - fraction
};

// The lower index is the floor of the scaled coordinate, always inside
// 0 .. size - 1: a coordinate that wrapped to exactly 1.0 lands on size itself,
// which is point 0 again on the periodic axis. The fraction is the wrap into
// [0, 1) of the scaled coordinate rounded to a float.
inline Axis AxisAt(double scaled, uint32_t size) {
    uint32_t lower;
    float fraction;
    if (scaled >= 0.0 && scaled < static_cast<double>(size)) {
        // The usual case: both the floor and the fractional part from one
        // integer conversion each; exact for values this small.
        lower = static_cast<uint32_t>(scaled);
        float rounded = static_cast<float>(scaled);
        fraction = rounded - static_cast<float>(static_cast<int64_t>(rounded));
    } else {
        double folded = std::fmod(std::floor(scaled), static_cast<double>(size));
        if (folded < 0.0) {
            folded += static_cast<double>(size);
        }
        lower =
            folded >= 0.0 && folded < static_cast<double>(size) ? static_cast<uint32_t>(folded) : 0;
        fraction = WrapUnit(static_cast<float>(scaled));
    }
    if (lower >= size) {
        lower = 0;
    }
    uint32_t upper = lower + 1 == size ? 0 : lower + 1;
    double f = fraction;
    return {lower, upper, f, 1.0 - f};
}

// a * (1 - f) + b * f, formed in double and rounded once to a float.
inline float Lerp(float a, float b, const Axis& axis) {
    return static_cast<float>(a * axis.rest + b * axis.fraction);
}
} // namespace

float SampleWind(const NoiseTable& table, Vec3 point, float phase) {
    Vec3 p = Vec3Add(point, table.offset);
    const double px = WrapUnit(p.x);
    const double py = WrapUnit(p.y);
    const double pz = WrapUnit(p.z);

    const uint32_t sizeX = static_cast<uint32_t>(table.sizeX);
    const uint32_t sizeY = static_cast<uint32_t>(table.sizeY);
    const uint32_t sizeZ = static_cast<uint32_t>(table.sizeZ);
    const uint32_t sizeT = static_cast<uint32_t>(table.sizeT);
    const Axis x = AxisAt(sizeX * px, sizeX);
    const Axis y = AxisAt(sizeY * py, sizeY);
    const Axis z = AxisAt(sizeZ * pz, sizeZ);
    const Axis t = AxisAt(sizeT * static_cast<double>(phase), sizeT);

    // Index steps: x is the fastest axis, then z, then y, then time.
    const size_t strideZ = sizeX;
    const size_t strideY = static_cast<uint32_t>(table.strideY);
    const size_t strideT = static_cast<uint32_t>(table.strideT);
    const float* t0 = table.values + strideT * t.lower;
    const float* t1 = table.values + strideT * t.upper;
    const size_t y0z0 = strideY * y.lower + strideZ * z.lower;
    const size_t y0z1 = strideY * y.lower + strideZ * z.upper;
    const size_t y1z0 = strideY * y.upper + strideZ * z.lower;
    const size_t y1z1 = strideY * y.upper + strideZ * z.upper;

    // Time first, then z, then y, then x.
    auto corner = [&](size_t at) { return Lerp(t0[at], t1[at], t); };
    float x0y0 = Lerp(corner(x.lower + y0z0), corner(x.lower + y0z1), z);
    float x0y1 = Lerp(corner(x.lower + y1z0), corner(x.lower + y1z1), z);
    float x1y0 = Lerp(corner(x.upper + y0z0), corner(x.upper + y0z1), z);
    float x1y1 = Lerp(corner(x.upper + y1z0), corner(x.upper + y1z1), z);
    float x0 = Lerp(x0y0, x0y1, y);
    float x1 = Lerp(x1y0, x1y1, y);
    return Lerp(x0, x1, x);
}
