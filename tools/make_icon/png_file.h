// An RGBA image as a PNG file whose bytes depend on the pixels alone.
#pragma once

#include <cstdint>
#include <cstdio>

// Writes width x height pixels (top row first, red, green, blue, alpha) with
// every setting that shapes the bytes fixed: the "Sub" filter on every row,
// deflate at level 9 with the default strategy, one IDAT chunk, and no
// chunks but IHDR, gAMA (when gammaFixed, the gamma times 100000, is not 0),
// IDAT and IEND. False when libpng fails.
bool WriteFixedPng(std::FILE* file, const uint8_t* rgba, int width, int height,
                   uint32_t gammaFixed);
