#include "wind/sample_wind.h"

#include <cmath>

#include "wind/wrap_unit.h"

namespace {
// The lower grid index of a scaled coordinate, always inside 0 .. size - 1:
// a coordinate that wrapped to exactly 1.0 lands on size itself, which is
// point 0 again on the periodic axis.
inline uint32_t LowerIndex(double scaled, uint32_t size) {
    double whole = std::floor(scaled);
    if (whole >= 0.0 && whole < static_cast<double>(size)) {
        return static_cast<uint32_t>(whole);
    }
    double folded = std::fmod(whole, static_cast<double>(size));
    if (folded < 0.0) {
        folded += static_cast<double>(size);
    }
    if (!(folded >= 0.0 && folded < static_cast<double>(size))) {
        return 0;
    }
    return static_cast<uint32_t>(folded);
}

inline float Lerp(float a, float b, float f) {
    double fd = f;
    return static_cast<float>(a * (1.0 - fd) + b * fd);
}
} // namespace

float SampleWind(const NoiseTable& table, Vec3 point, float phase) {
    Vec3 p = Vec3Add(point, table.offset);
    float px = WrapUnit(p.x);
    float py = WrapUnit(p.y);
    float pz = WrapUnit(p.z);

    uint32_t sizeX = static_cast<uint32_t>(table.sizeX);
    uint32_t sizeY = static_cast<uint32_t>(table.sizeY);
    uint32_t sizeZ = static_cast<uint32_t>(table.sizeZ);
    uint32_t sizeT = static_cast<uint32_t>(table.sizeT);
    double sx = sizeX * static_cast<double>(px);
    double sy = sizeY * static_cast<double>(py);
    double sz = sizeZ * static_cast<double>(pz);
    double st = sizeT * static_cast<double>(phase);

    uint32_t i0 = LowerIndex(sx, sizeX);
    uint32_t j0 = LowerIndex(sy, sizeY);
    uint32_t k0 = LowerIndex(sz, sizeZ);
    uint32_t l0 = LowerIndex(st, sizeT);
    uint32_t i1 = (i0 + 1) % sizeX;
    uint32_t j1 = (j0 + 1) % sizeY;
    uint32_t k1 = (k0 + 1) % sizeZ;
    uint32_t l1 = (l0 + 1) % sizeT;

    float fx = WrapUnit(static_cast<float>(sx));
    float fy = WrapUnit(static_cast<float>(sy));
    float fz = WrapUnit(static_cast<float>(sz));
    float ft = WrapUnit(static_cast<float>(st));

    // Index steps; x is the fastest axis, then z, then y, then time.
    size_t strideZ = sizeX;
    size_t strideY = static_cast<uint32_t>(table.strideY);
    size_t strideT = static_cast<uint32_t>(table.strideT);
    const float* t0 = table.values + strideT * l0;
    const float* t1 = table.values + strideT * l1;

    size_t xs[2] = {i0, i1};
    size_t ys[2] = {strideY * j0, strideY * j1};
    size_t zs[2] = {strideZ * k0, strideZ * k1};

    float alongX[2];
    for (int a = 0; a < 2; ++a) {
        float alongY[2];
        for (int b = 0; b < 2; ++b) {
            float alongZ[2];
            for (int c = 0; c < 2; ++c) {
                size_t at = xs[a] + zs[c] + ys[b];
                alongZ[c] = Lerp(t0[at], t1[at], ft);
            }
            alongY[b] = Lerp(alongZ[0], alongZ[1], fz);
        }
        alongX[a] = Lerp(alongY[0], alongY[1], fy);
    }
    return Lerp(alongX[0], alongX[1], fx);
}
