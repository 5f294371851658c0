// The flakes drawn with OpenGL (2.1 or later, the fixed-function pipeline):
// the same camera, box, soft sprite and additive blending as the Windows
// saver's Direct3D 9 path, every flake of a frame in one draw call.
#pragma once

#include <cstdint>

#include "core/flakes/flake_scene.h"
#include "linux/sprite_image.h"
#include "core/view/flake_vertices.h"

struct GlRenderer {
    uint32_t texture;      // the sprite; 0 when not held
    uint32_t vertexBuffer; // the frame's vertices, written anew each frame
    uint32_t indexBuffer;  // two triangles a flake, written once
    int32_t flakeCapacity;
    int32_t viewWidth; // the drawable, and the camera's projection for it
    int32_t viewHeight;
    float projection[16];
};

// The sprite texture and the buffers, on the current context, for up to
// flakeCount flakes. False when the sprite cannot be made a texture or the
// flakes are more than one draw call of 16-bit indices can reach.
bool CreateGlRenderer(GlRenderer& renderer, const SpriteImage& sprite, int32_t flakeCount);

// The viewport and the camera for a drawable of that size.
void SetGlView(GlRenderer& renderer, int32_t width, int32_t height);

// Clears to black and draws the squares that BuildFlakeVertices wrote, with
// the states it needs set anew: whatever was drawn before may have changed
// them.
void DrawGlFlakes(const GlRenderer& renderer, const FlakeScene& scene, const FlakeVertex* vertices);

// Frees the texture and the buffers; safe to repeat.
void ReleaseGlRenderer(GlRenderer& renderer);
