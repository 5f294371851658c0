#include "core/flakes/flake_scene.h"
#include "core/math/random.h"
#include "core/flakes/scene_build.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/wind/test_tables.h"

namespace {
float RangeOf(uint32_t draw, float lo, float hi) {
    return static_cast<float>(lo + draw * (static_cast<double>(hi) - lo) / 32767.0);
}

// A scene record with undefined contents, as the scene build allocates it.
std::unique_ptr<FlakeScene> DirtyScene() {
    auto scene = std::make_unique<FlakeScene>();
    std::memset(scene.get(), 0x5A, sizeof(FlakeScene));
    return scene;
}

int32_t BuildPlain(FlakeScene& scene, int32_t count, int32_t width, int32_t height) {
    return BuildFlakeScene(scene, {count, width, height, 0.25f, nullptr}, kQuiet);
}
} // namespace

TEST(BuildFlakeScene, SetsTheBoxGravityAndRelease) {
    auto scene = DirtyScene();
    SeedRandom(3);
    ASSERT_EQ(BuildPlain(*scene, 100, 1024, 768), 0);
    EXPECT_EQ(scene->viewWidth, 1024);
    EXPECT_EQ(scene->viewHeight, 768);
    float r = static_cast<float>(static_cast<float>(1024 * 0.7) / 768.0);
    EXPECT_EQ(scene->minX, static_cast<float>(0.5 - r));
    EXPECT_EQ(scene->maxX, static_cast<float>(0.5 + r));
    EXPECT_NEAR(scene->minX, -0.4333, 1e-4);
    EXPECT_NEAR(scene->maxX, 1.4333, 1e-4);
    EXPECT_EQ(scene->minY, -0.5f);
    EXPECT_EQ(scene->maxY, 1.4f);
    EXPECT_EQ(scene->minZ, 0.0f);
    EXPECT_EQ(scene->maxZ, 1.0f);
    EXPECT_EQ(scene->gravity.x, 0.0f);
    EXPECT_EQ(scene->gravity.y, -0.000000004f);
    EXPECT_EQ(scene->gravity.z, 0.0f);
    EXPECT_EQ(scene->dragCoefficient, 0.000000004f);
    EXPECT_EQ(scene->releaseClockMs, 0u);
    EXPECT_EQ(scene->releaseIntervalMs, 200u);
    EXPECT_EQ(scene->flakeCount, 100);
    ReleaseFlakeScene(*scene);

    ASSERT_EQ(BuildPlain(*scene, 100, 1280, 1024), 0);
    EXPECT_EQ(scene->minX, -0.375f);
    EXPECT_EQ(scene->maxX, 1.375f);
    ReleaseFlakeScene(*scene);
}

TEST(BuildFlakeScene, ReleaseIntervalNeverDropsBelowTenMilliseconds) {
    const int32_t counts[] = {1, 100, 1818, 1819, 2550, 5000};
    const uint32_t intervals[] = {20000, 200, 11, 10, 10, 10};
    for (size_t n = 0; n < 6; ++n) {
        auto scene = DirtyScene();
        ASSERT_EQ(BuildPlain(*scene, counts[n], 800, 600), 0);
        EXPECT_EQ(scene->releaseIntervalMs, intervals[n]) << counts[n];
        ReleaseFlakeScene(*scene);
    }
}

TEST(BuildFlakeScene, EveryFlakeStartsWaitingOnTheTopFace) {
    auto scene = DirtyScene();
    SeedRandom(12345);
    ASSERT_EQ(BuildPlain(*scene, 2000, 1024, 768), 0);
    for (int32_t i = 0; i < scene->flakeCount; ++i) {
        const Flake& f = scene->flakes[i];
        EXPECT_EQ(f.position.y, 1.4f);
        EXPECT_GE(f.position.x, scene->minX);
        EXPECT_LE(f.position.x, scene->maxX);
        EXPECT_GE(f.position.z, 0.0f);
        EXPECT_LE(f.position.z, 1.0f);
        EXPECT_EQ(f.velocity.x, 0.0f);
        EXPECT_EQ(f.velocity.y, 0.0f);
        EXPECT_EQ(f.velocity.z, 0.0f);
        EXPECT_EQ(f.active, 0);
        EXPECT_GE(f.size, 0.02f);
        EXPECT_LE(f.size, 0.05f);
        EXPECT_EQ(f.mass, static_cast<float>(f.size * 0.8));
        EXPECT_GE(f.flutter, 0.05f);
        EXPECT_LE(f.flutter, 0.07f);
        EXPECT_GE(f.angle, 0.0f);
        EXPECT_LE(f.angle, 6.2831855f);
        EXPECT_GE(f.spinRate, 0.00003f);
        EXPECT_LE(f.spinRate, 0.00005f);
        EXPECT_GE(f.terminalSpeed, 0.000008f);
        EXPECT_LE(f.terminalSpeed, 0.000016f);
        double t = f.terminalSpeed;
        EXPECT_EQ(f.invTerminalSpeedSq, 1.0 / (t * t));
    }
    ReleaseFlakeScene(*scene);
}

TEST(BuildFlakeScene, DrawsSevenNumbersPerFlakeThenTheWind) {
    const uint32_t seed = 777;
    auto scene = DirtyScene();
    SeedRandom(seed);
    ASSERT_EQ(BuildPlain(*scene, 3, 1024, 768), 0);

    ReferenceLcg lcg{seed};
    for (int32_t i = 0; i < 3; ++i) {
        const Flake& f = scene->flakes[i];
        EXPECT_EQ(f.position.z, RangeOf(lcg.Next(), 0.0f, 1.0f));
        EXPECT_EQ(f.position.x, RangeOf(lcg.Next(), scene->minX, scene->maxX));
        EXPECT_EQ(f.size, RangeOf(lcg.Next(), 0.02f, 0.05f));
        EXPECT_EQ(f.flutter, RangeOf(lcg.Next(), 0.05f, 0.07f));
        EXPECT_EQ(f.angle, RangeOf(lcg.Next(), 0.0f, 6.2831855f));
        EXPECT_EQ(f.spinRate, RangeOf(lcg.Next(), 0.00003f, 0.00005f));
        EXPECT_EQ(f.terminalSpeed, RangeOf(lcg.Next(), 0.000008f, 0.000016f));
    }
    uint32_t pick = lcg.Next();
    float gust =
        pick % 2 == 1 ? RangeOf(lcg.Next(), 0.8f, 1.0f) : RangeOf(lcg.Next(), -1.0f, -0.8f);
    EXPECT_EQ(scene->wind.gust, gust);
    EXPECT_EQ(scene->wind.gustRate, RangeOf(lcg.Next(), -1.0f, 1.0f));
    ReleaseFlakeScene(*scene);
}

TEST(BuildFlakeScene, AViewWithoutWidthDrawsNoX) {
    const uint32_t seed = 31;
    auto scene = DirtyScene();
    SeedRandom(seed);
    ASSERT_EQ(BuildPlain(*scene, 2, 0, 600), 0);
    EXPECT_EQ(scene->minX, 0.5f);
    EXPECT_EQ(scene->maxX, 0.5f);
    ReferenceLcg lcg{seed};
    for (int32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(scene->flakes[i].position.x, 0.5f);
        EXPECT_EQ(scene->flakes[i].position.z, RangeOf(lcg.Next(), 0.0f, 1.0f));
        EXPECT_EQ(scene->flakes[i].size, RangeOf(lcg.Next(), 0.02f, 0.05f));
        for (int n = 0; n < 4; ++n) {
            lcg.Next();
        }
    }
    ReleaseFlakeScene(*scene);
}

TEST(BuildFlakeScene, AViewWithoutHeightGetsTheBoxOfASquareView) {
    for (int32_t width : {0, 1024}) {
        auto scene = DirtyScene();
        ASSERT_EQ(BuildPlain(*scene, 50, width, 0), 0);
        EXPECT_EQ(scene->minX, static_cast<float>(0.5 - 0.7f));
        EXPECT_EQ(scene->maxX, static_cast<float>(0.5 + 0.7f));
        for (int32_t i = 0; i < scene->flakeCount; ++i) {
            EXPECT_TRUE(std::isfinite(scene->flakes[i].position.x));
            EXPECT_GE(scene->flakes[i].position.x, scene->minX);
            EXPECT_LE(scene->flakes[i].position.x, scene->maxX);
        }
        ReleaseFlakeScene(*scene);
    }
}

TEST(BuildFlakeScene, EmptyAndNegativeCounts) {
    auto scene = DirtyScene();
    EXPECT_EQ(BuildPlain(*scene, 0, 640, 480), 0);
    EXPECT_EQ(scene->flakeCount, 0);
    EXPECT_EQ(scene->flakes, nullptr);
    ReleaseFlakeScene(*scene);

    auto negative = DirtyScene();
    EXPECT_EQ(BuildPlain(*negative, -5, 640, 480), 1);
    EXPECT_EQ(negative->flakeCount, 0);
    EXPECT_EQ(negative->flakes, nullptr);
    ReleaseFlakeScene(*negative);
}

TEST(SetFlakeSceneView, EveryFlakeKeepsItsShareOfTheBoxWidthThroughAResize) {
    auto scene = DirtyScene();
    SeedRandom(8);
    ASSERT_EQ(BuildPlain(*scene, 400, 1024, 768), 0);
    auto shares = [&scene] {
        std::vector<double> share;
        for (int32_t i = 0; i < scene->flakeCount; ++i) {
            share.push_back((scene->flakes[i].position.x - scene->minX) /
                            (static_cast<double>(scene->maxX) - scene->minX));
        }
        return share;
    };
    const std::vector<double> before = shares();
    // Narrower, then wider than at the start.
    for (auto size : {std::make_pair(300, 768), std::make_pair(1600, 600)}) {
        SetFlakeSceneView(*scene, size.first, size.second);
        const std::vector<double> after = shares();
        for (size_t i = 0; i < before.size(); ++i) {
            ASSERT_NEAR(after[i], before[i], 1e-5) << size.first << " x " << size.second;
        }
    }
    ReleaseFlakeScene(*scene);
}

TEST(SetFlakeSceneView, AnUprightViewTakenLikeLandscapeGetsTheLandscapeBoxTurned) {
    auto scene = DirtyScene();
    SeedRandom(8);
    ASSERT_EQ(BuildPlain(*scene, 400, 844, 390), 0);
    const float landscapeWidth = scene->maxX - scene->minX;
    // The saver's rule: the box narrows with the view, the height stays.
    SetFlakeSceneView(*scene, 390, 844);
    EXPECT_NEAR(scene->maxX - scene->minX, landscapeWidth * 390 * 390 / (844.0 * 844.0), 1e-5);
    EXPECT_EQ(scene->maxY - scene->minY, 1.9f);
    // Taken like landscape: a square view's width, and 844 / 390 times the
    // height; the flakes keep their share of it.
    scene->uprightLikeLandscape = 1;
    const double share = (scene->flakes[7].position.y - scene->minY) / 1.9;
    SetFlakeSceneView(*scene, 390, 844);
    EXPECT_NEAR(scene->maxX - scene->minX, 1.4, 1e-5);
    EXPECT_NEAR(scene->maxY - scene->minY, 1.9 * 844 / 390, 1e-5);
    EXPECT_NEAR((scene->flakes[7].position.y - scene->minY) / (scene->maxY - scene->minY), share,
                1e-5);
    // Landscape again: the saver's box.
    SetFlakeSceneView(*scene, 844, 390);
    EXPECT_EQ(scene->minY, -0.5f);
    EXPECT_EQ(scene->maxY, 1.4f);
    EXPECT_NEAR(scene->maxX - scene->minX, landscapeWidth, 1e-5);
    ReleaseFlakeScene(*scene);
}

TEST(ReleaseFlakeScene, FreesBothArraysAndIsSafeTwice) {
    std::vector<unsigned char> cells = RandomCells(16, 2);
    auto scene = DirtyScene();
    const NoiseCells table = TableOf(cells, 2, 2, 2, 2);
    ASSERT_EQ(BuildFlakeScene(*scene, {10, 640, 480, 0.5f, &table}, kQuiet), 0);
    ASSERT_NE(scene->wind.values, nullptr);
    ReleaseFlakeScene(*scene);
    EXPECT_EQ(scene->wind.values, nullptr);
    EXPECT_EQ(scene->flakes, nullptr);
    EXPECT_EQ(scene->flakeCount, 0);
    ReleaseFlakeScene(*scene);

    auto plain = DirtyScene();
    ASSERT_EQ(BuildPlain(*plain, 10, 640, 480), 0);
    EXPECT_EQ(plain->wind.values, nullptr);
    ReleaseFlakeScene(*plain);
    ReleaseFlakeScene(*plain);
    EXPECT_EQ(plain->flakes, nullptr);
}

TEST(FlakeCountForQuantity, EveryStoredPercentage) {
    for (uint32_t p = 0; p <= 100; ++p) {
        float quantity = static_cast<float>(p / 100.0);
        int32_t expected = static_cast<int32_t>(49 * p + 100);
        if (p == 39 || p == 53 || p == 59 || p == 78) {
            expected -= 1; // the product rounds to a float just below
        }
        EXPECT_EQ(FlakeCountForQuantity(quantity), expected) << p;
    }
    EXPECT_EQ(FlakeCountForQuantity(0.0f), 100);
    EXPECT_EQ(FlakeCountForQuantity(0.5f), 2550);
    EXPECT_EQ(FlakeCountForQuantity(1.0f), 5000);
    EXPECT_EQ(FlakeCountForQuantity(0.39f), 2010);
    EXPECT_EQ(FlakeCountForQuantity(0.53f), 2696);
    EXPECT_EQ(FlakeCountForQuantity(0.59f), 2990);
    EXPECT_EQ(FlakeCountForQuantity(0.78f), 3921);
}

TEST(FlakeCountForQuantity, QuantitiesOutsideTheSettingRangeAreHeldToIt) {
    EXPECT_EQ(FlakeCountForQuantity(-1.0f), 100);
    EXPECT_EQ(FlakeCountForQuantity(7.0f), 5000);
    EXPECT_EQ(FlakeCountForQuantity(std::numeric_limits<float>::quiet_NaN()), 100);
    EXPECT_EQ(FlakeCountForQuantity(std::numeric_limits<float>::infinity()), 5000);
}
