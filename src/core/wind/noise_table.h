// The PERLINDATA noise tables and the wind-field record built from one.
#pragma once

#include <cstdint>

#include "core/math/vec3.h"
#include "platform/diagnostics.h"

constexpr int32_t kNoiseHeaderBytes = 26;

struct NoiseTable {
    int32_t sizeX;
    int32_t sizeY;
    int32_t sizeZ;
    int32_t sizeT;
    int32_t strideY; // sizeX * sizeZ
    int32_t strideT; // sizeX * sizeY * sizeZ
    float* values;   // owned; cell k as k / 255 * 2 - 1; null in plain-wind mode
    float phaseRate; // 0.00005 per millisecond
    float phase;     // time coordinate in [0, 1)
    int32_t scrolling;
    float scrollFactor;
    int32_t plainWind; // 1: no table, the wind is drift alone
    Vec3 drift;        // (windSpeed * gust, 0, 0)
    Vec3 offset;       // sampling offset, each component in [0, 1)
    float gust;
    float gustRate;
    float windSpeed;
};

// The cells of a parsed table: a copy owned by the caller (free with
// ReleaseNoiseCells), and the four sizes.
struct NoiseCells {
    unsigned char* cells; // null when the data was rejected
    int32_t sizeX;
    int32_t sizeY;
    int32_t sizeZ;
    int32_t sizeT;
};

// Checks a whole PERLINDATA file and copies its cells. Once the header is
// read, its account goes to the report lines: "[x y z t] (declared) length"
// and the cell count plus 27.
NoiseCells ParseNoiseData(const unsigned char* bytes, int32_t length,
                          const Diagnostics& diagnostics);
void ReleaseNoiseCells(NoiseCells& parsed);

// The wind of a new scene: its random gust, and with a parsed table (cells
// not null) the field converted to floats; without one, plain drift. speed is
// the wind-speed argument. 0, or 1 after the alarm (100 Hz, 300 ms) when the
// value array cannot be allocated.
int32_t InitNoiseTable(NoiseTable& table, const NoiseCells* cells, float speed,
                       const Diagnostics& diagnostics);

// Frees the field's values (a table only owns them with a field); safe to
// repeat.
void ReleaseNoiseTable(NoiseTable& table);
