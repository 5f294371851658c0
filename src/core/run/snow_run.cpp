#include "core/run/snow_run.h"

#include <new>

#include "core/flakes/scene_build.h"
#include "core/flakes/update_flakes.h"
#include "core/math/random.h"

int32_t StartSnowRun(SnowRun& run, const SnowRunChoice& choice) {
    run = SnowRun{nullptr, nullptr, nullptr, 0, {}, 0};
    InitStepFilter(run.steps, choice.frameWaitMs);
    if (choice.seedGiven) {
        // A clock made here is not asked for a seed.
        run.tickClock = new (std::nothrow) TickClock();
        if (run.tickClock == nullptr) {
            return kSnowRunNoMemoryForTheScene;
        }
        InitTickClock(*run.tickClock, kMaxStepMs);
        SeedRandom(choice.seed);
    }
    const SceneChoice scene = {FlakeCountForQuantity(choice.settings.Quantity),
                               choice.viewWidth,
                               choice.viewHeight,
                               choice.settings.Speed,
                               choice.settings.FractalWind,
                               choice.storedTable,
                               choice.diagnostics};
    if (BuildInitialScene(scene, run.tickClock, run.flakeScene) != 0) {
        return kSnowRunNoMemoryForTheScene;
    }
    if (choice.uprightLikeLandscape != 0) {
        run.flakeScene->uprightLikeLandscape = 1;
        SetFlakeSceneView(*run.flakeScene, choice.viewWidth, choice.viewHeight);
    }
    // Left uninitialised: the vertex build writes every vertex before use.
    const size_t capacity = FlakeVertexCapacity(run.flakeScene->flakeCount);
    run.vertices = capacity > 0 ? new (std::nothrow) FlakeVertex[capacity] : nullptr;
    if (run.vertices == nullptr) {
        return kSnowRunNoMemoryForVertices;
    }
    run.vertexCapacity = capacity;
    return kSnowRunStarted;
}

void StepSnowRun(SnowRun& run, uint32_t elapsedMs) {
    if (run.flakeScene == nullptr) {
        return;
    }
    const uint32_t stepMs = elapsedMs < 1 ? 1 : elapsedMs > kMaxStepMs ? kMaxStepMs : elapsedMs;
    UpdateFlakes(*run.flakeScene, stepMs * 1000u);
}

namespace {
// kSnowRunSettledMs for the scene's box.
uint32_t SettledMs(const FlakeScene& scene) {
    const double height = (static_cast<double>(scene.maxY) - scene.minY) / 1.9;
    return height > 1.0 ? static_cast<uint32_t>(kSnowRunSettledMs * height) : kSnowRunSettledMs;
}
} // namespace

bool StepSnowRunAhead(SnowRun& run, uint32_t maxSteps) {
    const FlakeScene* scene = run.flakeScene;
    // The flakes are released in their order: the last one out is the last.
    const auto ahead = [&run, scene] {
        return scene == nullptr || scene->flakeCount == 0 ||
               (run.aheadMs >= SettledMs(*scene) && scene->flakes[scene->flakeCount - 1].active);
    };
    for (uint32_t step = 0; step < maxSteps && !ahead(); ++step) {
        StepSnowRun(run, kSnowRunAheadStepMs);
        run.aheadMs += kSnowRunAheadStepMs;
    }
    return ahead();
}

uint32_t TickSnowRun(SnowRun& run, bool resumed) {
    if (run.tickClock == nullptr) {
        return 0;
    }
    UpdateTickClock(*run.tickClock);
    const uint32_t stepMs = FilterStep(run.steps, run.tickClock->stepMs, resumed);
    StepSnowRun(run, stepMs);
    return stepMs;
}

const FlakeVertex* BuildSnowRunVertices(SnowRun& run) {
    if (run.flakeScene != nullptr && run.vertices != nullptr) {
        BuildFlakeVertices(*run.flakeScene, run.vertices);
    }
    return run.vertices;
}

size_t SnowRunVertexCount(const SnowRun& run) {
    return run.flakeScene != nullptr && run.vertices != nullptr
               ? static_cast<size_t>(run.flakeScene->flakeCount) * kVerticesPerFlake
               : 0;
}

void ResizeSnowRun(SnowRun& run, int32_t viewWidth, int32_t viewHeight) {
    if (run.flakeScene != nullptr) {
        SetFlakeSceneView(*run.flakeScene, viewWidth, viewHeight);
    }
}

void EndSnowRun(SnowRun& run) {
    delete run.tickClock;
    run.tickClock = nullptr;
    if (run.flakeScene != nullptr) {
        ReleaseFlakeScene(*run.flakeScene);
        delete run.flakeScene;
        run.flakeScene = nullptr;
    }
    delete[] run.vertices;
    run.vertices = nullptr;
    run.vertexCapacity = 0;
    run.aheadMs = 0;
}
