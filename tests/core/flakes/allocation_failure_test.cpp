// Running out of memory while a scene is built. The allocation operators are
// replaced here so that a chosen non-throwing allocation fails.
#include "core/flakes/scene_build.h"

#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/math/random.h"
#include "core/wind/noise_table.h"
#include "core/wind/test_tables.h"

namespace {
// 0: every allocation succeeds; n: the n-th non-throwing allocation from now
// on fails.
int gFailNothrowAt = 0;

void* Allocate(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void* AllocateNothrow(std::size_t size) noexcept {
    if (gFailNothrowAt > 0 && --gFailNothrowAt == 0) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateNothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateNothrow(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {
TickClock* gClock = nullptr;
FlakeScene* gScene = nullptr;
std::vector<unsigned char> gTable;
using Alarm = std::pair<uint32_t, uint32_t>; // frequency, length
std::vector<Alarm> gAlarms;

ResourceBytes StoredTable(int) {
    return {gTable.data(), static_cast<uint32_t>(gTable.size())};
}

const Diagnostics kRecordAlarms = {nullptr, [](uint32_t frequencyHz, uint32_t durationMs) {
                                       gAlarms.push_back({frequencyHz, durationMs});
                                   }};

class AllocationFailure : public testing::Test {
  protected:
    void SetUp() override {
        gTable = MakePerlinFile(2, 2, 2, 2, RandomCells(16, 4));
        gAlarms.clear();
    }
    void TearDown() override {
        gFailNothrowAt = 0;
        if (gScene != nullptr) {
            ReleaseFlakeScene(*gScene);
        }
        delete gScene;
        delete gClock;
        gScene = nullptr;
        gClock = nullptr;
    }

    // Builds the initial scene of 100 flakes with the n-th non-throwing
    // allocation failing; what the build returns.
    static int32_t BuildFailing(int n, uint8_t fractalWind = 1) {
        const SceneChoice choice = {100, 640, 480, 0.5f, fractalWind, StoredTable, kRecordAlarms};
        gFailNothrowAt = n;
        const int32_t result = BuildInitialScene(choice, gClock, gScene);
        gFailNothrowAt = 0;
        return result;
    }
};
} // namespace

// The allocations of a build with fractal wind, in order: the clock, the scene
// record, the copy of the table cells, the flakes, the wind values. What a
// failure means is the caller's to decide.
TEST_F(AllocationFailure, WithoutAClockTheBuildFails) {
    EXPECT_EQ(BuildFailing(1), 1);
    EXPECT_EQ(gClock, nullptr);
}

TEST_F(AllocationFailure, WithoutASceneRecordTheBuildFails) {
    EXPECT_EQ(BuildFailing(2), 1);
    EXPECT_EQ(gScene, nullptr);
}

TEST_F(AllocationFailure, WithoutFlakesTheBuildFails) {
    EXPECT_EQ(BuildFailing(4), 1);
    TearDown();
    EXPECT_EQ(BuildFailing(3, 0), 1);
}

TEST_F(AllocationFailure, WithoutWindValuesTheBuildFailsAfterTheLowAlarm) {
    EXPECT_EQ(BuildFailing(5), 1);
    EXPECT_EQ(gAlarms, std::vector<Alarm>{Alarm(100, 300)});
}

TEST_F(AllocationFailure, WithoutACopyOfTheCellsTheSceneBlowsPlain) {
    EXPECT_EQ(BuildFailing(3), 0);
    ASSERT_NE(gScene, nullptr);
    EXPECT_EQ(gScene->wind.plainWind, 1);
    EXPECT_EQ(gScene->flakeCount, 100);
}

TEST_F(AllocationFailure, BuildsWhenEveryAllocationSucceeds) {
    EXPECT_EQ(BuildFailing(6), 0);
    ASSERT_NE(gScene, nullptr);
    EXPECT_EQ(gScene->wind.plainWind, 0);
    EXPECT_EQ(gScene->flakeCount, 100);
}

TEST_F(AllocationFailure, FlakeSceneReportsEachFailure) {
    std::vector<unsigned char> cells = RandomCells(16, 9);
    const NoiseCells table = TableOf(cells, 2, 2, 2, 2);
    FlakeScene scene{};

    // No flakes: nothing drawn, the wind untouched, an empty scene.
    SeedRandom(1);
    gFailNothrowAt = 1;
    EXPECT_EQ(BuildFlakeScene(scene, {100, 640, 480, 0.5f, &table}, kRecordAlarms), 1);
    EXPECT_EQ(scene.flakeCount, 0);
    EXPECT_EQ(scene.flakes, nullptr);
    EXPECT_EQ(scene.wind.values, nullptr);
    EXPECT_EQ(RandomInt(0, 32767), 41); // the generator was not touched
    ReleaseFlakeScene(scene);

    // No wind values: the low beep, the flakes already made.
    gFailNothrowAt = 2;
    EXPECT_EQ(BuildFlakeScene(scene, {100, 640, 480, 0.5f, &table}, kRecordAlarms), 1);
    EXPECT_EQ(scene.flakeCount, 100);
    EXPECT_EQ(scene.wind.values, nullptr);
    EXPECT_EQ(gAlarms, std::vector<Alarm>{Alarm(100, 300)});
    ReleaseFlakeScene(scene);
    ReleaseFlakeScene(scene);
}

TEST_F(AllocationFailure, ParserRejectsWhatItCannotCopy) {
    gFailNothrowAt = 1;
    NoiseCells parsed = ParseNoiseData(gTable.data(), static_cast<int32_t>(gTable.size()), kQuiet);
    EXPECT_EQ(parsed.cells, nullptr);
}
