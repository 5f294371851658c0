// The three user settings as fractions k/100, and the conversions from and to
// the whole percentages they are stored and given as.
#pragma once

#include <cstdint>

struct Settings {
    float Quantity;      // how many flakes, 0..1 (100 flakes at 0, 5000 at 1)
    float Speed;         // wind strength, 0..1
    uint8_t FractalWind; // 1: the wind is sampled from a noise table; 0: plain drift
};

// The registry stores whole percentages; these are the only conversions.
constexpr uint32_t kDefaultPercent = 50;

// A stored percentage as read from the registry: above 100 (unsigned, so every
// negative number too) becomes the default 50.
uint32_t ClampStoredPercent(uint32_t stored);

// k/100 as the single-precision float nearest to it.
float PercentToFraction(uint32_t percent);

// The fraction times 100, rounded to the nearest integer: the exact inverse of
// PercentToFraction on 0..100.
uint32_t FractionToPercent(float fraction);

// A stored FractalWind integer: on when its lowest-order byte is non-zero.
uint8_t StoredFlagToBool(uint32_t stored);
