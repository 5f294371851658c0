// The scene of a saver run, built once when the saver window is created.
#pragma once

#include <cstdint>

#include "flakes/flake_scene.h"
#include "flakes/tick_clock.h"

// Quantity (0..1) to the number of flakes: 100 at 0, 5000 at 1.
int32_t ParticleCount(float quantity);

// Builds the contents of a new scene from gSettings with the generator as it
// stands: the table choice and the noise table (with fractal wind), or the
// plain drift at half the speed. Returns what BuildFlakeScene returns.
int32_t BuildSceneContents(FlakeScene& scene, int32_t clientWidth, int32_t clientHeight);

// Creates the clock (seeding the generator) and the scene where each is null,
// and builds the scene from gSettings for the given client size. Both are
// allocated with new and freed by their owner with delete (the scene after
// ReleaseFlakeScene). Ends the process with status -1 when memory runs out.
void BuildInitialScene(int32_t clientWidth, int32_t clientHeight, TickClock*& tickClock,
                       FlakeScene*& flakeScene);
