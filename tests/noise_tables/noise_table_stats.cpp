#include "noise_table_stats.h"

#include <cmath>
#include <cstdlib>

namespace {

// Index steps of x, y, z and t in the cell order.
constexpr int kAxisStride[4] = {1, kTableSize* kTableSize, kTableSize,
                                kTableSize* kTableSize* kTableSize};

int AxisIndex(int cell, int axis) {
    return (cell / kAxisStride[axis]) % kTableSize;
}

// The cell `distance` steps further along the axis, around the wrap.
int Neighbour(int cell, int axis, int distance) {
    const int index = AxisIndex(cell, axis);
    const int moved = (index + distance) % kTableSize;
    return cell + (moved - index) * kAxisStride[axis];
}

} // namespace

NoiseTableStats MeasureNoiseTable(const uint8_t* cells) {
    NoiseTableStats stats{};
    long long histogram[256] = {};
    double sum = 0.0;
    for (int i = 0; i < kTableCells; ++i) {
        ++histogram[cells[i]];
        sum += cells[i];
    }
    stats.mean = sum / kTableCells;
    double squares = 0.0;
    for (int i = 0; i < kTableCells; ++i)
        squares += (cells[i] - stats.mean) * (cells[i] - stats.mean);
    stats.deviation = std::sqrt(squares / kTableCells);
    stats.minCell = 0;
    while (histogram[stats.minCell] == 0)
        ++stats.minCell;
    stats.maxCell = 255;
    while (histogram[stats.maxCell] == 0)
        --stats.maxCell;

    for (int axis = 0; axis < 4; ++axis) {
        for (int d = 0; d < 4; ++d) {
            long long total = 0;
            for (int i = 0; i < kTableCells; ++i)
                total += std::abs(cells[i] - cells[Neighbour(i, axis, kDistances[d])]);
            stats.axisDifference[axis][d] = static_cast<double>(total) / kTableCells;
        }
        long long wrapTotal = 0;
        int wrapPairs = 0;
        for (int i = 0; i < kTableCells; ++i)
            if (AxisIndex(i, axis) == kTableSize - 1) {
                wrapTotal += std::abs(cells[i] - cells[Neighbour(i, axis, 1)]);
                ++wrapPairs;
            }
        stats.wrapStep[axis] = static_cast<double>(wrapTotal) / wrapPairs;
    }

    // Sum over all unordered pairs of |a - b|, from the histogram.
    long double pairTotal = 0;
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            pairTotal += static_cast<long double>(histogram[a]) * histogram[b] * (b - a);
    const long double pairs = static_cast<long double>(kTableCells) * (kTableCells - 1) / 2;
    stats.unrelatedDifference = static_cast<double>(pairTotal / pairs);
    return stats;
}
