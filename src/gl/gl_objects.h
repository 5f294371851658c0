// The OpenGL objects that the snow and the frame rate both make: a texture
// from RGBA bytes, the indices of a row of quads, and their release.
#pragma once

#include <cstdint>

// A texture of width x height RGBA bytes, rows from the top, on the current
// context and bound: smooth (filtered linearly, wrapping its coordinates) or
// sharp (the nearest texel, clamped to the edge). 0 when none is made.
uint32_t CreateGlTexture(const uint8_t* rgba, int32_t width, int32_t height, bool smooth);

// An element buffer, bound, of two triangles for each of quadCount quads of
// four vertices, (0, 1, 2) and (1, 3, 2), as Direct3D draws the strip of four
// vertices. 0 when none is made.
uint32_t CreateGlQuadIndices(int32_t quadCount);

// Delete the object named, if any, and clear the name: safe to repeat.
void DeleteGlTexture(uint32_t& texture);
void DeleteGlBuffer(uint32_t& buffer);
