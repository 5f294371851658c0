#include "core/clock/step_filter.h"
#include "core/clock/tick_clock.h"

#include <gtest/gtest.h>

#include "platform/platform_native_testing.h"

TEST(TickClock, StartsAtTheTickCountWithAStepOfOne) {
    SetNativeTickOverride(true, 123456);
    TickClock clock;
    InitTickClock(clock, kMaxStepMs);
    EXPECT_EQ(clock.startTicks, 123456u);
    EXPECT_EQ(clock.nowTicks, 123456u);
    EXPECT_EQ(clock.previousTicks, 123456u);
    EXPECT_EQ(clock.stepMs, 1u);
    EXPECT_EQ(clock.maxStepMs, 40000u);
    SetNativeTickOverride(false);
}

TEST(TickClock, StepsAreAtLeastOneAndAtMostTheClamp) {
    SetNativeTickOverride(true, 1000);
    TickClock clock;
    InitTickClock(clock, kMaxStepMs);
    UpdateTickClock(clock); // same tick count
    EXPECT_EQ(clock.stepMs, 1u);
    SetNativeTickOverride(true, 1017);
    UpdateTickClock(clock);
    EXPECT_EQ(clock.stepMs, 17u);
    EXPECT_EQ(clock.previousTicks, 1000u);
    EXPECT_EQ(clock.nowTicks, 1017u);
    SetNativeTickOverride(true, 1017 + 39999);
    UpdateTickClock(clock);
    EXPECT_EQ(clock.stepMs, 39999u);
    SetNativeTickOverride(true, 1017 + 39999 + 50000);
    UpdateTickClock(clock);
    EXPECT_EQ(clock.stepMs, 40000u);
    SetNativeTickOverride(false);
}

TEST(TickClock, AWrapOfTheTickCountGivesTheTrueStep) {
    SetNativeTickOverride(true, 4294967280u);
    TickClock clock;
    InitTickClock(clock, kMaxStepMs);
    SetNativeTickOverride(true, 16);
    UpdateTickClock(clock);
    EXPECT_EQ(clock.stepMs, 32u);
    SetNativeTickOverride(false);
}

TEST(StepFilter, AGapOrAStopTakesTheLastOrdinaryStep) {
    StepFilter filter;
    InitStepFilter(filter, 10); // gaps beyond 510 ms
    EXPECT_EQ(FilterStep(filter, 17, false), 17u);
    EXPECT_EQ(FilterStep(filter, 510, false), 510u);
    EXPECT_EQ(FilterStep(filter, 12, false), 12u);
    EXPECT_EQ(FilterStep(filter, 30000, false), 12u);
    EXPECT_EQ(FilterStep(filter, 511, false), 12u);
    // Continued after a stop: whatever the clock says is no ordinary step.
    EXPECT_EQ(FilterStep(filter, 300, true), 12u);
    EXPECT_EQ(FilterStep(filter, 14, false), 14u);
}

TEST(StepFilter, TheBoundGrowsWithTheWaitBetweenFrames) {
    StepFilter filter;
    InitStepFilter(filter, 10000); // --delay 10000000
    EXPECT_EQ(FilterStep(filter, 10480, false), 10480u);
    EXPECT_EQ(FilterStep(filter, 40000, false), 10480u);
}
