// Small PERLINDATA files made on the spot, for tests that must not depend on
// the stored tables.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "core/wind/noise_table.h"

// A complete file: header with the given sizes and declaredLength of the
// whole length plus one, followed by the cells.
inline std::vector<unsigned char> MakePerlinFile(uint16_t sx, uint16_t sy, uint16_t sz, uint16_t st,
                                                 const std::vector<unsigned char>& cells) {
    std::vector<unsigned char> bytes(26 + cells.size());
    std::memcpy(bytes.data(), "PERLINDATA", 10);
    const uint16_t sizes[4] = {sx, sy, sz, st};
    for (int i = 0; i < 4; ++i) {
        bytes[10 + 2 * i] = static_cast<unsigned char>(sizes[i] >> 8);
        bytes[11 + 2 * i] = static_cast<unsigned char>(sizes[i] & 0xFF);
    }
    uint32_t declared = static_cast<uint32_t>(26 + cells.size() + 1);
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = static_cast<unsigned char>(declared >> (24 - 8 * i));
    }
    if (!cells.empty()) {
        std::memcpy(bytes.data() + 26, cells.data(), cells.size());
    }
    return bytes;
}

// Cells of a table with every byte drawn from a fixed sequence.
inline std::vector<unsigned char> RandomCells(size_t count, uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<unsigned char> cells(count);
    for (auto& c : cells) {
        c = static_cast<unsigned char>(generator() & 0xFF);
    }
    return cells;
}

// A view of cells held elsewhere as a parsed table of the given sizes.
inline NoiseCells TableOf(std::vector<unsigned char>& cells, int32_t sx, int32_t sy, int32_t sz,
                          int32_t st) {
    return {cells.data(), sx, sy, sz, st};
}

// Diagnostics that drop everything.
constexpr Diagnostics kQuiet = {nullptr, nullptr};

// The generator's sequence, computed independently of the code under test.
struct ReferenceLcg {
    uint32_t state;
    uint32_t Next() {
        state = state * 214013u + 2531011u;
        return (state >> 16) & 32767u;
    }
};
