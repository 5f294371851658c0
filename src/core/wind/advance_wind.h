#pragma once

#include "core/wind/noise_table.h"

// One tick of the wind, dt milliseconds long: the steady wind's gust walks (one
// random draw), and a field, when there is one, scrolls against the drift once
// and moves on in time by dt.
void AdvanceWind(NoiseTable& wind, float dt);
