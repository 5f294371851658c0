// A small PNG reader for the tests: chunks, header and the pixels of an 8-bit
// RGBA image, with its own inflate so the Windows tests need no library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngChunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcMatches;
};

struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t interlace = 0;
    std::vector<PngChunk> chunks;
    std::vector<uint8_t> rgba; // width * height * 4 bytes, when decoded
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Fills image and returns "" on success, else what was wrong.
std::string DecodePng(const std::vector<uint8_t>& bytes, PngImage& image);
// The zlib stream's data, or an error text in error.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& zlibStream, std::string& error);
