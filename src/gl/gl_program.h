// The one shader pair every OpenGL drawing uses: positions through a clip
// matrix, the texel modulated by the vertex colour (colour and alpha alike),
// over vertices laid out as FlakeVertex.
#pragma once

#include <cstdint>

#include "core/view/camera.h"

struct GlProgram {
    uint32_t program; // 0 when not held
    int32_t clipLocation;
    int32_t textureLocation;
};

// Compiles and links the pair on the current context; false when it cannot.
bool CreateGlProgram(GlProgram& program);

// The program in use with that clip matrix, the texture on unit 0, and the
// vertex attributes read from the bound array buffer as FlakeVertex.
void UseGlProgram(const GlProgram& program, const Matrix4& clip, uint32_t texture);

// Safe to repeat.
void ReleaseGlProgram(GlProgram& program);
