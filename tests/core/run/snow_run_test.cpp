#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/run/snow_run.h"

namespace {

TEST(SnowRun, StartsStepsResizesAndEndsTwiceSafely) {
    const SnowRunChoice choice = {
        {0.0f, 0.5f, 0}, 640, 480, nullptr, {nullptr, nullptr}, 1, 2024, 10, 0};
    SnowRun run = {};
    ASSERT_EQ(StartSnowRun(run, choice), kSnowRunStarted);
    ASSERT_NE(run.tickClock, nullptr);
    ASSERT_NE(run.flakeScene, nullptr);
    EXPECT_EQ(run.flakeScene->flakeCount, 100); // Quantity 0
    EXPECT_EQ(run.vertexCapacity, 800u);
    EXPECT_EQ(run.flakeScene->flakes[99].active, 0);
    // Ahead, a step at a time if asked: the last of the 100 flakes (one each
    // 200 ms) is out after 20 s, and the first have had 30 s to fall through
    // the box.
    EXPECT_FALSE(StepSnowRunAhead(run, 1));
    EXPECT_EQ(run.aheadMs, kSnowRunAheadStepMs);
    EXPECT_TRUE(StepSnowRunAhead(run, 1000));
    EXPECT_EQ(run.aheadMs, 30000u);
    EXPECT_EQ(run.flakeScene->flakes[99].active, 1);
    EndSnowRun(run);
    ASSERT_EQ(StartSnowRun(run, choice), kSnowRunStarted);

    // Ticks by the clock; after a stop the flakes move by the last ordinary
    // step, not the gap.
    EXPECT_GE(TickSnowRun(run, false), 1u);
    const uint32_t ordinary = run.steps.ordinaryStepMs;
    const uint32_t released = run.flakeScene->releaseClockMs;
    EXPECT_EQ(TickSnowRun(run, true), ordinary);
    EXPECT_EQ(run.flakeScene->releaseClockMs, released + ordinary);
    // Steps of the time given, held to 1 .. 40000 ms.
    StepSnowRun(run, 0);
    EXPECT_EQ(run.flakeScene->releaseClockMs, released + ordinary + 1);
    StepSnowRun(run, 90000);
    EXPECT_EQ(run.flakeScene->releaseClockMs, released + ordinary + 40001);
    EXPECT_EQ(BuildSnowRunVertices(run), run.vertices);
    EXPECT_EQ(SnowRunVertexCount(run), 400u);
    std::vector<FlakeVertex> expected(400);
    BuildFlakeVertices(*run.flakeScene, expected.data());
    EXPECT_EQ(std::memcmp(run.vertices, expected.data(), 400 * sizeof(FlakeVertex)), 0);

    // Half as wide: the box follows the view.
    const float width = run.flakeScene->maxX - run.flakeScene->minX;
    ResizeSnowRun(run, 320, 480);
    EXPECT_NEAR(run.flakeScene->maxX - run.flakeScene->minX, width / 2, 1e-5f);

    EndSnowRun(run);
    EXPECT_EQ(run.tickClock, nullptr);
    EXPECT_EQ(run.flakeScene, nullptr);
    EXPECT_EQ(run.vertices, nullptr);
    EXPECT_EQ(SnowRunVertexCount(run), 0u);
    EndSnowRun(run);
    StepSnowRun(run, 10);
    EXPECT_EQ(TickSnowRun(run, false), 0u);
}

} // namespace
