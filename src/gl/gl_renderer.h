// The flakes drawn with OpenGL, by the Linux hack and the browser page alike:
// the sprite as a texture, one buffer of indices made once and one of
// vertices written every frame, and one draw of every flake through the
// shader pair, blended additively as the Windows saver draws them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/view/camera.h"
#include "core/view/flake_vertices.h"
#include "gl/gl_program.h"

// An image as RGBA bytes, rows from the top, as stored.
struct GlImage {
    const uint8_t* rgba;
    int32_t width;
    int32_t height;
};

struct GlRenderer {
    GlProgram program;
    uint32_t texture;      // the sprite
    uint32_t vertexBuffer; // the frame's vertices, written anew each frame
    uint32_t indexBuffer;  // two triangles a flake, written once
    int32_t flakeCapacity;
    int32_t viewWidth; // the drawable, and the camera's clip matrix for it
    int32_t viewHeight;
    Matrix4 clip;
};

// The program, the sprite texture and the buffers, on the current context,
// for up to flakeCapacity flakes. False when any cannot be made or the flakes
// are more than one draw of 16-bit indices reaches; what was made is then
// released.
bool CreateGlRenderer(GlRenderer& renderer, const GlImage& sprite, int32_t flakeCapacity);

// The drawable's size, and the camera for it.
void SetGlView(GlRenderer& renderer, int32_t width, int32_t height);

// Clears the drawable to black and draws the flakes of vertexCount vertices
// (four a flake, as BuildFlakeVertices writes them), setting every state it
// needs: whatever was drawn before may have changed them.
void DrawGlFlakes(const GlRenderer& renderer, const FlakeVertex* vertices, size_t vertexCount);

// Frees what the renderer holds; safe to repeat.
void ReleaseGlRenderer(GlRenderer& renderer);
