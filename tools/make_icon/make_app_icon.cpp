// make_app_icon any|maskable SIZE OUTPUT.png
// Writes the page's app icon, the program's snowflake as an RGBA PNG of
// SIZE x SIZE pixels. "any" is the flake on a transparent background, as in
// the program's icon; "maskable" is the flake on opaque black, shrunk so that
// its arm tips stay inside the circle of 40 % of the side around the centre
// that every launcher's mask keeps. The output depends on nothing but this
// program and the arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "png_file.h"
#include "snowflake.h"

namespace {

constexpr int kMaxSize = 1024;
// The flake's side in a maskable icon: its radius (just under half its side)
// stays within the 40 % the mask keeps.
constexpr double kMaskableShare = 0.76;

// Top row first, four bytes per pixel in the order red, green, blue, alpha.
std::vector<uint8_t> AppIconPixels(int size, bool maskable) {
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4, 0);
    const int side = maskable ? static_cast<int>(size * kMaskableShare + 0.5) : size;
    const int offset = (size - side) / 2;
    const IconImage flake = DrawSnowflake(side);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t* out = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            const int fx = x - offset;
            const int fy = y - offset;
            const bool onFlake = fx >= 0 && fy >= 0 && fx < side && fy < side;
            const uint8_t none[4] = {0, 0, 0, 0};
            const uint8_t* in = onFlake ? IconPixel(flake, fx, fy) : none;
            if (maskable) {
                // Straight alpha over black, opaque everywhere.
                for (int c = 0; c < 3; ++c) {
                    out[c] = static_cast<uint8_t>((in[2 - c] * in[3] + 127) / 255);
                }
                out[3] = 255;
            } else {
                out[0] = in[2];
                out[1] = in[1];
                out[2] = in[0];
                out[3] = in[3];
            }
        }
    }
    return rgba;
}

} // namespace

int main(int argc, char** argv) {
    const char* usage = "usage: make_app_icon any|maskable SIZE OUTPUT.png (SIZE 16 to 1024)\n";
    if (argc != 4) {
        std::fputs(usage, stderr);
        return 2;
    }
    const bool maskable = std::strcmp(argv[1], "maskable") == 0;
    char* end = nullptr;
    const long size = std::strtol(argv[2], &end, 10);
    if ((!maskable && std::strcmp(argv[1], "any") != 0) || *end != '\0' || size < 16 ||
        size > kMaxSize) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::vector<uint8_t> rgba = AppIconPixels(static_cast<int>(size), maskable);
    std::FILE* file = std::fopen(argv[3], "wb");
    if (file == nullptr) {
        std::perror(argv[3]);
        return 1;
    }
    const bool written =
        WriteFixedPng(file, rgba.data(), static_cast<int>(size), static_cast<int>(size), 0);
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "make_app_icon: could not write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
