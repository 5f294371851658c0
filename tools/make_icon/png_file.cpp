#include "png_file.h"

#include <csetjmp>
#include <vector>

#include <png.h>
#include <zlib.h>

bool WriteFixedPng(std::FILE* file, const uint8_t* rgba, int width, int height,
                   uint32_t gammaFixed) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[y] = const_cast<png_bytep>(rgba + static_cast<size_t>(y) * width * 4);
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (gammaFixed != 0) {
        png_set_gAMA_fixed(png, info, gammaFixed);
    }
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 9);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    // Room for all of IDAT: one chunk.
    png_set_compression_buffer_size(png, static_cast<size_t>(height) * (1 + width * 4));
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
