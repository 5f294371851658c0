// The cell bytes of a table: a sorted set of 65536 bytes with the recipe's
// exact smallest and largest value, mean and standard deviation, handed out
// to the cells in the order of their field values (a monotone mapping, so
// the field's shape survives and only its histogram changes).
#pragma once

#include <cstdint>
#include <vector>

#include "noise_recipe.h"

struct ByteDistribution {
    std::vector<uint8_t> sortedBytes; // ascending
    bool converged;                   // mean and deviation met within 0.002
};

ByteDistribution BuildByteDistribution(const NoiseRecipe& recipe, int count);

// Gives the k-th smallest field value the k-th smallest byte (ties between
// equal field values go to the lower cell index first).
std::vector<uint8_t> MapFieldToBytes(const std::vector<double>& field,
                                     const std::vector<uint8_t>& sortedBytes);
