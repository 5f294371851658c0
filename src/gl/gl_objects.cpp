#include "gl/gl_objects.h"

#include <cstddef>
#include <vector>

#include "gl/gl_api.h"

uint32_t CreateGlTexture(const uint8_t* rgba, int32_t width, int32_t height, bool smooth) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    const GLint filter = smooth ? GL_LINEAR : GL_NEAREST;
    const GLint wrap = smooth ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    return texture;
}

uint32_t CreateGlQuadIndices(int32_t quadCount) {
    std::vector<uint16_t> indices;
    indices.reserve(static_cast<size_t>(quadCount > 0 ? quadCount : 0) * 6);
    for (int32_t quad = 0; quad < quadCount; ++quad) {
        const uint16_t first = static_cast<uint16_t>(quad * 4);
        for (uint16_t corner : {0, 1, 2, 1, 3, 2}) {
            indices.push_back(static_cast<uint16_t>(first + corner));
        }
    }
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)), indices.data(),
                 GL_STATIC_DRAW);
    return buffer;
}

void DeleteGlTexture(uint32_t& texture) {
    if (texture != 0) {
        const GLuint name = texture;
        glDeleteTextures(1, &name);
        texture = 0;
    }
}

void DeleteGlBuffer(uint32_t& buffer) {
    if (buffer != 0) {
        const GLuint name = buffer;
        glDeleteBuffers(1, &name);
        buffer = 0;
    }
}
