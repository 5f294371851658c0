#include "core/view/flake_vertices.h"

#include <cmath>

namespace {
constexpr uint32_t kOpaqueWhite = 0x00FFFFFFu;

// Alpha from the depth coordinate: opaque at the front (0), clear at the back
// (1), held within 0 .. 255 outside the box.
inline uint32_t DepthAlpha(float depth) {
    double a = 1.0 - depth;
    if (!(a > 0.0)) {
        a = 0.0;
    }
    if (a > 1.0) {
        a = 1.0;
    }
    return static_cast<uint32_t>(255.0 * a);
}
} // namespace

void BuildFlakeVertices(const FlakeScene& scene, FlakeVertex* vertices) {
    const double width = scene.maxX - scene.minX; // a float difference
    const double height = scene.maxY - scene.minY;
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        const Flake& flake = scene.flakes[i];
        Vec3 p = flake.position;
        float x = static_cast<float>(width * (2.0 * p.x - 1.0));
        float y = static_cast<float>(height * (2.0 * p.y - 1.0));
        float z = static_cast<float>(3.0 * p.z + 2.0);
        float s = static_cast<float>((2.0 - (1.0 - p.z)) * flake.size);
        uint32_t diffuse = (DepthAlpha(p.z) << 24) | kOpaqueWhite;

        FlakeVertex* v = vertices + static_cast<size_t>(i) * kVerticesPerFlake;
        v[0] = {x - s, y - s, z, diffuse, 0.0f, 0.0f};
        v[1] = {x - s, y + s, z, diffuse, 0.0f, 1.0f};
        v[2] = {x + s, y - s, z, diffuse, 1.0f, 0.0f};
        v[3] = {x + s, y + s, z, diffuse, 1.0f, 1.0f};
    }
}
