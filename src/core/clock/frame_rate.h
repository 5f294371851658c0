// The frame rate shown to the user: frames counted a second at a time.
#pragma once

#include <cstdint>

struct FrameRate {
    uint32_t sinceMs; // the tick count at which the count began
    uint32_t frames;  // frames counted since then
};

// A count beginning at nowMs (a tick count, wrapping at 2^32).
void StartFrameRate(FrameRate& rate, uint32_t nowMs);

// Counts a frame drawn at nowMs. Once a second or more has passed since the
// count began: sets perSecond to the frames a second over that time, begins
// a new count and returns true.
bool CountFrame(FrameRate& rate, uint32_t nowMs, double& perSecond);
