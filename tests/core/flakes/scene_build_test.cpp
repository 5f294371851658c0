#include "core/flakes/scene_build.h"

#include <cstring>

#include <gtest/gtest.h>

#include "core/math/random.h"
#include "platform/platform_native_testing.h"
#include "core/wind/test_tables.h"

namespace {
float RangeOf(uint32_t draw, float lo, float hi) {
    return static_cast<float>(lo + draw * (static_cast<double>(hi) - lo) / 32767.0);
}

// Four small tables in place of the stored ones, 129 to 132; table k has
// every cell k, so the scene shows which one it converted.
std::vector<unsigned char> gTables[4];

ResourceBytes StoredTable(int id) {
    if (id < 129 || id > 132 || gTables[id - 129].empty()) {
        return {nullptr, 0};
    }
    const std::vector<unsigned char>& table = gTables[id - 129];
    return {table.data(), static_cast<uint32_t>(table.size())};
}

class SceneBuild : public testing::Test {
  protected:
    void SetUp() override {
        for (int k = 0; k < 4; ++k) {
            gTables[k] = MakePerlinFile(2, 2, 2, 2, std::vector<unsigned char>(16, CellOf(k)));
        }
        SetNativeTickOverride(true, kTicks);
    }
    void TearDown() override {
        if (scene_ != nullptr) {
            ReleaseFlakeScene(*scene_);
        }
        delete scene_;
        delete clock_;
        SetNativeTickOverride(false);
    }

    // Quantity and Speed 0.5 unless given.
    static SceneChoice Choice(int32_t width, int32_t height, uint8_t fractalWind = 1,
                              float quantity = 0.5f) {
        return {
            FlakeCountForQuantity(quantity), width, height, 0.5f, fractalWind, StoredTable, kQuiet};
    }

    static unsigned char CellOf(int k) { return static_cast<unsigned char>(40 * k + 10); }

    static constexpr uint32_t kTicks = 4242;
    TickClock* clock_ = nullptr;
    FlakeScene* scene_ = nullptr;
};
} // namespace

TEST_F(SceneBuild, FractalWindPicksOneStoredTableWithTheFirstDraw) {
    EXPECT_EQ(BuildInitialScene(Choice(1024, 768), clock_, scene_), 0);
    ASSERT_NE(clock_, nullptr);
    ASSERT_NE(scene_, nullptr);
    EXPECT_EQ(clock_->startTicks, kTicks);
    EXPECT_EQ(clock_->maxStepMs, 40000u);

    ReferenceLcg lcg{kTicks};
    int k = static_cast<int>(lcg.Next() % 4); // RandomInt(1, 4) - 1
    EXPECT_EQ(scene_->flakeCount, 2550);
    EXPECT_EQ(scene_->viewWidth, 1024);
    ASSERT_EQ(scene_->wind.plainWind, 0);
    ASSERT_NE(scene_->wind.values, nullptr);
    EXPECT_EQ(scene_->wind.sizeX, 2);
    EXPECT_EQ(scene_->wind.values[0], static_cast<float>(CellOf(k) / 255.0 * 2.0 - 1.0));
    // The full speed blows through the table.
    EXPECT_EQ(scene_->wind.windSpeed, static_cast<float>((0.5 * 9.5 + 0.5) * 0.00006));
    // Then seven draws per flake, flake 0 first.
    EXPECT_EQ(scene_->flakes[0].position.z, RangeOf(lcg.Next(), 0.0f, 1.0f));
}

TEST_F(SceneBuild, WithoutFractalWindNoTableAndHalfTheSpeed) {
    BuildInitialScene(Choice(640, 480, 0, 0.0f), clock_, scene_);
    ASSERT_NE(scene_, nullptr);
    EXPECT_EQ(scene_->flakeCount, 100);
    EXPECT_EQ(scene_->wind.plainWind, 1);
    EXPECT_EQ(scene_->wind.values, nullptr);
    EXPECT_EQ(scene_->wind.windSpeed, static_cast<float>((0.25 * 9.5 + 0.5) * 0.00006));
    // No table was drawn: the first draw belongs to flake 0.
    ReferenceLcg lcg{kTicks};
    EXPECT_EQ(scene_->flakes[0].position.z, RangeOf(lcg.Next(), 0.0f, 1.0f));
}

TEST_F(SceneBuild, AMalformedTableGivesPlainWind) {
    for (int k = 0; k < 4; ++k) {
        gTables[k][3] = 'x'; // magic broken in every table
    }
    BuildInitialScene(Choice(640, 480), clock_, scene_);
    ASSERT_NE(scene_, nullptr);
    EXPECT_EQ(scene_->wind.plainWind, 1);
    EXPECT_EQ(scene_->wind.values, nullptr);
    EXPECT_EQ(scene_->wind.windSpeed, static_cast<float>((0.25 * 9.5 + 0.5) * 0.00006));
    // The table was still drawn, before the flakes.
    ReferenceLcg lcg{kTicks};
    lcg.Next();
    EXPECT_EQ(scene_->flakes[0].position.z, RangeOf(lcg.Next(), 0.0f, 1.0f));
}

TEST_F(SceneBuild, AMissingTableGivesPlainWind) {
    for (int k = 0; k < 4; ++k) {
        gTables[k].clear();
    }
    BuildInitialScene(Choice(640, 480), clock_, scene_);
    ASSERT_NE(scene_, nullptr);
    EXPECT_EQ(scene_->wind.plainWind, 1);
}

TEST_F(SceneBuild, AnExistingSceneIsLeftAlone) {
    BuildInitialScene(Choice(640, 480), clock_, scene_);
    FlakeScene* first = scene_;
    Flake flake0 = first->flakes[0];
    delete clock_;
    clock_ = nullptr;
    SetNativeTickOverride(true, 99);
    BuildInitialScene(Choice(1920, 1080), clock_, scene_);
    EXPECT_EQ(scene_, first);
    EXPECT_EQ(scene_->viewWidth, 640);
    EXPECT_EQ(std::memcmp(&scene_->flakes[0], &flake0, sizeof flake0), 0);
    // The missing clock was made anew.
    ASSERT_NE(clock_, nullptr);
    EXPECT_EQ(clock_->startTicks, 99u);
}

TEST_F(SceneBuild, AnExistingClockKeepsTheGeneratorAsItStands) {
    clock_ = new TickClock{1, 1, 1, 1, kMaxStepMs};
    SeedRandom(555);
    BuildInitialScene(Choice(640, 480, 0), clock_, scene_);
    ReferenceLcg lcg{555};
    EXPECT_EQ(scene_->flakes[0].position.z, RangeOf(lcg.Next(), 0.0f, 1.0f));
}

TEST_F(SceneBuild, AViewWithoutHeightBuildsAFiniteScene) {
    BuildInitialScene(Choice(800, 0), clock_, scene_);
    ASSERT_NE(scene_, nullptr);
    EXPECT_TRUE(std::isfinite(scene_->minX));
    EXPECT_TRUE(std::isfinite(scene_->maxX));
    EXPECT_LT(scene_->minX, scene_->maxX);
}
