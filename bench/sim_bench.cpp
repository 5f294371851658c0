// The CPU side of a frame: the motion update with fractal and with plain
// wind, one wind sample, and the vertex build, at the largest flake count;
// and the run moved ahead before its first frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "core/run/snow_run.h"
#include "core/wind/sample_wind.h"
#include "platform/platform.h"

namespace {
constexpr int32_t kFlakes = 5000;
constexpr uint32_t kFrameMs = 10;

// A run of 5000 flakes in steady state, started as the saver starts one:
// every flake released (one each 10 ms) and 20 s of motion behind them, so
// that they are spread through the box.
struct SteadyRun {
    SnowRun run{};

    explicit SteadyRun(bool fractal) {
        const SnowRunChoice choice = {{1.0f, 0.5f, static_cast<uint8_t>(fractal ? 1 : 0)},
                                      1280,
                                      1024,
                                      PlatformResourceBytes,
                                      {nullptr, nullptr},
                                      1,
                                      2024,
                                      10,
                                      0};
        if (StartSnowRun(run, choice) != kSnowRunStarted || run.flakeScene->flakeCount != kFlakes) {
            std::fprintf(stderr, "sim_bench: the run of %d flakes cannot be started\n", kFlakes);
            std::exit(1);
        }
        for (int n = 0; n < 3500; ++n) {
            StepSnowRun(run, 20);
        }
    }
    ~SteadyRun() { EndSnowRun(run); }
    const FlakeScene& Scene() const { return *run.flakeScene; }
};

// A run moved ahead before its first frame, as the hack and the page start
// one: at Quantity 50 (the default, 2550 flakes) and 100 (5000 flakes).
void BM_StepSnowRunAhead(benchmark::State& state) {
    const float quantity = static_cast<float>(state.range(0)) / 100.0f;
    const SnowRunChoice choice = {
        {quantity, 0.5f, 1}, 1024, 768, PlatformResourceBytes, {nullptr, nullptr}, 1, 2024, 10, 0};
    for (auto _ : state) {
        state.PauseTiming();
        SnowRun run{};
        if (StartSnowRun(run, choice) != kSnowRunStarted) {
            state.SkipWithError("the run cannot be started");
            break;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(StepSnowRunAhead(run, UINT32_MAX));
        state.PauseTiming();
        EndSnowRun(run);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StepSnowRunAhead)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

void PerFlake(benchmark::State& state, int64_t flakesPerIteration) {
    state.SetItemsProcessed(state.iterations() * flakesPerIteration);
    // Seconds per flake, shown with its SI prefix (n for nanoseconds).
    state.counters["per_flake"] =
        benchmark::Counter(static_cast<double>(state.iterations() * flakesPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_UpdateFlakesFractal(benchmark::State& state) {
    SteadyRun steady(true);
    for (auto _ : state) {
        StepSnowRun(steady.run, kFrameMs);
        benchmark::ClobberMemory();
    }
    PerFlake(state, kFlakes);
}
BENCHMARK(BM_UpdateFlakesFractal);

void BM_UpdateFlakesPlain(benchmark::State& state) {
    SteadyRun steady(false);
    for (auto _ : state) {
        StepSnowRun(steady.run, kFrameMs);
        benchmark::ClobberMemory();
    }
    PerFlake(state, kFlakes);
}
BENCHMARK(BM_UpdateFlakesPlain);

void BM_SampleWind(benchmark::State& state) {
    SteadyRun steady(true);
    const FlakeScene& scene = steady.Scene();
    int32_t i = 0;
    for (auto _ : state) {
        float s = SampleWind(scene.wind, scene.flakes[i].position, scene.wind.phase);
        benchmark::DoNotOptimize(s);
        i = i + 1 == kFlakes ? 0 : i + 1;
    }
    PerFlake(state, 1);
}
BENCHMARK(BM_SampleWind);

void BM_BuildFlakeVertices(benchmark::State& state) {
    SteadyRun steady(true);
    for (auto _ : state) {
        BuildSnowRunVertices(steady.run);
        benchmark::ClobberMemory();
    }
    PerFlake(state, kFlakes);
}
BENCHMARK(BM_BuildFlakeVertices);
} // namespace

BENCHMARK_MAIN();
