// The fixed scene that both platforms draw for the picture comparison: the
// core's own simulation from one seed, the same on Linux and under Wine.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/run/snow_run.h"
#include "platform/platform.h"

constexpr int32_t kSnapshotWidth = 640;
constexpr int32_t kSnapshotHeight = 480;

// 1080 flakes with fractal wind, 15 s of 10 ms ticks: most are out, spread
// through the box, some near and some far.
inline bool StartSnapshotRun(SnowRun& run) {
    const SnowRunChoice choice = {{0.2f, 0.5f, 1},
                                  kSnapshotWidth,
                                  kSnapshotHeight,
                                  PlatformResourceBytes,
                                  {nullptr, nullptr},
                                  1,
                                  2024,
                                  10,
                                  0};
    if (StartSnowRun(run, choice) != kSnowRunStarted) {
        return false;
    }
    for (int tick = 0; tick < 1500; ++tick) {
        StepSnowRun(run, 10);
    }
    BuildSnowRunVertices(run);
    return true;
}

// Grey levels, rows from the top, as a binary PGM.
inline bool WritePgm(const std::string& path, const std::vector<uint8_t>& grey, int32_t width,
                     int32_t height) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P5\n%d %d\n255\n", width, height);
    const bool written = std::fwrite(grey.data(), 1, grey.size(), file) == grey.size();
    return std::fclose(file) == 0 && written;
}
