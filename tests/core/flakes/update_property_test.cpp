// Long random runs: whatever the elapsed times, every field stays finite and
// every released flake stays inside the box widened by its margin.
#include "core/flakes/update_flakes.h"

#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "core/math/random.h"
#include "core/wind/test_tables.h"

namespace {
struct RunCase {
    int32_t flakes;
    bool fractal;
    int updates;
};

bool Finite(Vec3 v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The first flake that breaks a rule, or -1. Plain comparisons: this runs for
// every flake after every update.
int32_t FirstBadFlake(const FlakeScene& scene) {
    // The margin as the update computes it: the bound plus 0.1, as a float.
    const float minX = static_cast<float>(scene.minX - 0.1);
    const float maxX = static_cast<float>(scene.maxX + 0.1);
    const float minY = static_cast<float>(scene.minY - 0.1);
    const float maxY = static_cast<float>(scene.maxY + 0.1);
    const float minZ = static_cast<float>(scene.minZ - 0.1);
    const float maxZ = static_cast<float>(scene.maxZ + 0.1);
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        const Flake& f = scene.flakes[i];
        bool finite = Finite(f.position) && Finite(f.velocity) && std::isfinite(f.angle) &&
                      std::isfinite(f.size) && std::isfinite(f.mass) && std::isfinite(f.flutter) &&
                      std::isfinite(f.spinRate) && std::isfinite(f.terminalSpeed) &&
                      std::isfinite(f.invTerminalSpeedSq);
        if (!finite) {
            return i;
        }
        if (f.active == 0) {
            continue;
        }
        const Vec3 p = f.position;
        if (!(p.x >= minX && p.x <= maxX && p.y >= minY && p.y <= maxY && p.z >= minZ &&
              p.z <= maxZ)) {
            return i;
        }
    }
    return -1;
}

void CheckScene(const FlakeScene& scene, int update) {
    int32_t bad = FirstBadFlake(scene);
    if (bad >= 0) {
        const Flake& f = scene.flakes[bad];
        FAIL() << "update " << update << ", flake " << bad << " at (" << f.position.x << ", "
               << f.position.y << ", " << f.position.z << ") moving (" << f.velocity.x << ", "
               << f.velocity.y << ", " << f.velocity.z << ")";
    }
    const NoiseTable& w = scene.wind;
    ASSERT_TRUE(std::isfinite(w.gust) && std::fabs(w.gust) <= 1.0f);
    ASSERT_TRUE(std::isfinite(w.gustRate) && std::fabs(w.gustRate) <= 1.0f);
    ASSERT_TRUE(Finite(w.drift));
    if (w.plainWind == 0) {
        ASSERT_TRUE(w.phase >= 0.0f && w.phase <= 1.0f);
        ASSERT_TRUE(w.offset.x >= 0.0f && w.offset.x <= 1.0f);
        ASSERT_TRUE(w.offset.y >= 0.0f && w.offset.y <= 1.0f);
        ASSERT_TRUE(w.offset.z >= 0.0f && w.offset.z <= 1.0f);
    }
}

void RunUpdates(const RunCase& run, uint32_t seed) {
    std::vector<unsigned char> cells = RandomCells(16 * 16 * 16 * 16, seed);
    FlakeScene scene{};
    SeedRandom(seed);
    const NoiseCells table = TableOf(cells, 16, 16, 16, 16);
    int32_t result = run.fractal
                         ? BuildFlakeScene(scene, {run.flakes, 1024, 768, 1.0f, &table}, kQuiet)
                         : BuildFlakeScene(scene, {run.flakes, 1024, 768, 0.5f, nullptr}, kQuiet);
    ASSERT_EQ(result, 0);

    // Elapsed times from 1 to 40000 ms: half of them frame-like, half anything.
    std::mt19937 generator(seed);
    std::uniform_int_distribution<uint32_t> small(1, 50);
    std::uniform_int_distribution<uint32_t> any(1, 40000);
    for (int n = 0; n < run.updates; ++n) {
        uint32_t ms = (generator() & 1) ? small(generator) : any(generator);
        UpdateFlakes(scene, ms * 1000);
        CheckScene(scene, n);
        if (testing::Test::HasFatalFailure()) {
            break;
        }
    }
    ReleaseFlakeScene(scene);
}
} // namespace

TEST(UpdateProperty, FewFlakesFractalWind) {
    RunUpdates({100, true, 10000}, 17);
}
TEST(UpdateProperty, FewFlakesPlainWind) {
    RunUpdates({100, false, 10000}, 18);
}
TEST(UpdateProperty, ManyFlakesFractalWind) {
    RunUpdates({5000, true, 1500}, 19);
}
TEST(UpdateProperty, ManyFlakesPlainWind) {
    RunUpdates({5000, false, 1500}, 20);
}
