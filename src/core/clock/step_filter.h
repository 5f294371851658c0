// A frame's step with the time in which the program did not run left out,
// for hosts whose frames can stall (a display mode that its daemon stops
// while the monitor sleeps, a page in a hidden tab): after a stop that the
// host saw, or any step much longer than a frame, the scene moves by the last
// ordinary step instead and so goes on where it was. A step of tens of
// seconds would also throw the flakes' motion out of its stable range.
#pragma once

#include <cstdint>

// A step is a gap when it is longer than the wait the host plans between two
// frames plus this: half a second is many frames at any usual wait, and yet a
// frame that the host's own work makes slow (software drawing of a large
// screen) stays ordinary; with a long wait (up to 10 s) the bound grows with
// it.
constexpr uint32_t kGapSlackMs = 500;

// The wait of a host whose every step counts in full, however late: its
// filter sees no gap (the Windows saver moves the flakes by the whole late
// time, up to the clock's clamp).
constexpr uint32_t kNoStepFilter = UINT32_MAX;

struct StepFilter {
    uint32_t gapMs;          // steps longer than this are gaps
    uint32_t ordinaryStepMs; // the last step that was no gap
};

// A filter for a host that waits frameWaitMs between frames; kNoStepFilter
// for one that leaves every step as it is.
void InitStepFilter(StepFilter& filter, uint32_t frameWaitMs);

// The step the scene moves by for a clock step of stepMs; resumed tells that
// the program was stopped and continued since the last frame.
uint32_t FilterStep(StepFilter& filter, uint32_t stepMs, bool resumed);
