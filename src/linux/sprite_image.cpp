#include "linux/sprite_image.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset) {
        png_error(png, "the image ends early");
    }
    std::memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

} // namespace

std::string DecodeSpritePng(const uint8_t* data, size_t size, SpriteImage& image) {
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        return "the sprite is no PNG image";
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "no memory to decode the sprite";
    }
    MemoryReader reader = {data, size, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        image.rgba.clear();
        return "the sprite cannot be decoded";
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    // Every layout as 8-bit RGBA; no gamma transform, so the stored values
    // come out as they are.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    if (image.width == 0 || image.height == 0 || image.width > 8192 || image.height > 8192) {
        png_destroy_read_struct(&png, &info, nullptr);
        return "the sprite has no size a texture can take";
    }
    image.rgba.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
    // Row by row into the image, which outlives a jump back from an error.
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < image.height; ++y) {
            png_read_row(png, image.rgba.data() + static_cast<size_t>(y) * image.width * 4,
                         nullptr);
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return "";
}
