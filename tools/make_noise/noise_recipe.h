// How one stored noise table is made: the seed and shape of its field, and the
// distribution of its cell bytes.
#pragma once

#include <cstdint>

struct NoiseRecipe {
    int resourceId;
    uint64_t seed;
    // The field's power falls with the frequency k (cycles per period) as
    // (k^2 + spectralKnee^2)^(-spectralSlope / 2).
    double spectralSlope;
    double spectralKnee;
    // The share of the field's variance that is white noise, uncorrelated
    // from cell to cell (the rest follows the power law).
    double whiteShare;
    // The step across the wrap, in sample spacings: 1 repeats seamlessly,
    // a little more makes the seam slightly rougher than the inside.
    double seamGap;
    // The cell bytes: exact smallest and largest cell, mean and standard
    // deviation, and the shape of the distribution (tailWeight 1 is normal,
    // more gives heavier tails, less lighter ones).
    int minCell;
    int maxCell;
    double mean;
    double deviation;
    double tailWeight;
};

// The four tables that the saver carries, resources 129 to 132.
extern const NoiseRecipe kNoiseRecipes[4];
