// libFuzzer target for the noise-table parser: whatever the bytes, it reads
// only inside them, and a table it accepts is exactly the cells of the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/wind/noise_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        return 0;
    }
    // A copy of exactly the input's size, so that any read past it is caught.
    unsigned char* bytes = new unsigned char[size == 0 ? 1 : size];
    if (size != 0) {
        std::memcpy(bytes, data, size);
    }
    NoiseCells parsed = ParseNoiseData(bytes, static_cast<int32_t>(size), {nullptr, nullptr});
    if (parsed.cells != nullptr) {
        uint64_t product = uint64_t(uint32_t(parsed.sizeX)) * uint32_t(parsed.sizeY) *
                           uint32_t(parsed.sizeZ) * uint32_t(parsed.sizeT);
        if (size < 27 || product != size - 26 || std::memcmp(bytes, "PERLINDATA", 10) != 0 ||
            std::memcmp(parsed.cells, bytes + 26, size - 26) != 0) {
            __builtin_trap();
        }
    }
    ReleaseNoiseCells(parsed);
    ReleaseNoiseCells(parsed);
    delete[] bytes;
    return 0;
}
