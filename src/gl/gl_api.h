// The OpenGL entry points the drawing uses: what OpenGL 2.1, OpenGL ES 2.0 and
// WebGL 1 have in common, from the headers of the platform at hand.
#pragma once

#ifdef __EMSCRIPTEN__
#include <GLES2/gl2.h>
#else
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#endif
