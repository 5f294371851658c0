// The frame rate drawn on the picture, "12.3 fps" in white on a dark
// translucent panel in the top left corner: textured quads from a buffer
// object through the flakes' own shader pair, the glyphs a texture made from
// a small bitmap font of our own, whose pixels grow with the view's height.
#pragma once

#include <cstdint>

#include "gl/gl_program.h"

struct FpsOverlay {
    uint32_t texture;      // the glyphs, and a solid cell for the panel; 0 when not held
    uint32_t vertexBuffer; // the panel and the glyphs of the text, rewritten with it
    uint32_t indexBuffer;  // two triangles a quad, written once
    int32_t quadCount;     // 0 while there is no rate to show
    // Where the panel lies, in font pixels from the drawable's top left
    // corner: FpsOverlayScale of the view's height screen pixels each.
    int32_t panelX;
    int32_t panelY;
    int32_t panelWidth;
    int32_t panelHeight;
};

// The height of a character in font pixels.
constexpr int32_t kFpsOverlayGlyphHeight = 7;

// The side of a font pixel on the screen, in whole pixels, for a view that
// many pixels high: the text is at least 1.5 % of the view's height (14 pixels
// at 768 lines, 35 at 2160), and no less than 2 pixels a font pixel.
int32_t FpsOverlayScale(int32_t viewHeight);

// The texture and the buffers, on the current context. False when they
// cannot be made.
bool CreateFpsOverlay(FpsOverlay& overlay);

// The rate to show from now on, rounded to a tenth. Allocates nothing.
void SetFpsOverlayRate(FpsOverlay& overlay, double framesPerSecond);

// Draws the panel and the rate over what the frame holds, in a drawable of
// that size and at its scale, with the program and the states it needs set
// anew. Allocates nothing.
void DrawFpsOverlay(const FpsOverlay& overlay, const GlProgram& program, int32_t viewWidth,
                    int32_t viewHeight);

// Frees the texture and the buffers; safe to repeat.
void ReleaseFpsOverlay(FpsOverlay& overlay);
