// The frame clock: whole milliseconds between two updates, at least 1 and at
// most maxStepMs.
#pragma once

#include <cstdint>

struct TickClock {
    uint32_t startTicks; // tick count when the clock was made; also the random seed
    uint32_t nowTicks;
    uint32_t previousTicks;
    uint32_t stepMs;    // 1 after creation
    uint32_t maxStepMs; // 40000 in every clock the saver makes
};

constexpr uint32_t kMaxStepMs = 40000;

void InitTickClock(TickClock& clock, uint32_t maxStepMs);
void UpdateTickClock(TickClock& clock);
