// Running out of memory while a scene is built. The allocation operators are
// replaced here so that a chosen non-throwing allocation fails.
#include "flakes/scene_build.h"

#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "flakes/random.h"
#include "platform/platform_native_testing.h"
#include "settings/settings.h"
#include "wind/noise_table.h"
#include "wind/test_tables.h"

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
// Held outside the test's frames so that the leak check of a dying child
// sees them as reachable.
TickClock* gClock = nullptr;
FlakeScene* gScene = nullptr;

class AllocationFailure : public testing::Test {
  protected:
    void SetUp() override {
        table_ = MakePerlinFile(2, 2, 2, 2, RandomCells(16, 4));
        for (int id = 129; id <= 132; ++id) {
            SetNativeResourceOverride(id, table_.data(), static_cast<uint32_t>(table_.size()));
        }
        gSettings = Settings{0.0f, 0.5f, 1};
        ClearNativeBeeps();
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
        ClearNativeResourceOverrides();
        gSettings = Settings{};
    }

    // Builds the initial scene with the n-th non-throwing allocation failing.
    static void BuildFailing(int n) {
        gFailNothrowAt = n;
        BuildInitialScene(640, 480, gClock, gScene);
        gFailNothrowAt = 0;
    }

    std::vector<unsigned char> table_;
};
} // namespace

// The allocations of a build with fractal wind, in order: the clock, the scene
// record, the copy of the table cells, the flakes, the wind values.
TEST_F(AllocationFailure, WithoutAClockTheRunEnds) {
    EXPECT_EXIT(BuildFailing(1), testing::ExitedWithCode(255), "");
}

TEST_F(AllocationFailure, WithoutASceneRecordTheRunEnds) {
    EXPECT_EXIT(BuildFailing(2), testing::ExitedWithCode(255), "");
}

TEST_F(AllocationFailure, WithoutFlakesTheRunEnds) {
    EXPECT_EXIT(BuildFailing(4), testing::ExitedWithCode(255), "");
    gSettings.FractalWind = 0;
    EXPECT_EXIT(BuildFailing(3), testing::ExitedWithCode(255), "");
}

TEST_F(AllocationFailure, WithoutWindValuesTheRunEnds) {
    EXPECT_EXIT(BuildFailing(5), testing::ExitedWithCode(255), "");
}

TEST_F(AllocationFailure, WithoutACopyOfTheCellsTheSceneBlowsPlain) {
    BuildFailing(3);
    ASSERT_NE(gScene, nullptr);
    EXPECT_EQ(gScene->wind.plainWind, 1);
    EXPECT_EQ(gScene->flakeCount, 100);
}

TEST_F(AllocationFailure, BuildsWhenEveryAllocationSucceeds) {
    BuildFailing(6);
    ASSERT_NE(gScene, nullptr);
    EXPECT_EQ(gScene->wind.plainWind, 0);
    EXPECT_EQ(gScene->flakeCount, 100);
}

TEST_F(AllocationFailure, FlakeSceneReportsEachFailure) {
    std::vector<unsigned char> cells = RandomCells(16, 9);
    FlakeScene scene{};

    // No flakes: nothing drawn, the wind untouched, an empty scene.
    SeedRandom(1);
    gFailNothrowAt = 1;
    EXPECT_EQ(BuildFlakeScene(scene, 100, 640, 480, 2, 2, 2, 2, cells.data(), 0.5f, 0), 1);
    EXPECT_EQ(scene.flakeCount, 0);
    EXPECT_EQ(scene.flakes, nullptr);
    EXPECT_EQ(scene.wind.values, nullptr);
    EXPECT_EQ(RandomInt(0, 32767), 41); // the generator was not touched
    ReleaseFlakeScene(scene);

    // No wind values: the low beep, the flakes already made.
    gFailNothrowAt = 2;
    EXPECT_EQ(BuildFlakeScene(scene, 100, 640, 480, 2, 2, 2, 2, cells.data(), 0.5f, 0), 1);
    EXPECT_EQ(scene.flakeCount, 100);
    EXPECT_EQ(scene.wind.values, nullptr);
    ASSERT_EQ(NativeBeeps().size(), 1u);
    EXPECT_EQ(NativeBeeps()[0].frequencyHz, 100u);
    EXPECT_EQ(NativeBeeps()[0].durationMs, 300u);
    ReleaseFlakeScene(scene);
    ReleaseFlakeScene(scene);
}

TEST_F(AllocationFailure, ParserRejectsWhatItCannotCopy) {
    gFailNothrowAt = 1;
    NoiseCells parsed = ParseNoiseData(table_.data(), static_cast<int32_t>(table_.size()));
    EXPECT_EQ(parsed.cells, nullptr);
}
