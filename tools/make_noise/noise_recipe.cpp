#include "noise_recipe.h"

// The spectrum, white share and seam set how rough each table is at one, two,
// four and eight cells' distance and across the wrap; the tail weight sets
// how far apart two unrelated cells lie on average for the given deviation.
// The seeds were picked among a few so that all four axes of a table come
// out alike.
// {id, seed, slope, knee, white, seamGap, min, max, mean, deviation, tailWeight}
const NoiseRecipe kNoiseRecipes[4] = {
    {129, 0x051A7E129ull, 4.25, 0.25, 0.20, 1.225, 69, 255, 170.35, 26.82, 0.8},
    {130, 0x251A7E130ull, 4.50, 0.25, 0.23, 1.225, 54, 255, 161.15, 27.81, 1.0},
    {131, 0x151A7E131ull, 4.25, 0.25, 0.24, 1.200, 38, 255, 155.71, 26.60, 0.5},
    {132, 0x351A7E132ull, 4.75, 0.25, 0.25, 1.225, 7, 221, 119.60, 28.41, 1.2},
};
