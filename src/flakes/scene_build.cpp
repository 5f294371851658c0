#include "flakes/scene_build.h"

#include <cstdlib>
#include <limits>
#include <new>

#include "flakes/random.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "wind/noise_table.h"

namespace {
// The stored noise tables are the resources 129 to 132.
constexpr int kFirstNoiseResource = 128;

// The scene cannot be built for lack of memory: the run ends at once.
[[noreturn]] void EndForLackOfMemory() {
    std::exit(-1);
}

NoiseCells ParseNoiseResource(int id) {
    ResourceBytes resource = PlatformResourceBytes(id);
    if (resource.data == nullptr ||
        resource.size > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        return {nullptr, 0, 0, 0, 0};
    }
    return ParseNoiseData(resource.data, static_cast<int32_t>(resource.size));
}
} // namespace

int32_t ParticleCount(float quantity) {
    // The settings hold 0..1; anything else (NaN too) is held to the nearest
    // end so that the count stays within 100 .. 5000.
    if (!(quantity >= 0.0f)) {
        quantity = 0.0f;
    }
    if (quantity > 1.0f) {
        quantity = 1.0f;
    }
    float scaled = static_cast<float>(static_cast<double>(quantity) * 4900.0 + 100.0);
    return static_cast<int32_t>(FloorFloat(scaled));
}

int32_t BuildSceneContents(FlakeScene& scene, int32_t clientWidth, int32_t clientHeight) {
    int32_t count = ParticleCount(gSettings.Quantity);
    if (gSettings.FractalWind != 0) {
        int id = kFirstNoiseResource + RandomInt(1, 4);
        NoiseCells parsed = ParseNoiseResource(id);
        if (parsed.cells != nullptr) {
            int32_t result =
                BuildFlakeScene(scene, count, clientWidth, clientHeight, parsed.sizeX, parsed.sizeY,
                                parsed.sizeZ, parsed.sizeT, parsed.cells, gSettings.Speed, 0);
            ReleaseNoiseCells(parsed);
            return result;
        }
    }
    // No table: every flake sees the same steady wind, at half the speed.
    float halfSpeed = static_cast<float>(static_cast<double>(gSettings.Speed) * 0.5);
    return BuildFlakeScene(scene, count, clientWidth, clientHeight, 0, 0, 0, 0, nullptr, halfSpeed,
                           1);
}

void BuildInitialScene(int32_t clientWidth, int32_t clientHeight, TickClock*& tickClock,
                       FlakeScene*& flakeScene) {
    if (tickClock == nullptr) {
        tickClock = new (std::nothrow) TickClock();
        if (tickClock == nullptr) {
            EndForLackOfMemory();
        }
        InitTickClock(*tickClock, kMaxStepMs);
        SeedRandom(tickClock->startTicks);
    }
    if (flakeScene != nullptr) {
        return;
    }
    flakeScene = new (std::nothrow) FlakeScene();
    if (flakeScene == nullptr) {
        EndForLackOfMemory();
    }
    if (BuildSceneContents(*flakeScene, clientWidth, clientHeight) != 0) {
        EndForLackOfMemory();
    }
}
