// quillfrost-sim: the snow simulation without a screen. Builds the scene as
// the saver does, runs a number of fixed steps, and prints the state or the
// time the steps took.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "core/run/snow_run.h"
#include "core/settings/settings.h"
#include "sim_options.h"

namespace {
constexpr int kBadArguments = 2;
constexpr int kFailed = 1;

double Median(std::vector<double>& samples) {
    if (samples.empty()) {
        return 0.0;
    }
    size_t middle = samples.size() / 2;
    std::nth_element(samples.begin(), samples.begin() + middle, samples.end());
    double upper = samples[middle];
    if (samples.size() % 2 == 1) {
        return upper;
    }
    double lower = *std::max_element(samples.begin(), samples.begin() + middle);
    return (lower + upper) / 2.0;
}

// The run as the saver starts it, from the given seed or the clock's.
// Standard output, which the dump owns, carries nothing else: the parser's
// account of a table is not reported at all.
int32_t StartRun(SnowRun& run, const SimOptions& options) {
    const Settings settings = {PercentToFraction(ClampStoredPercent(options.quantityPercent)),
                               PercentToFraction(ClampStoredPercent(options.speedPercent)),
                               options.fractalWind};
    const SnowRunChoice choice = {settings,
                                  options.width,
                                  options.height,
                                  PlatformResourceBytes,
                                  {nullptr, nullptr},
                                  static_cast<uint8_t>(options.seedGiven ? 1 : 0),
                                  options.seed,
                                  options.stepMs,
                                  0};
    return StartSnowRun(run, choice);
}

void Dump(const FlakeScene& scene) {
    const NoiseTable& w = scene.wind;
    std::printf("wind %d %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", w.plainWind, w.gust,
                w.gustRate, w.windSpeed, w.phase, w.offset.x, w.offset.y, w.offset.z, w.drift.x);
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        const Flake& f = scene.flakes[i];
        std::printf("flake %d %d %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", i,
                    f.active, f.position.x, f.position.y, f.position.z, f.velocity.x, f.velocity.y,
                    f.velocity.z, f.angle, f.size, f.mass, f.flutter, f.spinRate, f.terminalSpeed);
    }
}
} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quillfrost-sim: %s\n%s\n", error.c_str(), kSimUsage);
        return kBadArguments;
    }
    if (options.help) {
        std::printf("%s\n", kSimUsage);
        return 0;
    }

    SnowRun run = {};
    if (StartRun(run, options) != kSnowRunStarted) {
        std::fprintf(stderr, "quillfrost-sim: out of memory building the scene\n");
        EndSnowRun(run);
        return kFailed;
    }
    const FlakeScene* scene = run.flakeScene;

    std::vector<double> updateNs;
    std::vector<double> vertexNs;
    if (options.bench) {
        updateNs.reserve(options.ticks);
        vertexNs.reserve(options.ticks);
    }
    using Clock = std::chrono::steady_clock;
    for (uint32_t tick = 0; tick < options.ticks; ++tick) {
        if (!options.bench) {
            StepSnowRun(run, options.stepMs);
            continue;
        }
        Clock::time_point start = Clock::now();
        StepSnowRun(run, options.stepMs);
        Clock::time_point updated = Clock::now();
        BuildSnowRunVertices(run);
        Clock::time_point built = Clock::now();
        updateNs.push_back(std::chrono::duration<double, std::nano>(updated - start).count());
        vertexNs.push_back(std::chrono::duration<double, std::nano>(built - updated).count());
    }

    if (options.bench) {
        double flakes = scene->flakeCount > 0 ? scene->flakeCount : 1;
        std::printf("flakes %d\n", scene->flakeCount);
        std::printf("update_ns_per_flake %.3f\n", Median(updateNs) / flakes);
        std::printf("vertices_ns_per_flake %.3f\n", Median(vertexNs) / flakes);
    }
    errno = 0;
    if (options.dump) {
        Dump(*scene);
    }
    EndSnowRun(run);
    // What was printed must have reached its file: a full disk or a closed
    // pipe is a failure, not a finished run.
    const bool flushed = std::fflush(stdout) == 0;
    const int writeError = errno;
    if (!flushed || std::ferror(stdout)) {
        std::fprintf(stderr, "quillfrost-sim: cannot write the output%s%s\n",
                     writeError ? ": " : "", writeError ? std::strerror(writeError) : "");
        return kFailed;
    }
    return 0;
}
