#pragma once

#include "core/wind/noise_table.h"

// The wind field at a point of the box and a phase: quadrilinear
// interpolation of the periodic table, a value in [-1, 1].
float SampleWind(const NoiseTable& table, Vec3 point, float phase);
