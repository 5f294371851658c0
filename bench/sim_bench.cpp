// The CPU side of a frame: the motion update with fractal and with plain
// wind, one wind sample, and the vertex build, at the largest flake count.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/flakes/update_flakes.h"
#include "core/math/random.h"
#include "platform/platform.h"
#include "core/view/flake_vertices.h"
#include "core/wind/noise_table.h"
#include "resource_ids.h"
#include "core/wind/sample_wind.h"

namespace {
constexpr int32_t kFlakes = 5000;
constexpr uint32_t kFrameMicroseconds = 10 * 1000;

// The first stored table when the build carries it, else one of random bytes
// with the stored sizes.
std::vector<unsigned char> TableCells() {
    ResourceBytes stored = PlatformResourceBytes(IDR_NOISE_FIRST);
    if (stored.data != nullptr) {
        NoiseCells parsed =
            ParseNoiseData(stored.data, static_cast<int32_t>(stored.size), {nullptr, nullptr});
        if (parsed.cells != nullptr && parsed.sizeX == 16 && parsed.sizeY == 16 &&
            parsed.sizeZ == 16 && parsed.sizeT == 16) {
            std::vector<unsigned char> cells(parsed.cells, parsed.cells + 65536);
            ReleaseNoiseCells(parsed);
            return cells;
        }
        ReleaseNoiseCells(parsed);
    }
    std::mt19937 generator(129);
    std::vector<unsigned char> cells(65536);
    for (auto& c : cells) {
        c = static_cast<unsigned char>(generator());
    }
    return cells;
}

// A scene of 5000 flakes in steady state: all released, and 20 s of motion
// behind them so that they are spread through the box.
struct SteadyScene {
    FlakeScene scene{};
    std::vector<unsigned char> cells;

    explicit SteadyScene(bool fractal) {
        cells = TableCells();
        SeedRandom(2024);
        const NoiseCells table = {cells.data(), 16, 16, 16, 16};
        if (fractal) {
            BuildFlakeScene(scene, {kFlakes, 1280, 1024, 0.5f, &table}, {nullptr, nullptr});
        } else {
            BuildFlakeScene(scene, {kFlakes, 1280, 1024, 0.25f, nullptr}, {nullptr, nullptr});
        }
        for (int32_t i = 0; i < scene.flakeCount; ++i) {
            scene.flakes[i].active = 1;
        }
        scene.releaseClockMs = (kFlakes + 1) * scene.releaseIntervalMs;
        for (int n = 0; n < 1000; ++n) {
            UpdateFlakes(scene, 20 * 1000);
        }
    }
    ~SteadyScene() { ReleaseFlakeScene(scene); }
};

void PerFlake(benchmark::State& state, int64_t flakesPerIteration) {
    state.SetItemsProcessed(state.iterations() * flakesPerIteration);
    // Seconds per flake, shown with its SI prefix (n for nanoseconds).
    state.counters["per_flake"] =
        benchmark::Counter(static_cast<double>(state.iterations() * flakesPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_UpdateFlakesFractal(benchmark::State& state) {
    SteadyScene steady(true);
    for (auto _ : state) {
        UpdateFlakes(steady.scene, kFrameMicroseconds);
        benchmark::ClobberMemory();
    }
    PerFlake(state, kFlakes);
}
BENCHMARK(BM_UpdateFlakesFractal);

void BM_UpdateFlakesPlain(benchmark::State& state) {
    SteadyScene steady(false);
    for (auto _ : state) {
        UpdateFlakes(steady.scene, kFrameMicroseconds);
        benchmark::ClobberMemory();
    }
    PerFlake(state, kFlakes);
}
BENCHMARK(BM_UpdateFlakesPlain);

void BM_SampleWind(benchmark::State& state) {
    SteadyScene steady(true);
    const FlakeScene& scene = steady.scene;
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
    SteadyScene steady(true);
    std::vector<FlakeVertex> vertices(static_cast<size_t>(kFlakes) * 8);
    for (auto _ : state) {
        BuildFlakeVertices(steady.scene, vertices.data());
        benchmark::ClobberMemory();
    }
    PerFlake(state, kFlakes);
}
BENCHMARK(BM_BuildFlakeVertices);
} // namespace

BENCHMARK_MAIN();
