#include "core/clock/step_filter.h"

void InitStepFilter(StepFilter& filter, uint32_t frameWaitMs) {
    if (frameWaitMs == kNoStepFilter) {
        filter.gapMs = kNoStepFilter;
        filter.ordinaryStepMs = 1;
        return;
    }
    filter.gapMs = frameWaitMs + kGapSlackMs;
    filter.ordinaryStepMs = frameWaitMs > 0 ? frameWaitMs : 1;
}

uint32_t FilterStep(StepFilter& filter, uint32_t stepMs, bool resumed) {
    if (resumed || stepMs > filter.gapMs) {
        return filter.ordinaryStepMs;
    }
    filter.ordinaryStepMs = stepMs;
    return stepMs;
}
