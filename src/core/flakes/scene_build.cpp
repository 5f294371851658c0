#include "core/flakes/scene_build.h"

#include <limits>
#include <new>

#include "core/math/random.h"
#include "resource_ids.h"
#include "core/wind/noise_table.h"

namespace {

NoiseCells ParseStoredTable(const SceneChoice& choice, int id) {
    ResourceBytes resource =
        choice.storedTable != nullptr ? choice.storedTable(id) : ResourceBytes{nullptr, 0};
    if (resource.data == nullptr ||
        resource.size > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        return {nullptr, 0, 0, 0, 0};
    }
    return ParseNoiseData(resource.data, static_cast<int32_t>(resource.size), choice.diagnostics);
}

} // namespace

int32_t FlakeCountForQuantity(float quantity) {
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

int32_t BuildSceneContents(FlakeScene& scene, const SceneChoice& choice) {
    FlakeSceneDesc desc = {choice.flakeCount, choice.viewWidth, choice.viewHeight, choice.speed,
                           nullptr};
    if (choice.fractalWind != 0) {
        // One of the stored tables, IDR_NOISE_FIRST .. IDR_NOISE_LAST.
        NoiseCells parsed = ParseStoredTable(choice, IDR_NOISE_FIRST - 1 + RandomInt(1, 4));
        if (parsed.cells != nullptr) {
            desc.table = &parsed;
            int32_t result = BuildFlakeScene(scene, desc, choice.diagnostics);
            ReleaseNoiseCells(parsed);
            return result;
        }
    }
    // No table: every flake sees the same steady wind, at half the speed.
    desc.speed = static_cast<float>(static_cast<double>(choice.speed) * 0.5);
    return BuildFlakeScene(scene, desc, choice.diagnostics);
}

int32_t BuildInitialScene(const SceneChoice& choice, TickClock*& tickClock,
                          FlakeScene*& flakeScene) {
    if (tickClock == nullptr) {
        tickClock = new (std::nothrow) TickClock();
        if (tickClock == nullptr) {
            return 1;
        }
        InitTickClock(*tickClock, kMaxStepMs);
        SeedRandom(tickClock->startTicks);
    }
    if (flakeScene != nullptr) {
        return 0;
    }
    flakeScene = new (std::nothrow) FlakeScene();
    if (flakeScene == nullptr) {
        return 1;
    }
    return BuildSceneContents(*flakeScene, choice) != 0 ? 1 : 0;
}
