// The tests' PNG reader. Natively it is libpng; in the Windows build it is the
// Windows Imaging Component, the decoder the saver makes its sprite texture
// with, so the Windows tests see the pixels the saver sees. Neither applies
// the file's gamma: the pixels are the values stored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t gamma = 0;        // the gAMA chunk's value (gamma x 100000), 0 without one
    std::vector<uint8_t> rgba; // width * height * 4 bytes, R G B A, when decoded
#ifndef _WIN32
    // The file's own layout, as libpng reads it.
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t interlace = 0;
    std::vector<std::string> chunks; // the chunk types in file order
#endif
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Fills image and returns "" on success, else what was wrong.
std::string DecodePng(const std::vector<uint8_t>& bytes, PngImage& image);
