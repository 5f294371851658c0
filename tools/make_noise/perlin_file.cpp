#include "perlin_file.h"

#include <cstdio>

#include "wave_field.h"

namespace {

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

} // namespace

std::vector<uint8_t> EncodePerlinData(const std::vector<uint8_t>& cells) {
    std::vector<uint8_t> out;
    out.reserve(26 + cells.size());
    for (char ch : std::string("PERLINDATA"))
        out.push_back(static_cast<uint8_t>(ch));
    for (int axis = 0; axis < 4; ++axis)
        PutBigEndian(out, kNoiseSize, 2);
    PutBigEndian(out, static_cast<uint32_t>(26 + cells.size() + 1), 4);
    PutBigEndian(out, 0, 4);
    out.insert(out.end(), cells.begin(), cells.end());
    return out;
}

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    return written == bytes.size() && closed;
}
