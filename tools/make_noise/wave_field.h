// A periodic four-dimensional random field on 16 samples per axis, made by
// spectral synthesis: waves of every frequency up to 7 cycles per period,
// each with its power from the recipe's spectrum and a random phase.
#pragma once

#include <vector>

#include "noise_recipe.h"

constexpr int kNoiseSize = 16;
constexpr int kNoiseCells = kNoiseSize * kNoiseSize * kNoiseSize * kNoiseSize;

// The field's values in the table's cell order: cell (x, y, z, t) at
// x + 16 * (z + 16 * (y + 16 * t)).
std::vector<double> SynthesizeField(const NoiseRecipe& recipe);
