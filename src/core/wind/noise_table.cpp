#include "core/wind/noise_table.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>

#include "core/math/random.h"

namespace {
constexpr unsigned char kMagic[10] = {'P', 'E', 'R', 'L', 'I', 'N', 'D', 'A', 'T', 'A'};
// The header, and the one byte that declaredLength counts beyond the file.
constexpr int32_t kMinimumLength = 27;

uint32_t ReadBig16(const unsigned char* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}

uint32_t ReadBig32(const unsigned char* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

NoiseCells Rejected() {
    return {nullptr, 0, 0, 0, 0};
}

// The number of cells of a table, false when it cannot be held in memory.
bool CellCount(uint32_t x, uint32_t y, uint32_t z, uint32_t t, size_t& count) {
    const size_t limit = SIZE_MAX / sizeof(float);
    size_t total = 1;
    for (uint32_t size : {x, y, z, t}) {
        if (size != 0 && total > limit / size) {
            return false;
        }
        total *= size;
    }
    count = total;
    return true;
}
} // namespace

NoiseCells ParseNoiseData(const unsigned char* bytes, int32_t length,
                          const Diagnostics& diagnostics) {
    if (bytes == nullptr || length < kMinimumLength) {
        return Rejected();
    }
    if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return Rejected();
    }
    uint32_t sizeX = ReadBig16(bytes + 10);
    uint32_t sizeY = ReadBig16(bytes + 12);
    uint32_t sizeZ = ReadBig16(bytes + 14);
    uint32_t sizeT = ReadBig16(bytes + 16);
    uint32_t declaredLength = ReadBig32(bytes + 18);

    // The true product of four 16-bit sizes fits in 64 bits; 32-bit arithmetic
    // could wrap and accept a header that claims far more cells than it has.
    uint64_t product = uint64_t{sizeX} * sizeY * sizeZ * sizeT;
    char line[96];
    std::snprintf(line, sizeof line, "[%d %d %d %d] (%d) %d\n", static_cast<int>(sizeX),
                  static_cast<int>(sizeY), static_cast<int>(sizeZ), static_cast<int>(sizeT),
                  static_cast<int>(static_cast<int32_t>(declaredLength)), static_cast<int>(length));
    ReportLine(diagnostics, line);
    std::snprintf(line, sizeof line, "%d\n",
                  static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(product) + 27u)));
    ReportLine(diagnostics, line);

    uint64_t fileLength = static_cast<uint64_t>(length);
    if (declaredLength != fileLength + 1 || uint64_t{declaredLength} - 27u != product) {
        return Rejected();
    }
    // Now product + 26 == length, so every cell is present.
    size_t cellCount = static_cast<size_t>(product);
    if (cellCount > fileLength - kNoiseHeaderBytes) {
        return Rejected();
    }
    unsigned char* cells = new (std::nothrow) unsigned char[cellCount];
    if (cells == nullptr) {
        return Rejected();
    }
    std::memcpy(cells, bytes + kNoiseHeaderBytes, cellCount);
    return {cells, static_cast<int32_t>(sizeX), static_cast<int32_t>(sizeY),
            static_cast<int32_t>(sizeZ), static_cast<int32_t>(sizeT)};
}

void ReleaseNoiseCells(NoiseCells& parsed) {
    delete[] parsed.cells;
    parsed.cells = nullptr;
}

int32_t InitNoiseTable(NoiseTable& table, const NoiseCells* cells, float speed,
                       const Diagnostics& diagnostics) {
    if (RandomInt(0, 1) == 1) {
        table.gust = RandomRange(0.8f, 1.0f);
    } else {
        table.gust = RandomRange(-1.0f, -0.8f);
    }
    table.gustRate = RandomRange(-1.0f, 1.0f);
    table.windSpeed = static_cast<float>((static_cast<double>(speed) * 9.5 + 0.5) * 0.00006);
    table.drift = Vec3Scale(Vec3UnitX(), table.windSpeed * table.gust);
    table.plainWind = cells == nullptr ? 1 : 0;
    if (cells == nullptr) {
        table.values = nullptr;
        return 0;
    }

    uint32_t ux = static_cast<uint32_t>(cells->sizeX);
    uint32_t uy = static_cast<uint32_t>(cells->sizeY);
    uint32_t uz = static_cast<uint32_t>(cells->sizeZ);
    uint32_t ut = static_cast<uint32_t>(cells->sizeT);
    table.sizeX = cells->sizeX;
    table.sizeY = cells->sizeY;
    table.sizeZ = cells->sizeZ;
    table.sizeT = cells->sizeT;
    table.strideY = static_cast<int32_t>(ux * uz);
    table.strideT = static_cast<int32_t>(ux * uy * uz);

    size_t count = 0;
    table.values = nullptr;
    if (CellCount(ux, uy, uz, ut, count)) {
        table.values = new (std::nothrow) float[count];
    }
    if (table.values == nullptr) {
        SoundAlarm(diagnostics, 100, 300);
        return 1;
    }
    for (size_t k = 0; k < count; ++k) {
        table.values[k] = static_cast<float>(cells->cells[k] / 255.0 * 2.0 - 1.0);
    }

    table.phaseRate = 0.00005f;
    table.phase = RandomRange(0.0f, 1.0f);
    table.scrolling = 1;
    table.scrollFactor = 4.0f;
    float r1 = RandomRange(0.0f, 1.0f);
    float r2 = RandomRange(0.0f, 1.0f);
    float r3 = RandomRange(0.0f, 1.0f);
    table.offset = Vec3Set(r3, r2, r1);
    return 0;
}

void ReleaseNoiseTable(NoiseTable& table) {
    if (table.values != nullptr && table.plainWind == 0) {
        delete[] table.values;
    }
    table.values = nullptr;
}
