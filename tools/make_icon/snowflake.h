// The program's icon: a six-armed snowflake drawn at any square size.
#pragma once

#include <cstdint>
#include <vector>

// One square picture, top row first, four bytes per pixel in the order blue,
// green, red, alpha, with straight (not premultiplied) alpha.
struct IconImage {
    int size;
    std::vector<uint8_t> bgra;
};

// Draws the snowflake at size x size pixels on a transparent background.
// Smaller sizes carry fewer branches and thicker strokes so they stay legible.
// The result depends only on the size.
IconImage DrawSnowflake(int size);

// The pixel at column x, row y (row 0 at the top): its four bytes.
const uint8_t* IconPixel(const IconImage& image, int x, int y);
