#include "core/flakes/update_flakes.h"

#include <cmath>

#include "core/math/random.h"
#include "core/wind/advance_wind.h"
#include "core/wind/sample_wind.h"

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

// The wind a flake feels: the steady drift, scaled between nothing and all
// of it by the field when there is one.
inline Vec3 WindAt(const NoiseTable& wind, float sample) {
    if (wind.plainWind != 0) {
        return wind.drift;
    }
    return Vec3Scale(wind.drift, static_cast<float>((sample + 1.0) * 0.5));
}

// What every flake of one update shares, held in locals so that writes to
// the flakes never force them to be read again.
struct Step {
    Vec3 gravity;
    double dragCoefficient;
    float dt;
    float halfDtSq;
};

inline void MoveFlake(const Step& step, Flake& flake, Vec3 w) {
    Vec3 velocity = flake.velocity;
    Vec3 relative = Vec3Subtract(w, velocity);
    flake.angle = static_cast<float>(flake.angle + static_cast<double>(flake.spinRate) * step.dt);

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
        double strength = static_cast<double>(relativeSq) * flake.mass * step.dragCoefficient *
                          flake.invTerminalSpeedSq;
        drag = Vec3Scale(Vec3Normalize(relative), static_cast<float>(strength));
    }

    Vec3 acceleration =
        Vec3Scale(Vec3Add(drag, step.gravity), static_cast<float>(1.0 / flake.mass));
    Vec3 displacement = Vec3Add(Vec3Scale(Vec3Add(velocity, flutter), step.dt),
                                Vec3Scale(acceleration, step.halfDtSq));
    flake.position = Vec3Add(flake.position, displacement);
    flake.velocity = Vec3Add(velocity, Vec3Scale(acceleration, step.dt));
}
} // namespace

void UpdateFlakes(FlakeScene& scene, uint32_t elapsedMicroseconds) {
    uint32_t dtMs = elapsedMicroseconds / 1000u;
    float dt = static_cast<float>(dtMs); // exact: dtMs < 2^23
    float halfDtSq = static_cast<float>(0.5 * dt * dt);
    RespawnLimits limits = LimitsOf(scene);

    NoiseTable& wind = scene.wind;
    AdvanceWind(wind, dt);
    ReleaseWaiting(scene, dtMs);

    // Flakes go in blocks: first the wind samples of a block, then its motion.
    // A sample reads only its own flake's position, so taking them ahead
    // changes nothing, and the independent lookups overlap in the processor.
    const Step step = {scene.gravity, scene.dragCoefficient, dt, halfDtSq};
    const int32_t plainWind = wind.plainWind;
    constexpr int32_t kBlock = 32;
    float samples[kBlock] = {};
    for (int32_t first = 0; first < scene.flakeCount; first += kBlock) {
        int32_t count = scene.flakeCount - first < kBlock ? scene.flakeCount - first : kBlock;
        Flake* block = scene.flakes + first;
        if (plainWind == 0) {
            for (int32_t i = 0; i < count; ++i) {
                if (block[i].active != 0) {
                    samples[i] = SampleWind(wind, block[i].position, wind.phase);
                }
            }
        }
        for (int32_t i = 0; i < count; ++i) {
            Flake& flake = block[i];
            if (flake.active == 0) {
                continue;
            }
            MoveFlake(step, flake, WindAt(wind, samples[i]));
            KeepInBox(scene, limits, flake);
        }
    }
}
