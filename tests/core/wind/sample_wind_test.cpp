#include "core/wind/sample_wind.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {
// A table whose sizes differ on every axis, so that a mix-up of axes or
// strides shows; every value distinct and inside [-1, 1].
struct GridTable {
    NoiseTable table{};
    std::vector<float> values;

    GridTable(int32_t sx, int32_t sy, int32_t sz, int32_t st) {
        values.resize(static_cast<size_t>(sx) * sy * sz * st);
        for (size_t k = 0; k < values.size(); ++k) {
            values[k] = static_cast<float>(std::sin(k * 1.7 + 0.3));
        }
        table.sizeX = sx;
        table.sizeY = sy;
        table.sizeZ = sz;
        table.sizeT = st;
        table.strideY = sx * sz;
        table.strideT = sx * sy * sz;
        table.values = values.data();
        table.offset = Vec3{0.0f, 0.0f, 0.0f};
    }

    float At(int32_t i, int32_t j, int32_t k, int32_t l) const {
        return values[static_cast<size_t>(i + table.sizeX * k + table.strideY * j +
                                          table.strideT * l)];
    }
};
} // namespace

TEST(SampleWind, GridPointsReadTheirOwnValue) {
    GridTable grid(16, 16, 16, 16);
    EXPECT_EQ(SampleWind(grid.table, Vec3{0.0f, 0.0f, 0.0f}, 0.0f), grid.values[0]);
    EXPECT_EQ(SampleWind(grid.table, Vec3{1.0f / 16, 0.0f, 0.0f}, 0.0f), grid.values[1]);
    EXPECT_EQ(SampleWind(grid.table, Vec3{0.0f, 0.0f, 1.0f / 16}, 0.0f), grid.values[16]);
    EXPECT_EQ(SampleWind(grid.table, Vec3{0.0f, 1.0f / 16, 0.0f}, 0.0f), grid.values[256]);
    EXPECT_EQ(SampleWind(grid.table, Vec3{0.0f, 0.0f, 0.0f}, 1.0f / 16), grid.values[4096]);

    GridTable odd(2, 3, 4, 5);
    for (int32_t l = 0; l < 5; ++l) {
        for (int32_t j = 0; j < 3; ++j) {
            for (int32_t k = 0; k < 4; ++k) {
                for (int32_t i = 0; i < 2; ++i) {
                    Vec3 p{i / 2.0f, static_cast<float>(j) / 3.0f, k / 4.0f};
                    float phase = static_cast<float>(l) / 5.0f;
                    float v = SampleWind(odd.table, p, phase);
                    EXPECT_NEAR(v, odd.At(i, j, k, l), 1e-5) << i << j << k << l;
                }
            }
        }
    }
}

TEST(SampleWind, WholeNumbersAfterTheOffsetReadTheFirstPoint) {
    GridTable grid(16, 16, 16, 16);
    grid.table.offset = Vec3{0.25f, 0.5f, 0.75f};
    EXPECT_EQ(SampleWind(grid.table, Vec3{0.75f, 1.5f, -0.75f}, 0.0f), grid.values[0]);
    EXPECT_EQ(SampleWind(grid.table, Vec3{-0.25f, -0.5f, 0.25f}, 0.0f), grid.values[0]);
}

TEST(SampleWind, NegativeCoordinatesWrapFromTheTop) {
    GridTable grid(16, 16, 16, 16);
    grid.table.offset = Vec3{0.1f, 0.2f, 0.3f};
    std::mt19937 generator(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int n = 0; n < 200; ++n) {
        Vec3 p{unit(generator), unit(generator), unit(generator)};
        float phase = unit(generator);
        float shifted = SampleWind(grid.table, Vec3{p.x - 1.0f, p.y, p.z}, phase);
        float plain = SampleWind(grid.table, p, phase);
        EXPECT_NEAR(shifted, plain, 1e-5);
    }
    EXPECT_EQ(SampleWind(grid.table, Vec3{-0.25f, 0.0f, 0.0f}, 0.5f),
              SampleWind(grid.table, Vec3{0.75f, 0.0f, 0.0f}, 0.5f));
}

TEST(SampleWind, HalfWayBetweenTwoPointsIsTheirMean) {
    GridTable grid(16, 16, 16, 16);
    float x = SampleWind(grid.table, Vec3{2.5f / 16, 3.0f / 16, 4.0f / 16}, 5.0f / 16);
    EXPECT_FLOAT_EQ(x, (grid.At(2, 3, 4, 5) + grid.At(3, 3, 4, 5)) / 2);
    float y = SampleWind(grid.table, Vec3{2.0f / 16, 3.5f / 16, 4.0f / 16}, 5.0f / 16);
    EXPECT_FLOAT_EQ(y, (grid.At(2, 3, 4, 5) + grid.At(2, 4, 4, 5)) / 2);
    float z = SampleWind(grid.table, Vec3{2.0f / 16, 3.0f / 16, 4.5f / 16}, 5.0f / 16);
    EXPECT_FLOAT_EQ(z, (grid.At(2, 3, 4, 5) + grid.At(2, 3, 5, 5)) / 2);
    float t = SampleWind(grid.table, Vec3{2.0f / 16, 3.0f / 16, 4.0f / 16}, 5.5f / 16);
    EXPECT_FLOAT_EQ(t, (grid.At(2, 3, 4, 5) + grid.At(2, 3, 4, 6)) / 2);
}

TEST(SampleWind, TheLastPointOfAnAxisNeighboursTheFirst) {
    GridTable grid(16, 16, 16, 16);
    float x = SampleWind(grid.table, Vec3{15.5f / 16, 0.0f, 0.0f}, 0.0f);
    EXPECT_FLOAT_EQ(x, (grid.At(15, 0, 0, 0) + grid.At(0, 0, 0, 0)) / 2);
    float t = SampleWind(grid.table, Vec3{0.0f, 0.0f, 0.0f}, 15.5f / 16);
    EXPECT_FLOAT_EQ(t, (grid.At(0, 0, 0, 15) + grid.At(0, 0, 0, 0)) / 2);
}

TEST(SampleWind, CoordinatesThatRoundUpToOneStayOnTheGrid) {
    // -1e-9 wraps to 1.0f: the lower index would be one past the last point.
    GridTable grid(2, 3, 4, 5);
    EXPECT_EQ(static_cast<float>(-1e-9 + 1.0), 1.0f);
    float v = SampleWind(grid.table, Vec3{-1e-9f, -1e-9f, -1e-9f}, 0.0f);
    EXPECT_EQ(v, grid.At(0, 0, 0, 0));
    // A phase of exactly 1 (the wrap of the update can round up to it).
    EXPECT_EQ(SampleWind(grid.table, Vec3{0.0f, 0.0f, 0.0f}, 1.0f), grid.At(0, 0, 0, 0));
}

TEST(SampleWind, StaysWithinTheTableRange) {
    GridTable grid(16, 16, 16, 16);
    grid.table.offset = Vec3{0.9f, 0.05f, 0.5f};
    float lo = *std::min_element(grid.values.begin(), grid.values.end());
    float hi = *std::max_element(grid.values.begin(), grid.values.end());
    std::mt19937 generator(3);
    std::uniform_real_distribution<float> span(-3.0f, 3.0f);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int n = 0; n < 5000; ++n) {
        float v = SampleWind(grid.table, Vec3{span(generator), span(generator), span(generator)},
                             unit(generator));
        ASSERT_GE(v, lo);
        ASSERT_LE(v, hi);
    }
}
