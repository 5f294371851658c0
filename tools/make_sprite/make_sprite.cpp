// Writes the flake sprite: a 256 x 256 RGBA PNG, white with a soft round spot
// of alpha in the middle, falling off with the distance from the centre and
// fully transparent from 113 pixels out (so the outermost 11 pixels of every
// edge are 0). Deterministic: the same bytes on every run.
//
//   make_sprite <output.png>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <png.h>
#include <zlib.h>

namespace {

constexpr int kSide = 256;

// Alpha at a distance from the centre: straight lines between these points.
struct Knot {
    double distance;
    double alpha;
};
const Knot kProfile[] = {{0, 227},  {10, 221},  {20, 205},  {30, 179}, {40, 147},
                         {50, 111}, {60, 77},   {70, 47},   {80, 26},  {90, 12},
                         {100, 5},  {110, 1.6}, {112, 1.0}, {113, 0.4}};

uint8_t AlphaAt(double distance) {
    const size_t count = sizeof kProfile / sizeof kProfile[0];
    if (distance >= kProfile[count - 1].distance) {
        return 0;
    }
    for (size_t i = 1; i < count; ++i) {
        if (distance <= kProfile[i].distance) {
            const Knot& a = kProfile[i - 1];
            const Knot& b = kProfile[i];
            double t = (distance - a.distance) / (b.distance - a.distance);
            double alpha = a.alpha + t * (b.alpha - a.alpha);
            return static_cast<uint8_t>(std::floor(alpha + 0.5));
        }
    }
    return 0;
}

// Writes the image with libpng, every setting that shapes the bytes fixed: the
// "Sub" filter on every row, deflate at level 9 with the default strategy, one
// IDAT chunk, and no chunks besides IHDR, gAMA, IDAT and IEND.
bool WritePng(FILE* file, png_bytep* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_gAMA_fixed(png, info, 55000); // gamma 0.55
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 9);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_buffer_size(png, kSide * (1 + kSide * 4)); // room for all of IDAT
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sprite <output.png>\n");
        return 2;
    }
    std::vector<uint8_t> rgba(kSide * kSide * 4);
    std::vector<png_bytep> rows(kSide);
    const double centre = kSide / 2.0;
    for (int y = 0; y < kSide; ++y) {
        rows[y] = &rgba[y * kSide * 4];
        for (int x = 0; x < kSide; ++x) {
            double dx = x + 0.5 - centre;
            double dy = y + 0.5 - centre;
            uint8_t* pixel = rows[y] + x * 4;
            pixel[0] = pixel[1] = pixel[2] = 255;
            pixel[3] = AlphaAt(std::sqrt(dx * dx + dy * dy));
        }
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "make_sprite: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = WritePng(file, rows.data());
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "make_sprite: writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
