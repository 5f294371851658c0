#include "core/flakes/flake_scene.h"

#include <cmath>
#include <new>

#include "core/math/random.h"

namespace {
// The half width of the box for a view; a view without height (a collapsed
// preview) gets the box of a square view rather than an infinite one.
float HalfWidth(int32_t viewWidth, int32_t viewHeight) {
    if (viewHeight <= 0) {
        return 0.7f;
    }
    float scaledWidth = static_cast<float>(static_cast<double>(viewWidth) * 0.7);
    return static_cast<float>(static_cast<double>(scaledWidth) / viewHeight);
}

// The view and the box for it.
void SetView(FlakeScene& scene, int32_t viewWidth, int32_t viewHeight) {
    scene.viewWidth = viewWidth;
    scene.viewHeight = viewHeight;
    if (scene.uprightLikeLandscape != 0 && viewWidth > 0 && viewWidth < viewHeight) {
        // The drawing maps the box's height h to -2 h^2 .. 1.8 h^2 and its
        // width as the square of it too: h = 1.9 k reaches as far above and
        // below as a landscape view k times as wide reaches to the sides.
        const double k = static_cast<double>(viewHeight) / viewWidth;
        const float r = HalfWidth(viewWidth, viewWidth);
        scene.minX = static_cast<float>(0.5 - r);
        scene.maxX = static_cast<float>(0.5 + r);
        scene.minY = static_cast<float>(0.5 - k);
        scene.maxY = static_cast<float>(0.5 + 0.9 * k);
        return;
    }
    float r = HalfWidth(viewWidth, viewHeight);
    scene.minX = static_cast<float>(0.5 - r);
    scene.maxX = static_cast<float>(0.5 + r);
    scene.minY = -0.5f;
    scene.maxY = 1.4f;
}

// One flake every floor(20000 / count) ms, never faster than one per 10 ms.
uint32_t ReleaseInterval(int32_t flakeCount) {
    if (flakeCount <= 0) {
        return 20000; // nothing to release; the interval of a single flake
    }
    uint32_t interval = static_cast<uint32_t>(std::floor(20000.0 / flakeCount));
    return interval < 10u ? 10u : interval;
}
} // namespace

int32_t BuildFlakeScene(FlakeScene& scene, const FlakeSceneDesc& desc,
                        const Diagnostics& diagnostics) {
    // Nothing owned yet: a scene whose flakes cannot be made releases safely.
    scene.wind.values = nullptr;

    scene.uprightLikeLandscape = 0;
    SetView(scene, desc.viewWidth, desc.viewHeight);
    scene.minZ = 0.0f;
    scene.maxZ = 1.0f;

    int32_t result = CreateFlakes(scene, desc.flakeCount, scene.minX, scene.maxX, scene.minY,
                                  scene.maxY, scene.minZ, scene.maxZ);
    if (result != 0) {
        return result;
    }
    result = InitNoiseTable(scene.wind, desc.table, desc.speed, diagnostics);
    if (result != 0) {
        return result;
    }
    scene.dragCoefficient = 0.000000004f;
    scene.gravity = Vec3Scale(Vec3UnitY(), -0.000000004f);
    scene.releaseClockMs = 0;
    scene.releaseIntervalMs = ReleaseInterval(desc.flakeCount);
    return 0;
}

void SetFlakeSceneView(FlakeScene& scene, int32_t viewWidth, int32_t viewHeight) {
    const double oldMinX = scene.minX;
    const double oldWidth = static_cast<double>(scene.maxX) - scene.minX;
    const double oldMinY = scene.minY;
    const double oldHeight = static_cast<double>(scene.maxY) - scene.minY;
    SetView(scene, viewWidth, viewHeight);
    if (!(oldWidth > 0.0) || !(oldHeight > 0.0)) {
        return;
    }
    // Every flake, waiting or falling, keeps its share of the box's width
    // and height; the depth is the same.
    const double scaleX = (static_cast<double>(scene.maxX) - scene.minX) / oldWidth;
    const bool sameHeight = scene.minY == oldMinY && scene.maxY - scene.minY == oldHeight;
    const double scaleY = (static_cast<double>(scene.maxY) - scene.minY) / oldHeight;
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        Flake& flake = scene.flakes[i];
        flake.position.x = static_cast<float>(scene.minX + (flake.position.x - oldMinX) * scaleX);
        if (!sameHeight) {
            flake.position.y =
                static_cast<float>(scene.minY + (flake.position.y - oldMinY) * scaleY);
        }
    }
}

int32_t CreateFlakes(FlakeScene& scene, int32_t flakeCount, float minX, float maxX, float minY,
                     float maxY, float minZ, float maxZ) {
    scene.flakeCount = 0;
    scene.flakes = nullptr;
    if (flakeCount < 0) {
        return 1;
    }
    if (flakeCount == 0) {
        return 0;
    }
    Flake* flakes = new (std::nothrow) Flake[static_cast<size_t>(flakeCount)];
    if (flakes == nullptr) {
        return 1;
    }
    scene.flakeCount = flakeCount;
    scene.flakes = flakes;
    for (int32_t i = 0; i < flakeCount; ++i) {
        InitFlake(flakes[i], minX, maxX, minY, maxY, minZ, maxZ);
    }
    return 0;
}

void InitFlake(Flake& flake, float minX, float maxX, float /*minY*/, float maxY, float minZ,
               float maxZ) {
    float z = RandomRange(minZ, maxZ);
    float x = RandomRange(minX, maxX);
    flake.size = RandomRange(0.02f, 0.05f);
    flake.flutter = RandomRange(0.05f, 0.07f);
    flake.angle = RandomRange(0.0f, 6.2831855f);
    flake.spinRate = RandomRange(0.00003f, 0.00005f);
    flake.terminalSpeed = RandomRange(0.000008f, 0.000016f);
    flake.mass = static_cast<float>(flake.size * 0.8);
    double terminal = flake.terminalSpeed;
    flake.invTerminalSpeedSq = 1.0 / (terminal * terminal);
    flake.position = Vec3Set(x, maxY, z);
    flake.velocity = Vec3Clear();
    flake.active = 0;
}

void ReleaseFlakeScene(FlakeScene& scene) {
    ReleaseNoiseTable(scene.wind);
    delete[] scene.flakes;
    scene.flakes = nullptr;
    scene.flakeCount = 0;
}
