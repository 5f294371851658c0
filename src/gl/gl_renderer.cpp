#include "gl/gl_renderer.h"

#include <vector>

#include "gl/gl_api.h"
#include "gl/gl_clip.h"

bool CreateGlRenderer(GlRenderer& renderer, const GlImage& sprite, int32_t flakeCapacity) {
    renderer = GlRenderer{};
    const size_t vertices =
        static_cast<size_t>(flakeCapacity > 0 ? flakeCapacity : 0) * kVerticesPerFlake;
    if (sprite.rgba == nullptr || sprite.width <= 0 || sprite.height <= 0 || vertices > 65536 ||
        !CreateGlProgram(renderer.program)) {
        return false;
    }
    renderer.flakeCapacity = flakeCapacity;

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
    glGenBuffers(2, buffers);
    renderer.vertexBuffer = buffers[0];
    renderer.indexBuffer = buffers[1];
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, renderer.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)), indices.data(),
                 GL_STATIC_DRAW);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    renderer.texture = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, sprite.width, sprite.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, sprite.rgba);
    // Linear filtering of the top level only, wrapping coordinates.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (glGetError() != GL_NO_ERROR) {
        ReleaseGlRenderer(renderer);
        return false;
    }
    return true;
}

void SetGlView(GlRenderer& renderer, int32_t width, int32_t height) {
    renderer.viewWidth = width;
    renderer.viewHeight = height;
    renderer.clip = GlSnowClip(width, height);
}

void DrawGlFlakes(const GlRenderer& renderer, const FlakeVertex* vertices, size_t vertexCount) {
    const bool flakes =
        vertices != nullptr && vertexCount >= kVerticesPerFlake &&
        vertexCount <= static_cast<size_t>(renderer.flakeCapacity) * kVerticesPerFlake;
    const size_t drawn = flakes ? vertexCount / kVerticesPerFlake * kVerticesPerFlake : 0;
    if (flakes) {
        // The frame's vertices first replace the last ones in a buffer of
        // their own (the driver need not wait for the frame before): with a
        // driver that draws on a thread of its own an upload this large waits
        // for what that thread still has to do, and before the clear that is
        // nothing.
        glBindBuffer(GL_ARRAY_BUFFER, renderer.vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(drawn * sizeof(FlakeVertex)),
                     vertices, GL_STREAM_DRAW);
    }
    glViewport(0, 0, renderer.viewWidth, renderer.viewHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DITHER);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!flakes) {
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, renderer.vertexBuffer);
    UseGlProgram(renderer.program, renderer.clip, renderer.texture);
    // Additive glow: source weighted by its alpha, added to what is there.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, renderer.indexBuffer);
    // One draw for every flake.
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(drawn / kVerticesPerFlake * 6),
                   GL_UNSIGNED_SHORT, nullptr);
}

void ReleaseGlRenderer(GlRenderer& renderer) {
    if (renderer.texture != 0) {
        GLuint texture = renderer.texture;
        glDeleteTextures(1, &texture);
    }
    for (uint32_t buffer : {renderer.vertexBuffer, renderer.indexBuffer}) {
        if (buffer != 0) {
            GLuint name = buffer;
            glDeleteBuffers(1, &name);
        }
    }
    ReleaseGlProgram(renderer.program);
    renderer = GlRenderer{};
}
