// The scene of a run, built once when the run starts, from the user's choice.
#pragma once

#include <cstdint>

#include "core/clock/tick_clock.h"
#include "core/flakes/flake_scene.h"
#include "platform/diagnostics.h"
#include "platform/platform.h"

// The Quantity setting (0..1) as a number of flakes: 100 at 0, 5000 at 1.
int32_t FlakeCountForQuantity(float quantity);

// What a run's scene is made of, and where its noise tables come from.
struct SceneChoice {
    int32_t flakeCount;
    int32_t viewWidth; // the client area of the run, in pixels
    int32_t viewHeight;
    float speed;         // the Speed setting, 0..1
    uint8_t fractalWind; // the FractalWind setting
    // The bytes of a stored noise table by its resource identifier; data is
    // null when there is no such table.
    ResourceBytes (*storedTable)(int id);
    Diagnostics diagnostics;
};

// The contents of a new scene record: with fractal wind, one of the four
// stored tables chosen by the next random draw, parsed and converted, blowing
// with the full speed; without it, or when that table is missing or malformed,
// plain drift at half the speed. Returns what BuildFlakeScene returns.
int32_t BuildSceneContents(FlakeScene& scene, const SceneChoice& choice);

// Creates the clock (seeding the generator from it) and the scene where each
// is null, and builds the scene. Both are allocated with new and freed by
// their owner (the scene after ReleaseFlakeScene). 0, or 1 when memory ran
// out: what that means is the caller's to decide.
int32_t BuildInitialScene(const SceneChoice& choice, TickClock*& tickClock,
                          FlakeScene*& flakeScene);
