#include "gl/fps_overlay.h"

#include <cstdio>

#include "core/view/flake_vertices.h"
#include "gl/gl_api.h"
#include "gl/gl_clip.h"
#include "gl/gl_objects.h"

namespace {

// A font of 5 x 7 pixels for the characters of a rate, a row a byte from
// the top, the leftmost pixel in bit 4; the last cell is solid, for the panel.
constexpr char kCharacters[] = "0123456789.fps";
constexpr int kGlyphCount = sizeof kCharacters - 1;
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = kFpsOverlayGlyphHeight;
constexpr uint8_t kFont[kGlyphCount + 1][kGlyphHeight] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, // .
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}, // f
    {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}, // p
    {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}, // s
    {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}, // the panel
};

// The glyphs side by side in one texture, a column apart, white where lit.
constexpr int kCellWidth = kGlyphWidth + 1;
constexpr int kTextureWidth = 128;
constexpr int kTextureHeight = 8;
static_assert((kGlyphCount + 1) * kCellWidth <= kTextureWidth, "the font fits its texture");

// In font pixels: the panel 4 in from the corner with 2 around the text,
// black at 60 % over the snow.
constexpr int kMargin = 4;
constexpr int kPadding = 2;
constexpr uint8_t kPanelAlpha = 153;

constexpr int kMaxCharacters = 16;
constexpr int kMaxQuads = kMaxCharacters + 1;

int GlyphIndex(char c) {
    for (int i = 0; i < kGlyphCount; ++i) {
        if (kCharacters[i] == c) {
            return i;
        }
    }
    return -1;
}

// The four corners of a quad, top left first, in font pixels from the top left; texture coordinates
// over the cell of glyph `glyph`; grey `shade` (red, green and blue alike) at `alpha`.
void PutQuad(FlakeVertex* v, int x, int y, int width, int height, int glyph, uint8_t shade,
             uint8_t alpha) {
    const float u0 = static_cast<float>(glyph * kCellWidth) / kTextureWidth;
    const float u1 = static_cast<float>(glyph * kCellWidth + kGlyphWidth) / kTextureWidth;
    const float v1 = static_cast<float>(kGlyphHeight) / kTextureHeight;
    const float left = static_cast<float>(x);
    const float right = static_cast<float>(x + width);
    const float top = static_cast<float>(y);
    const float bottom = static_cast<float>(y + height);
    const uint32_t colour = static_cast<uint32_t>(alpha) << 24 |
                            static_cast<uint32_t>(shade) << 16 | static_cast<uint32_t>(shade) << 8 |
                            shade;
    v[0] = {left, top, 0.0f, colour, u0, 0.0f};
    v[1] = {left, bottom, 0.0f, colour, u0, v1};
    v[2] = {right, top, 0.0f, colour, u1, 0.0f};
    v[3] = {right, bottom, 0.0f, colour, u1, v1};
}

} // namespace

int32_t FpsOverlayScale(int32_t viewHeight) {
    // 7 font pixels of ceil(3 h / 1400) pixels are at least 0.015 h.
    const int64_t scale = (static_cast<int64_t>(viewHeight) * 3 + 1399) / 1400;
    return scale > 2 ? static_cast<int32_t>(scale) : 2;
}

bool CreateFpsOverlay(FpsOverlay& overlay) {
    overlay = FpsOverlay{0, 0, 0, 0, 0, 0, 0, 0};
    uint8_t texels[kTextureHeight][kTextureWidth][4] = {};
    for (int glyph = 0; glyph <= kGlyphCount; ++glyph) {
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int column = 0; column < kGlyphWidth; ++column) {
                const bool lit = (kFont[glyph][row] >> (kGlyphWidth - 1 - column)) & 1u;
                uint8_t* texel = texels[row][glyph * kCellWidth + column];
                texel[0] = texel[1] = texel[2] = 255;
                texel[3] = lit ? 255 : 0;
            }
        }
    }
    // Whole font pixels, sharp at any place.
    overlay.texture = CreateGlTexture(&texels[0][0][0], kTextureWidth, kTextureHeight, false);
    overlay.indexBuffer = CreateGlQuadIndices(kMaxQuads);
    GLuint vertexBuffer = 0;
    glGenBuffers(1, &vertexBuffer);
    overlay.vertexBuffer = vertexBuffer;
    glBindBuffer(GL_ARRAY_BUFFER, overlay.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, kMaxQuads * 4 * sizeof(FlakeVertex), nullptr, GL_DYNAMIC_DRAW);
    if (glGetError() != GL_NO_ERROR) {
        ReleaseFpsOverlay(overlay);
        return false;
    }
    return true;
}

void SetFpsOverlayRate(FpsOverlay& overlay, double framesPerSecond) {
    if (overlay.vertexBuffer == 0) {
        return;
    }
    if (!(framesPerSecond >= 0.0)) {
        framesPerSecond = 0.0;
    }
    if (framesPerSecond > 99999.9) {
        framesPerSecond = 99999.9;
    }
    char text[kMaxCharacters + 1];
    const int length = std::snprintf(text, sizeof text, "%.1f fps", framesPerSecond);
    const int characters = length < kMaxCharacters ? length : kMaxCharacters;

    const int advance = kCellWidth;
    overlay.panelX = kMargin;
    overlay.panelY = kMargin;
    overlay.panelWidth = 2 * kPadding + characters * advance - 1;
    overlay.panelHeight = 2 * kPadding + kGlyphHeight;
    FlakeVertex vertices[kMaxQuads * 4];
    PutQuad(vertices, overlay.panelX, overlay.panelY, overlay.panelWidth, overlay.panelHeight,
            kGlyphCount, 0, kPanelAlpha);
    int quads = 1;
    for (int i = 0; i < characters; ++i) {
        const int glyph = GlyphIndex(text[i]);
        if (glyph >= 0) {
            PutQuad(vertices + quads * 4, kMargin + kPadding + i * advance, kMargin + kPadding,
                    kGlyphWidth, kGlyphHeight, glyph, 255, 255);
            ++quads;
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, overlay.vertexBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(quads * 4 * sizeof(FlakeVertex)),
                    vertices);
    overlay.quadCount = quads;
}

void DrawFpsOverlay(const FpsOverlay& overlay, const GlProgram& program, int32_t viewWidth,
                    int32_t viewHeight) {
    if (overlay.quadCount == 0 || viewWidth <= 0 || viewHeight <= 0) {
        return;
    }
    glViewport(0, 0, viewWidth, viewHeight);
    glBindBuffer(GL_ARRAY_BUFFER, overlay.vertexBuffer);
    // Font pixels onto whole screen pixels: the text stays sharp.
    Matrix4 clip = GlPixelClip(viewWidth, viewHeight);
    const float scale = static_cast<float>(FpsOverlayScale(viewHeight));
    clip.m[0][0] *= scale;
    clip.m[1][1] *= scale;
    UseGlProgram(program, clip, overlay.texture);
    // Over the picture: what is drawn covers what is there by its alpha.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, overlay.indexBuffer);
    glDrawElements(GL_TRIANGLES, overlay.quadCount * 6, GL_UNSIGNED_SHORT, nullptr);
}

void ReleaseFpsOverlay(FpsOverlay& overlay) {
    DeleteGlTexture(overlay.texture);
    DeleteGlBuffer(overlay.vertexBuffer);
    DeleteGlBuffer(overlay.indexBuffer);
    overlay.quadCount = 0;
}
