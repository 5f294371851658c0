// The CPU half of the flake drawing: one textured square per flake.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/flakes/flake_scene.h"

// Position, diffuse colour, one pair of texture coordinates (D3DFVF_XYZ |
// D3DFVF_DIFFUSE | D3DFVF_TEX1).
struct FlakeVertex {
    float x;
    float y;
    float z;
    uint32_t diffuse; // alpha in bits 24..31, red, green and blue always 255
    float u;
    float v;
};
static_assert(sizeof(FlakeVertex) == 24, "FlakeVertex must be 24 bytes");

constexpr uint32_t kFlakeVertexFvf = 0x142;
constexpr uint32_t kVerticesPerFlake = 4;

// The room a run's vertex array is allocated with: twice what is drawn, eight
// vertices (192 bytes) a flake, the second half never touched. 0 for a count
// that is not positive.
inline size_t FlakeVertexCapacity(int32_t flakeCount) {
    return flakeCount > 0 ? static_cast<size_t>(flakeCount) * kVerticesPerFlake * 2 : 0;
}

// Writes the four vertices of every flake at byte offset 96 * i.
void BuildFlakeVertices(const FlakeScene& scene, FlakeVertex* vertices);
