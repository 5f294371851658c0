// Where the drawing lands in OpenGL's clip space, as plain numbers: the
// camera of the snow for a drawable of a given size, and pixels of the
// drawable for what is drawn over the snow. Rows first, for row vectors, as
// the core's Matrix4; the shaders take them as they are.
#pragma once

#include <cstdint>

#include "core/view/camera.h"

// The snow camera's view and projection for a width x height drawable, as
// OpenGL wants them: depth from -w to w instead of 0 to w, and the picture
// half a pixel right and down, where Direct3D 9 puts it (it samples a pixel
// at its corner where OpenGL samples its centre).
Matrix4 GlSnowClip(int32_t width, int32_t height);

// Pixels from the drawable's top left corner onto the drawable.
Matrix4 GlPixelClip(int32_t width, int32_t height);
