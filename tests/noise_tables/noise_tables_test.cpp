// The four stored tables hold the range, spread and multi-scale structure that
// the wind field is tuned for.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "noise_table_stats.h"

namespace {

struct TableTarget {
    int id;
    int minCell;
    int maxCell;
    double mean;
    double deviation;
    double convertedMean; // mean of b / 255 * 2 - 1
};

const TableTarget kTargets[] = {
    {129, 69, 255, 170.35, 26.82, 0.336},
    {130, 54, 255, 161.15, 27.81, 0.264},
    {131, 38, 255, 155.71, 26.60, 0.221},
    {132, 7, 221, 119.60, 28.41, -0.062},
};

void PrintTo(const TableTarget& target, std::ostream* out) {
    *out << "table " << target.id;
}

constexpr size_t kHeaderSize = 26;
constexpr size_t kFileSize = kHeaderSize + kTableCells;

std::vector<uint8_t> ReadTableFile(int id) {
    const std::string path = std::string(QF_RESOURCE_DIR) + "/noise_" + std::to_string(id) + ".dat";
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A table whose cells depend on one axis index only: 16 * index.
std::vector<uint8_t> RampAlong(int axis) {
    const int stride[4] = {1, 256, 16, 4096}; // x, y, z, t
    std::vector<uint8_t> cells(kTableCells);
    for (int i = 0; i < kTableCells; ++i)
        cells[i] = static_cast<uint8_t>(16 * ((i / stride[axis]) % kTableSize));
    return cells;
}

TEST(NoiseTableStats, MeasuresEachAxisAtItsOwnStride) {
    for (int axis = 0; axis < 4; ++axis) {
        SCOPED_TRACE(kAxisNames[axis]);
        const std::vector<uint8_t> cells = RampAlong(axis);
        const NoiseTableStats stats = MeasureNoiseTable(cells.data());
        EXPECT_EQ(stats.minCell, 0);
        EXPECT_EQ(stats.maxCell, 240);
        EXPECT_DOUBLE_EQ(stats.mean, 120.0);
        // 15 steps of 16 and the wrap back from 240 to 0.
        EXPECT_DOUBLE_EQ(stats.axisDifference[axis][0], (15 * 16 + 240) / 16.0);
        EXPECT_DOUBLE_EQ(stats.axisDifference[axis][1], (14 * 32 + 2 * 224) / 16.0);
        EXPECT_DOUBLE_EQ(stats.axisDifference[axis][3], 128.0);
        EXPECT_DOUBLE_EQ(stats.wrapStep[axis], 240.0);
        for (int other = 0; other < 4; ++other)
            if (other != axis) {
                EXPECT_EQ(stats.axisDifference[other][0], 0.0) << kAxisNames[other];
                EXPECT_EQ(stats.wrapStep[other], 0.0) << kAxisNames[other];
            }
        // Sixteen equal levels 16 apart: sum over level pairs of |a - b| is
        // 16 * 680, over 4096 * 4096 cell pairs each.
        EXPECT_NEAR(stats.unrelatedDifference, 4096.0 * 4096.0 * 16 * 680 / (65536.0 * 65535 / 2),
                    1e-9);
    }
}

class StoredNoiseTable : public ::testing::TestWithParam<TableTarget> {
  protected:
    void SetUp() override {
        file = ReadTableFile(GetParam().id);
        ASSERT_EQ(file.size(), kFileSize) << "noise_" << GetParam().id << ".dat";
        stats = MeasureNoiseTable(file.data() + kHeaderSize);
    }
    std::vector<uint8_t> file;
    NoiseTableStats stats{};
};

TEST_P(StoredNoiseTable, HeaderDeclaresSixteenCellsPerAxisAndLengthPlusOne) {
    const uint8_t expected[kHeaderSize] = {'P', 'E', 'R', 'L',  'I', 'N', 'D', 'A', 'T',
                                           'A', 0,   16,  0,    16,  0,   16,  0,   16,
                                           0,   1,   0,   0x1B, 0,   0,   0,   0};
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + kHeaderSize),
              std::vector<uint8_t>(expected, expected + kHeaderSize));
}

TEST_P(StoredNoiseTable, RangeMeanAndDeviationMatchTheTable) {
    const TableTarget& target = GetParam();
    EXPECT_EQ(stats.minCell, target.minCell);
    EXPECT_EQ(stats.maxCell, target.maxCell);
    EXPECT_NEAR(stats.mean, target.mean, 0.01);
    EXPECT_NEAR(stats.deviation, target.deviation, 0.01);
    EXPECT_NEAR(stats.mean / 255.0 * 2.0 - 1.0, target.convertedMean, 0.0005);
}

TEST_P(StoredNoiseTable, DifferencesGrowWithDistanceOnEveryAxis) {
    const double low[4] = {18, 23, 26, 28};
    const double high[4] = {20, 26, 29, 32};
    for (int axis = 0; axis < 4; ++axis) {
        SCOPED_TRACE(std::string("axis ") + kAxisNames[axis]);
        for (int d = 0; d < 4; ++d) {
            EXPECT_GE(stats.axisDifference[axis][d], low[d]) << "distance " << kDistances[d];
            EXPECT_LE(stats.axisDifference[axis][d], high[d]) << "distance " << kDistances[d];
        }
        // Almost seamless: a little rougher across the wrap than inside.
        EXPECT_GE(stats.wrapStep[axis], 20.0);
        EXPECT_LE(stats.wrapStep[axis], 22.0);
    }
    EXPECT_GE(stats.unrelatedDifference, 30.0);
    EXPECT_LE(stats.unrelatedDifference, 32.0);
}

INSTANTIATE_TEST_SUITE_P(Resources, StoredNoiseTable, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<TableTarget>& info) {
                             return "Table" + std::to_string(info.param.id);
                         });

} // namespace
