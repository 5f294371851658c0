// Statistics of a 16 x 16 x 16 x 16 table of noise cells, as the wind field
// relies on them: range, mean and spread, and how the cells differ with
// their distance along each axis.
#pragma once

#include <cstdint>

constexpr int kTableSize = 16;
constexpr int kTableCells = kTableSize * kTableSize * kTableSize * kTableSize;
// The distances whose mean differences are measured, and the axes x, y, z, t.
constexpr int kDistances[4] = {1, 2, 4, 8};
constexpr char kAxisNames[4] = {'x', 'y', 'z', 't'};

struct NoiseTableStats {
    int minCell;
    int maxCell;
    double mean;
    double deviation; // over the whole table (population)
    // Mean |a - b| over all pairs of cells kDistances[d] apart along the
    // axis, counted around the wrap: [axis][d].
    double axisDifference[4][4];
    // Mean |a - b| between the cell at index 15 and the one at index 0.
    double wrapStep[4];
    // Mean |a - b| over all pairs of distinct cells.
    double unrelatedDifference;
};

// cells: cell (x, y, z, t) at x + 16 * (z + 16 * (y + 16 * t)).
NoiseTableStats MeasureNoiseTable(const uint8_t* cells);
