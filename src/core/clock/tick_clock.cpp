#include "core/clock/tick_clock.h"

#include "platform/platform.h"

void InitTickClock(TickClock& clock, uint32_t maxStepMs) {
    uint32_t now = PlatformTickCount();
    clock.startTicks = now;
    clock.nowTicks = now;
    clock.previousTicks = now;
    clock.stepMs = 1;
    clock.maxStepMs = maxStepMs;
}

void UpdateTickClock(TickClock& clock) {
    clock.previousTicks = clock.nowTicks;
    clock.nowTicks = PlatformTickCount();
    // Unsigned difference: a wrap of the tick count still gives the true step.
    uint32_t step = clock.nowTicks - clock.previousTicks;
    if (step == 0) {
        step = 1;
    }
    clock.stepMs = step < clock.maxStepMs ? step : clock.maxStepMs;
}
