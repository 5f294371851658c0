#include "sim_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kSimUsage[] =
    "usage: quillfrost-sim [--seed N] [--quantity P] [--speed P] [--fractal-wind 0|1] "
    "[--width W] [--height H] [--ticks T] [--step-ms M] [--dump] [--bench]";

namespace {
struct NumberOption {
    const char* name;
    uint64_t lo;
    uint64_t hi;
};

// A whole decimal number: digits only, no sign, no spaces.
bool ParseDecimal(const char* text, uint64_t& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    errno = 0;
    char* end = nullptr;
    unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0') {
        return false;
    }
    value = parsed;
    return true;
}
} // namespace

bool ParseSimOptions(int argc, const char* const* argv, SimOptions& options, std::string& error) {
    options = SimOptions{0, false, 50, 50, 1, 1024, 768, 1000, 10, false, false, false};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--dump") == 0) {
            options.dump = true;
            continue;
        }
        if (std::strcmp(arg, "--bench") == 0) {
            options.bench = true;
            continue;
        }
        if (std::strcmp(arg, "--help") == 0) {
            options.help = true;
            continue;
        }
        static const NumberOption kNumbers[] = {
            {"--seed", 0, 4294967295u}, {"--quantity", 0, 100},  {"--speed", 0, 100},
            {"--fractal-wind", 0, 1},   {"--width", 0, 32767},   {"--height", 0, 32767},
            {"--ticks", 0, 100000000},  {"--step-ms", 1, 40000},
        };
        const NumberOption* option = nullptr;
        for (const NumberOption& candidate : kNumbers) {
            if (std::strcmp(arg, candidate.name) == 0) {
                option = &candidate;
            }
        }
        if (option == nullptr) {
            error = std::string("unknown option '") + arg + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = std::string("missing value for '") + arg + "'";
            return false;
        }
        const char* text = argv[++i];
        uint64_t value = 0;
        if (!ParseDecimal(text, value)) {
            error = std::string("not a number for '") + arg + "': '" + text + "'";
            return false;
        }
        if (value < option->lo || value > option->hi) {
            error = std::string("out of range for '") + arg + "': '" + text + "' (" +
                    std::to_string(option->lo) + ".." + std::to_string(option->hi) + ")";
            return false;
        }
        std::string name = option->name;
        if (name == "--seed") {
            options.seed = static_cast<uint32_t>(value);
            options.seedGiven = true;
        } else if (name == "--quantity") {
            options.quantityPercent = static_cast<uint32_t>(value);
        } else if (name == "--speed") {
            options.speedPercent = static_cast<uint32_t>(value);
        } else if (name == "--fractal-wind") {
            options.fractalWind = static_cast<uint8_t>(value);
        } else if (name == "--width") {
            options.width = static_cast<int32_t>(value);
        } else if (name == "--height") {
            options.height = static_cast<int32_t>(value);
        } else if (name == "--ticks") {
            options.ticks = static_cast<uint32_t>(value);
        } else {
            options.stepMs = static_cast<uint32_t>(value);
        }
    }
    return true;
}
