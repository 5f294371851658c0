#include "gl/gl_renderer.h"

#include "gl/gl_api.h"
#include "gl/gl_clip.h"
#include "gl/gl_objects.h"

bool CreateGlRenderer(GlRenderer& renderer, const GlImage& sprite, int32_t flakeCapacity) {
    renderer = GlRenderer{};
    const size_t vertices =
        static_cast<size_t>(flakeCapacity > 0 ? flakeCapacity : 0) * kVerticesPerFlake;
    if (sprite.rgba == nullptr || sprite.width <= 0 || sprite.height <= 0 || vertices > 65536 ||
        !CreateGlProgram(renderer.program)) {
        return false;
    }
    renderer.flakeCapacity = flakeCapacity;
    renderer.indexBuffer = CreateGlQuadIndices(flakeCapacity);
    GLuint vertexBuffer = 0;
    glGenBuffers(1, &vertexBuffer);
    renderer.vertexBuffer = vertexBuffer;
    renderer.texture = CreateGlTexture(sprite.rgba, sprite.width, sprite.height, true);
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
    DeleteGlTexture(renderer.texture);
    DeleteGlBuffer(renderer.vertexBuffer);
    DeleteGlBuffer(renderer.indexBuffer);
    ReleaseGlProgram(renderer.program);
    renderer = GlRenderer{};
}
