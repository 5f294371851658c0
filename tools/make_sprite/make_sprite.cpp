// Writes the flake sprite: a 256 x 256 RGBA PNG, white with a soft round spot
// of alpha in the middle, falling off with the distance from the centre and
// fully transparent from 113 pixels out (so the outermost 11 pixels of every
// edge are 0). Deterministic: the same bytes on every run.
//
//   make_sprite <output.png>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

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

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBig32(out, Crc32(typed.data(), typed.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sprite <output.png>\n");
        return 2;
    }
    // Rows with the "Sub" filter: each byte minus the one a pixel to the left.
    std::vector<uint8_t> raw;
    raw.reserve(kSide * (1 + kSide * 4));
    const double centre = kSide / 2.0;
    for (int y = 0; y < kSide; ++y) {
        raw.push_back(1);
        uint8_t left[4] = {0, 0, 0, 0};
        for (int x = 0; x < kSide; ++x) {
            double dx = x + 0.5 - centre;
            double dy = y + 0.5 - centre;
            uint8_t pixel[4] = {255, 255, 255, AlphaAt(std::sqrt(dx * dx + dy * dy))};
            for (int c = 0; c < 4; ++c) {
                raw.push_back(static_cast<uint8_t>(pixel[c] - left[c]));
                left[c] = pixel[c];
            }
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK) {
        std::fprintf(stderr, "make_sprite: compression failed\n");
        return 1;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, kSide);
    PutBig32(header, kSide);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no interlace
    PutChunk(png, "IHDR", header);
    std::vector<uint8_t> gamma;
    PutBig32(gamma, 55000); // gamma 0.55
    PutChunk(png, "gAMA", gamma);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out ? 0 : 1;
}
