// The flake sprite as RGBA pixels, decoded with libpng from the PNG the
// Windows saver carries as its resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SpriteImage {
    uint32_t width;
    uint32_t height;
    std::vector<uint8_t> rgba; // rows from the top, 4 bytes a pixel, as stored
};

// The pixels of a PNG in memory, without gamma correction: the stored values,
// as the Windows saver's texture holds them. An empty message on success.
std::string DecodeSpritePng(const uint8_t* data, size_t size, SpriteImage& image);
