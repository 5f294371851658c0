// The buffer-object entry points of OpenGL 1.5, found through GLX: an OpenGL
// 2.1 library need not export them. Shared by everything the hack draws.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

struct GlBufferFunctions {
    PFNGLGENBUFFERSPROC genBuffers;
    PFNGLDELETEBUFFERSPROC deleteBuffers;
    PFNGLBINDBUFFERPROC bindBuffer;
    PFNGLBUFFERDATAPROC bufferData;
    PFNGLBUFFERSUBDATAPROC bufferSubData;
    PFNGLDRAWRANGEELEMENTSPROC drawRangeElements;
};

// The entry points, looked up on the first call; null when one is missing.
const GlBufferFunctions* FindGlBufferFunctions();
