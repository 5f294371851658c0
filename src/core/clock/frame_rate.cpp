#include "core/clock/frame_rate.h"

void StartFrameRate(FrameRate& rate, uint32_t nowMs) {
    rate = {nowMs, 0};
}

bool CountFrame(FrameRate& rate, uint32_t nowMs, double& perSecond) {
    ++rate.frames;
    const uint32_t elapsedMs = nowMs - rate.sinceMs;
    if (elapsedMs < 1000u) {
        return false;
    }
    perSecond = rate.frames * 1000.0 / elapsedMs;
    StartFrameRate(rate, nowMs);
    return true;
}
