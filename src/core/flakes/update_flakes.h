#pragma once

#include <cstdint>

#include "core/flakes/flake_scene.h"

// Advances the scene by one tick of the given microseconds.
void UpdateFlakes(FlakeScene& scene, uint32_t elapsedMicroseconds);
