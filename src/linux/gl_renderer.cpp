#include "linux/gl_renderer.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include <GL/gl.h>
#include <GL/glext.h>

#include "linux/gl_buffers.h"

namespace {

// The camera of the Windows saver: eye at the origin looking along +z, y up,
// a vertical field of view of 0.85 radians, near 0.1 and far 20.
constexpr double kFieldOfView = 0.85;
constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 20.0;

// The perspective of the saver's left-handed camera as an OpenGL projection
// (column-major): x and y as there, depth mapped onto -w .. w. It also moves
// the picture by half a pixel right and down: Direct3D 9 samples a pixel at
// its corner where OpenGL samples its centre, and both saver pictures agree.
void MakeProjection(int32_t width, int32_t height, GLfloat* m) {
    const double aspect =
        height > 0 && width > 0 ? static_cast<float>(double(width) / height) : 1.0;
    const double yScale = 1.0 / std::tan(kFieldOfView / 2.0);
    for (int i = 0; i < 16; ++i) {
        m[i] = 0.0f;
    }
    m[0] = static_cast<GLfloat>(yScale / aspect);
    m[5] = static_cast<GLfloat>(yScale);
    m[8] = width > 0 ? static_cast<GLfloat>(1.0 / width) : 0.0f;
    m[9] = height > 0 ? static_cast<GLfloat>(-1.0 / height) : 0.0f;
    m[10] = static_cast<GLfloat>((kFarPlane + kNearPlane) / (kFarPlane - kNearPlane));
    m[11] = 1.0f;
    m[14] = static_cast<GLfloat>(-2.0 * kFarPlane * kNearPlane / (kFarPlane - kNearPlane));
}

} // namespace

bool CreateGlRenderer(GlRenderer& renderer, const SpriteImage& sprite, int32_t flakeCount) {
    renderer = GlRenderer{0, 0, 0, 0, 0, 0, {}};
    const size_t vertices =
        static_cast<size_t>(flakeCount > 0 ? flakeCount : 0) * kVerticesPerFlake;
    const GlBufferFunctions* gl = FindGlBufferFunctions();
    if (sprite.rgba.empty() || vertices > 65536 || gl == nullptr) {
        return false;
    }
    renderer.flakeCapacity = flakeCount;
    // Two triangles a flake, (0, 1, 2) and (1, 3, 2), as Direct3D draws the
    // strip of its four vertices.
    std::vector<uint16_t> indices;
    indices.reserve(vertices / kVerticesPerFlake * 6);
    for (size_t first = 0; first < vertices; first += kVerticesPerFlake) {
        const uint16_t v = static_cast<uint16_t>(first);
        for (uint16_t corner : {0, 1, 2, 1, 3, 2}) {
            indices.push_back(static_cast<uint16_t>(v + corner));
        }
    }
    GLuint buffers[2] = {0, 0};
    gl->genBuffers(2, buffers);
    renderer.vertexBuffer = buffers[0];
    renderer.indexBuffer = buffers[1];
    gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, renderer.indexBuffer);
    gl->bufferData(GL_ELEMENT_ARRAY_BUFFER,
                   static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)), indices.data(),
                   GL_STATIC_DRAW);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(sprite.width),
                 static_cast<GLsizei>(sprite.height), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 sprite.rgba.data());
    renderer.texture = texture;
    if (glGetError() != GL_NO_ERROR) {
        ReleaseGlRenderer(renderer);
        return false;
    }
    // Linear filtering of the top level only, wrapping coordinates.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // The states that nothing the hack draws changes.
    // Texel times vertex colour, texel alpha times vertex alpha.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return true;
}

void SetGlView(GlRenderer& renderer, int32_t width, int32_t height) {
    renderer.viewWidth = width;
    renderer.viewHeight = height;
    MakeProjection(width, height, renderer.projection);
}

void DrawGlFlakes(const GlRenderer& renderer, const FlakeScene& scene,
                  const FlakeVertex* vertices) {
    const GlBufferFunctions* gl = FindGlBufferFunctions();
    const bool flakes = scene.flakeCount > 0 && scene.flakeCount <= renderer.flakeCapacity;
    const GLuint lastVertex =
        flakes ? static_cast<GLuint>(scene.flakeCount) * kVerticesPerFlake - 1 : 0;
    if (flakes) {
        // The frame's vertices first replace the last ones in a buffer of
        // their own (the driver need not wait for the frame before): with
        // Mesa's drawing thread an upload this large waits for what the
        // thread still has to do, and before the clear that is nothing.
        gl->bindBuffer(GL_ARRAY_BUFFER, renderer.vertexBuffer);
        gl->bufferData(GL_ARRAY_BUFFER,
                       static_cast<GLsizeiptr>((lastVertex + 1) * sizeof(FlakeVertex)), vertices,
                       GL_STREAM_DRAW);
    }
    glViewport(0, 0, renderer.viewWidth, renderer.viewHeight);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!flakes) {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(renderer.projection);
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, renderer.texture);
    // Additive glow: source weighted by its alpha, added to what is there.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    // The layout of FlakeVertex in the vertex buffer. The diffuse colour is
    // A8R8G8B8 (bytes B, G, R, A in memory); red, green and blue are all 255,
    // so read as R, G, B, A it is the same colour.
    glVertexPointer(3, GL_FLOAT, sizeof(FlakeVertex),
                    reinterpret_cast<const void*>(offsetof(FlakeVertex, x)));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(FlakeVertex),
                   reinterpret_cast<const void*>(offsetof(FlakeVertex, diffuse)));
    glTexCoordPointer(2, GL_FLOAT, sizeof(FlakeVertex),
                      reinterpret_cast<const void*>(offsetof(FlakeVertex, u)));
    gl->bindBuffer(GL_ELEMENT_ARRAY_BUFFER, renderer.indexBuffer);
    // One draw for every flake.
    gl->drawRangeElements(GL_TRIANGLES, 0, lastVertex, static_cast<GLsizei>(scene.flakeCount) * 6,
                          GL_UNSIGNED_SHORT, nullptr);
}

void ReleaseGlRenderer(GlRenderer& renderer) {
    if (renderer.texture != 0) {
        GLuint texture = renderer.texture;
        glDeleteTextures(1, &texture);
        renderer.texture = 0;
    }
    const GlBufferFunctions* gl = FindGlBufferFunctions();
    for (uint32_t* buffer : {&renderer.vertexBuffer, &renderer.indexBuffer}) {
        if (*buffer != 0 && gl != nullptr) {
            GLuint name = *buffer;
            gl->deleteBuffers(1, &name);
        }
        *buffer = 0;
    }
}
