#include "core/wind/noise_table.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "core/math/random.h"
#include "core/wind/test_tables.h"

namespace {
// RandomRange as specified, from a reference draw.
float RangeOf(uint32_t draw, float lo, float hi) {
    return static_cast<float>(lo + draw * (static_cast<double>(hi) - lo) / 32767.0);
}

NoiseTable Filled() {
    NoiseTable table;
    std::memset(&table, 0xA5, sizeof table);
    return table;
}
} // namespace

TEST(InitNoiseTable, ConvertsEveryCellToMinusOneToOne) {
    std::vector<unsigned char> cells(256);
    for (int b = 0; b < 256; ++b) {
        cells[b] = static_cast<unsigned char>(b);
    }
    NoiseTable table = Filled();
    SeedRandom(5);
    const NoiseCells parsed = TableOf(cells, 4, 2, 8, 4);
    ASSERT_EQ(InitNoiseTable(table, &parsed, 0.5f, kQuiet), 0);
    ASSERT_NE(table.values, nullptr);
    EXPECT_EQ(table.values[0], -1.0f);
    EXPECT_EQ(table.values[255], 1.0f);
    EXPECT_EQ(table.values[127], -0.0039215689f);
    EXPECT_EQ(table.values[128], 0.0039215689f);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(table.values[b], static_cast<float>(b / 255.0 * 2.0 - 1.0)) << b;
        EXPECT_NE(table.values[b], 0.0f);
    }
    EXPECT_EQ(table.sizeX, 4);
    EXPECT_EQ(table.sizeY, 2);
    EXPECT_EQ(table.sizeZ, 8);
    EXPECT_EQ(table.sizeT, 4);
    EXPECT_EQ(table.strideY, 32);
    EXPECT_EQ(table.strideT, 64);
    EXPECT_EQ(table.plainWind, 0);
    EXPECT_EQ(table.phaseRate, 0.00005f);
    EXPECT_EQ(table.scrolling, 1);
    EXPECT_EQ(table.scrollFactor, 4.0f);
    delete[] table.values;
}

TEST(InitNoiseTable, DrawsSevenNumbersInOrderWithATable) {
    const uint32_t seed = 1234;
    ReferenceLcg lcg{seed};
    uint32_t pick = lcg.Next();
    uint32_t draws[6];
    for (auto& d : draws) {
        d = lcg.Next();
    }
    std::vector<unsigned char> cells = RandomCells(16, 1);
    NoiseTable table = Filled();
    SeedRandom(seed);
    const NoiseCells parsed = TableOf(cells, 2, 2, 2, 2);
    ASSERT_EQ(InitNoiseTable(table, &parsed, 1.0f, kQuiet), 0);

    float gust = pick % 2 == 1 ? RangeOf(draws[0], 0.8f, 1.0f) : RangeOf(draws[0], -1.0f, -0.8f);
    EXPECT_EQ(table.gust, gust);
    EXPECT_GE(std::fabs(table.gust), 0.8f);
    EXPECT_LE(std::fabs(table.gust), 1.0f);
    EXPECT_EQ(table.gustRate, RangeOf(draws[1], -1.0f, 1.0f));
    EXPECT_EQ(table.phase, RangeOf(draws[2], 0.0f, 1.0f));
    EXPECT_EQ(table.offset.z, RangeOf(draws[3], 0.0f, 1.0f));
    EXPECT_EQ(table.offset.y, RangeOf(draws[4], 0.0f, 1.0f));
    EXPECT_EQ(table.offset.x, RangeOf(draws[5], 0.0f, 1.0f));
    EXPECT_EQ(table.windSpeed, static_cast<float>((9.5 + 0.5) * 0.00006));
    EXPECT_EQ(table.drift.x, table.windSpeed * table.gust);
    EXPECT_EQ(table.drift.y, 0.0f);
    EXPECT_EQ(table.drift.z, 0.0f);
    // Nothing more was drawn.
    EXPECT_EQ(RandomInt(0, 32767), static_cast<int32_t>(lcg.Next()));
    delete[] table.values;
}

TEST(InitNoiseTable, PlainWindReadsNoCellAndDrawsThree) {
    const uint32_t seed = 99;
    ReferenceLcg lcg{seed};
    uint32_t pick = lcg.Next();
    uint32_t gustDraw = lcg.Next();
    uint32_t rateDraw = lcg.Next();
    NoiseTable table = Filled();
    const float phaseBefore = table.phase;
    SeedRandom(seed);
    EXPECT_EQ(InitNoiseTable(table, nullptr, 0.25f, kQuiet), 0);
    EXPECT_EQ(table.values, nullptr);
    EXPECT_EQ(table.plainWind, 1);
    EXPECT_EQ(table.gust,
              pick % 2 == 1 ? RangeOf(gustDraw, 0.8f, 1.0f) : RangeOf(gustDraw, -1.0f, -0.8f));
    EXPECT_EQ(table.gustRate, RangeOf(rateDraw, -1.0f, 1.0f));
    EXPECT_EQ(table.windSpeed, static_cast<float>((0.25 * 9.5 + 0.5) * 0.00006));
    // Fields that plain wind leaves alone keep what the record held.
    EXPECT_EQ(std::memcmp(&table.phase, &phaseBefore, sizeof phaseBefore), 0);
    EXPECT_EQ(RandomInt(0, 32767), static_cast<int32_t>(lcg.Next()));
}

TEST(InitNoiseTable, WindSpeedFollowsTheSetting) {
    NoiseTable table = Filled();
    InitNoiseTable(table, nullptr, 0.0f, kQuiet);
    EXPECT_EQ(table.windSpeed, static_cast<float>(0.5 * 0.00006));
    InitNoiseTable(table, nullptr, 0.5f, kQuiet);
    EXPECT_EQ(table.windSpeed, static_cast<float>((0.5 * 9.5 + 0.5) * 0.00006));
}
