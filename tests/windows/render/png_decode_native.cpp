// DecodePng with libpng: any PNG becomes 8-bit RGBA rows of the stored values.
#include "png_decode.h"

#include <cstring>

#include <png.h>

namespace {

struct Source {
    const std::vector<uint8_t>& bytes;
    size_t pos;
    std::vector<std::string>& chunks;
};

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    Source& source = *static_cast<Source*>(png_get_io_ptr(png));
    if (count > source.bytes.size() - source.pos) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, source.bytes.data() + source.pos, count);
    source.pos += count;
    // A chunk's header: its length, then its type.
    if (png_get_io_state(png) == (PNG_IO_READING | PNG_IO_CHUNK_HDR) && count == 8) {
        source.chunks.emplace_back(reinterpret_cast<const char*>(out) + 4, 4);
    }
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The header, then the pixels into image.rgba through rows; false once libpng
// has reported an error.
bool Read(png_structp png, png_infop info, PngImage& image, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    // A damaged ancillary chunk fails the file too, rather than being dropped.
    png_set_crc_action(png, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
    png_set_user_limits(png, 4096, 4096);
    png_read_info(png, info);
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    image.bitDepth = png_get_bit_depth(png, info);
    image.colourType = png_get_color_type(png, info);
    image.interlace = png_get_interlace_type(png, info);
    png_fixed_point gamma = 0;
    if (png_get_gAMA_fixed(png, info, &gamma)) {
        image.gamma = static_cast<uint32_t>(gamma);
    }
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_scale_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t stride = static_cast<size_t>(image.width) * 4;
    image.rgba.assign(stride * image.height, 0);
    rows.resize(image.height);
    for (uint32_t y = 0; y < image.height; ++y) {
        rows[y] = &image.rgba[y * stride];
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

std::string DecodePng(const std::vector<uint8_t>& bytes, PngImage& image) {
    image = PngImage{};
    std::string error;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return "libpng could not start";
    }
    Source source{bytes, 0, image.chunks};
    png_set_read_fn(png, &source, ReadBytes);
    std::vector<png_bytep> rows;
    const bool read = Read(png, info, image, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return read ? "" : error;
}
