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

#include "png_file.h"

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sprite <output.png>\n");
        return 2;
    }
    std::vector<uint8_t> rgba(kSide * kSide * 4);
    const double centre = kSide / 2.0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            double dx = x + 0.5 - centre;
            double dy = y + 0.5 - centre;
            uint8_t* pixel = &rgba[(y * kSide + x) * 4];
            pixel[0] = pixel[1] = pixel[2] = 255;
            pixel[3] = AlphaAt(std::sqrt(dx * dx + dy * dy));
        }
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::fprintf(stderr, "make_sprite: cannot write %s\n", argv[1]);
        return 1;
    }
    const bool written = WriteFixedPng(file, rgba.data(), kSide, kSide, 55000); // gamma 0.55
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "make_sprite: writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
