#include "flakes/update_flakes.h"

#include <cmath>

#include "flakes/random.h"
#include "wind/sample_wind.h"
#include "wind/wrap_unit.h"

namespace {
struct RespawnLimits {
    float maxX;
    float minX;
    float maxY;
    float minY;
    float maxZ;
    float minZ;
};

RespawnLimits LimitsOf(const FlakeScene& scene) {
    return {static_cast<float>(scene.maxX + 0.1), static_cast<float>(scene.minX - 0.1),
            static_cast<float>(scene.maxY + 0.1), static_cast<float>(scene.minY - 0.1),
            static_cast<float>(scene.maxZ + 0.1), static_cast<float>(scene.minZ - 0.1)};
}

// The steady wind wanders: its rate of change walks at random, and both stay
// within -1 .. 1.
void WalkGust(NoiseTable& wind, double dt) {
    float r = RandomRange(-1.0f, 1.0f);
    wind.gustRate = static_cast<float>(wind.gustRate + r * 0.001 * dt);
    if (wind.gustRate < -1.0f) {
        wind.gustRate = -1.0f;
    }
    if (wind.gustRate > 1.0f) {
        wind.gustRate = 1.0f;
    }
    wind.gust = static_cast<float>(wind.gust + wind.gustRate * 0.0005 * dt);
    if (wind.gust > 1.0f) {
        wind.gust = 1.0f;
    }
    if (wind.gust < -1.0f) {
        wind.gust = -1.0f;
    }
    wind.drift = Vec3Set(wind.windSpeed * wind.gust, 0.0f, 0.0f);
}

// The field scrolls against the drift once per update, whatever the time.
void ScrollField(NoiseTable& wind) {
    Vec3 offset = Vec3Subtract(wind.offset, Vec3Scale(wind.drift, wind.scrollFactor));
    wind.offset = Vec3Set(WrapUnit(offset.x), WrapUnit(offset.y), WrapUnit(offset.z));
}

void ReleaseWaiting(FlakeScene& scene, uint32_t dtMs) {
    uint32_t limit = (static_cast<uint32_t>(scene.flakeCount) + 1u) * scene.releaseIntervalMs;
    if (!(scene.releaseClockMs < limit)) {
        return;
    }
    scene.releaseClockMs += dtMs;
    uint32_t released = scene.releaseClockMs / scene.releaseIntervalMs;
    for (uint32_t i = 0; i < released && i < static_cast<uint32_t>(scene.flakeCount); ++i) {
        scene.flakes[i].active = 1;
    }
}

// A flake beyond a limit re-enters on the opposite face with zero velocity.
// Only the first rule that holds applies: x, then z, then y.
void KeepInBox(const FlakeScene& scene, const RespawnLimits& limits, Flake& flake) {
    Vec3 p = flake.position;
    if (p.x > limits.maxX || p.x < limits.minX) {
        float z = RandomRange(scene.minZ, scene.maxZ);
        float y = RandomRange(scene.minY, scene.maxY);
        flake.position = Vec3Set(p.x > limits.maxX ? scene.minX : scene.maxX, y, z);
    } else if (p.z > limits.maxZ || p.z < limits.minZ) {
        float y = RandomRange(scene.minY, scene.maxY);
        float x = RandomRange(scene.minX, scene.maxX);
        flake.position = Vec3Set(x, y, p.z > limits.maxZ ? scene.minZ : scene.maxZ);
    } else if (p.y > limits.maxY || p.y < limits.minY) {
        float z = RandomRange(scene.minZ, scene.maxZ);
        float x = RandomRange(scene.minX, scene.maxX);
        flake.position = Vec3Set(x, p.y > limits.maxY ? scene.minY : scene.maxY, z);
    } else {
        return;
    }
    flake.velocity = Vec3Clear();
}

void MoveFlake(const FlakeScene& scene, Flake& flake, float dt, float halfDtSq) {
    const NoiseTable& wind = scene.wind;
    Vec3 w = wind.drift;
    if (wind.plainWind == 0) {
        float s = SampleWind(wind, flake.position, wind.phase);
        w = Vec3Scale(wind.drift, static_cast<float>((s + 1.0) * 0.5));
    }
    Vec3 velocity = flake.velocity;
    Vec3 relative = Vec3Subtract(w, velocity);
    flake.angle = static_cast<float>(flake.angle + static_cast<double>(flake.spinRate) * dt);

    float relativeSq = Vec3LengthSq(relative);
    float velocitySq = Vec3LengthSq(velocity);
    Vec3 flutter = Vec3Clear();
    if (velocitySq > 0.0f) {
        double angle = flake.angle;
        Vec3 direction = Vec3Set(static_cast<float>(-std::sin(angle)), 0.0f,
                                 static_cast<float>(std::cos(angle)));
        double magnitude = std::sqrt(static_cast<double>(relativeSq) / velocitySq) *
                           flake.spinRate * flake.flutter;
        flutter = Vec3Scale(direction, static_cast<float>(magnitude));
    }

    Vec3 drag = Vec3Clear();
    if (flake.terminalSpeed != 0.0f && relativeSq != 0.0f && velocitySq != 0.0f) {
        double strength = static_cast<double>(relativeSq) * flake.mass * scene.dragCoefficient *
                          flake.invTerminalSpeedSq;
        drag = Vec3Scale(Vec3Normalize(relative), static_cast<float>(strength));
    }

    Vec3 acceleration =
        Vec3Scale(Vec3Add(drag, scene.gravity), static_cast<float>(1.0 / flake.mass));
    Vec3 displacement =
        Vec3Add(Vec3Scale(Vec3Add(velocity, flutter), dt), Vec3Scale(acceleration, halfDtSq));
    flake.position = Vec3Add(flake.position, displacement);
    flake.velocity = Vec3Add(velocity, Vec3Scale(acceleration, dt));
}
} // namespace

void UpdateFlakes(FlakeScene& scene, uint32_t elapsedMicroseconds) {
    uint32_t dtMs = elapsedMicroseconds / 1000u;
    float dt = static_cast<float>(dtMs); // exact: dtMs < 2^23
    float halfDtSq = static_cast<float>(0.5 * dt * dt);
    RespawnLimits limits = LimitsOf(scene);

    NoiseTable& wind = scene.wind;
    WalkGust(wind, dt);
    if (wind.plainWind == 0) {
        if (wind.scrolling != 0) {
            ScrollField(wind);
        }
        wind.phase = WrapUnit(wind.phase + static_cast<double>(wind.phaseRate) * dt);
    }
    ReleaseWaiting(scene, dtMs);

    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        Flake& flake = scene.flakes[i];
        if (flake.active == 0) {
            continue;
        }
        MoveFlake(scene, flake, dt, halfDtSq);
        KeepInBox(scene, limits, flake);
    }
}
