// The process-wide random generator (the 15-bit linear congruential sequence
// of the Windows C runtime's rand) and its range operations.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);
// lo + draw % (hi - lo + 1) when lo < hi; otherwise lo, without drawing.
int32_t RandomInt(int32_t lo, int32_t hi);
// lo + draw * (hi - lo) / 32767 when lo < hi; otherwise (NaN too) lo, without drawing.
float RandomRange(float lo, float hi);
// The floor of x, computed in double precision.
float FloorFloat(float x);
