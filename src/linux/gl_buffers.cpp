#include "linux/gl_buffers.h"

#include <GL/glx.h>

namespace {

template <typename Function> Function Find(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

} // namespace

const GlBufferFunctions* FindGlBufferFunctions() {
    static const GlBufferFunctions functions = {
        Find<PFNGLGENBUFFERSPROC>("glGenBuffers"),
        Find<PFNGLDELETEBUFFERSPROC>("glDeleteBuffers"),
        Find<PFNGLBINDBUFFERPROC>("glBindBuffer"),
        Find<PFNGLBUFFERDATAPROC>("glBufferData"),
        Find<PFNGLBUFFERSUBDATAPROC>("glBufferSubData"),
        Find<PFNGLDRAWRANGEELEMENTSPROC>("glDrawRangeElements")};
    const bool all = functions.genBuffers && functions.deleteBuffers && functions.bindBuffer &&
                     functions.bufferData && functions.bufferSubData && functions.drawRangeElements;
    return all ? &functions : nullptr;
}
