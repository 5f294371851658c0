// The command line of quillfrost-sim.
#pragma once

#include <cstdint>
#include <string>

struct SimOptions {
    uint32_t seed;
    bool seedGiven; // without --seed the tick count seeds the generator
    uint32_t quantityPercent;
    uint32_t speedPercent;
    uint8_t fractalWind; // the FractalWind setting, 0 or 1
    int32_t width;
    int32_t height;
    uint32_t ticks;
    uint32_t stepMs;
    bool dump;
    bool bench;
    bool help;
};

extern const char kSimUsage[];

// Fills options from argv; on a bad argument returns false with a one-line
// message naming it in error.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions& options, std::string& error);
