#include "gl/gl_program.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "core/view/flake_vertices.h"
#include "gl/gl_api.h"

namespace {

enum Attribute : GLuint { kPosition = 0, kColour = 1, kTexCoord = 2 };

// GLSL ES 1.00 as WebGL and OpenGL ES 2.0 take it; desktop OpenGL 2.1 takes
// GLSL 1.20, which has no precision qualifiers. A native context is either
// (GLX gives desktop OpenGL, EGL on Wayland OpenGL ES 2.0): its version
// string tells.
constexpr char kEsPrologue[] = "precision mediump float;\n";

const char* Prologue() {
#ifdef __EMSCRIPTEN__
    return kEsPrologue;
#else
    static const char kDesktopPrologue[] =
        "#version 120\n#define lowp\n#define mediump\n#define highp\n";
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && std::strncmp(version, "OpenGL ES", 9) == 0 ? kEsPrologue
                                                                            : kDesktopPrologue;
#endif
}

constexpr char kVertexShader[] = R"(
uniform highp mat4 clip;
attribute highp vec3 position;
attribute lowp vec4 colour;
attribute mediump vec2 texCoord;
varying lowp vec4 vertexColour;
varying mediump vec2 imageCoord;
void main() {
    vertexColour = colour;
    imageCoord = texCoord;
    gl_Position = clip * vec4(position, 1.0);
}
)";

constexpr char kFragmentShader[] = R"(
uniform sampler2D image;
varying lowp vec4 vertexColour;
varying mediump vec2 imageCoord;
void main() {
    gl_FragColor = texture2D(image, imageCoord) * vertexColour;
}
)";

GLuint Compile(GLenum kind, const char* body) {
    const GLuint shader = glCreateShader(kind);
    const std::string source = std::string(Prologue()) + body;
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

bool CreateGlProgram(GlProgram& program) {
    program = GlProgram{0, -1, -1};
    const GLuint vertex = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (vertex != 0 && fragment != 0) {
        const GLuint linked = glCreateProgram();
        glAttachShader(linked, vertex);
        glAttachShader(linked, fragment);
        glBindAttribLocation(linked, kPosition, "position");
        glBindAttribLocation(linked, kColour, "colour");
        glBindAttribLocation(linked, kTexCoord, "texCoord");
        glLinkProgram(linked);
        GLint ok = GL_FALSE;
        glGetProgramiv(linked, GL_LINK_STATUS, &ok);
        if (ok == GL_TRUE) {
            program.program = linked;
            program.clipLocation = glGetUniformLocation(linked, "clip");
            program.textureLocation = glGetUniformLocation(linked, "image");
        } else {
            glDeleteProgram(linked);
        }
    }
    // The program keeps what it needs of its shaders.
    if (vertex != 0) {
        glDeleteShader(vertex);
    }
    if (fragment != 0) {
        glDeleteShader(fragment);
    }
    return program.program != 0;
}

void UseGlProgram(const GlProgram& program, const Matrix4& clip, uint32_t texture) {
    glUseProgram(program.program);
    // Rows first as given: read as columns, the matrix transforms a column
    // vector as the row vector times the matrix would.
    glUniformMatrix4fv(program.clipLocation, 1, GL_FALSE, &clip.m[0][0]);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(program.textureLocation, 0);
    // The diffuse colour is A8R8G8B8 (bytes B, G, R, A in memory); what is
    // drawn has red, green and blue all alike, so read as R, G, B, A it is
    // the same colour.
    const GLsizei stride = sizeof(FlakeVertex);
    glEnableVertexAttribArray(kPosition);
    glEnableVertexAttribArray(kColour);
    glEnableVertexAttribArray(kTexCoord);
    glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(FlakeVertex, x)));
    glVertexAttribPointer(kColour, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                          reinterpret_cast<const void*>(offsetof(FlakeVertex, diffuse)));
    glVertexAttribPointer(kTexCoord, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(FlakeVertex, u)));
}

void ReleaseGlProgram(GlProgram& program) {
    if (program.program != 0) {
        glDeleteProgram(program.program);
    }
    program = GlProgram{0, -1, -1};
}
