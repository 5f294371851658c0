// One flake, and the whole flake system with its box and wind field.
#pragma once

#include <cstdint>

#include "core/math/vec3.h"
#include "core/wind/noise_table.h"

struct Flake {
    Vec3 position;
    Vec3 velocity;
    float size;    // base half side of the sprite square
    float mass;    // size * 0.8
    float flutter; // strength of the side-to-side flutter
    float angle;   // flutter angle in radians, never reduced
    float spinRate;
    float terminalSpeed;
    double invTerminalSpeedSq; // 1 / terminalSpeed^2
    int32_t active;            // 0 until released
};

struct FlakeScene {
    NoiseTable wind;
    int32_t flakeCount;
    Flake* flakes; // owned
    float minX;
    float maxX;
    float minY;
    float maxY;
    float minZ;
    float maxZ;
    Vec3 gravity;
    float dragCoefficient;
    int32_t viewWidth;
    int32_t viewHeight;
    uint32_t releaseClockMs;
    uint32_t releaseIntervalMs;
    // Not 0: a view taller than wide gets the box of the landscape view it
    // is turned from (the host sets it; 0 after the build).
    uint8_t uprightLikeLandscape;
};

// What a scene is built from.
struct FlakeSceneDesc {
    int32_t flakeCount;
    int32_t viewWidth; // the client area the scene is seen in, in pixels
    int32_t viewHeight;
    float speed;             // the wind-speed argument of the wind (0..1)
    const NoiseCells* table; // a parsed noise table, or null for plain drift
};

// Fills a new scene record (its contents undefined before): the box for the
// view, every flake's random start, the wind, gravity and the staggered
// release. 0 on success, 1 when an allocation failed.
int32_t BuildFlakeScene(FlakeScene& scene, const FlakeSceneDesc& desc,
                        const Diagnostics& diagnostics);
// The view the scene is seen in, and the box with it. A scene whose window
// changes size keeps its flakes, each at the same share of the box's width
// and height as before, so that the snow stays as even as it was; flakes
// that re-enter later do so over the new box.
// The box is 1.4 x width / height wide and 1.9 high for a landscape view. A
// view taller than wide, in a scene that takes it like landscape, gets the
// box of that landscape view turned upright: as wide as a square view's, and
// as much higher as a landscape view of those sides is wider, so that the
// flakes have the same size against the shorter side and the same density.
void SetFlakeSceneView(FlakeScene& scene, int32_t viewWidth, int32_t viewHeight);
int32_t CreateFlakes(FlakeScene& scene, int32_t flakeCount, float minX, float maxX, float minY,
                     float maxY, float minZ, float maxZ);
void InitFlake(Flake& flake, float minX, float maxX, float minY, float maxY, float minZ,
               float maxZ);
// Frees the flake array and the wind values; the record itself stays with
// its owner. Safe to call twice.
void ReleaseFlakeScene(FlakeScene& scene);
