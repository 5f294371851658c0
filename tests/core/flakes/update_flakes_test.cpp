#include "core/flakes/update_flakes.h"

#include <cmath>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "core/math/random.h"
#include "core/wind/test_tables.h"

namespace {
struct SceneHolder {
    FlakeScene scene{};
    std::vector<unsigned char> cells;
    ~SceneHolder() { ReleaseFlakeScene(scene); }
};

std::unique_ptr<SceneHolder> PlainScene(int32_t count, uint32_t seed = 1) {
    auto holder = std::make_unique<SceneHolder>();
    SeedRandom(seed);
    EXPECT_EQ(BuildFlakeScene(holder->scene, {count, 1024, 768, 0.5f, nullptr}, kQuiet), 0);
    return holder;
}

// A fractal scene over a table with every cell the same byte.
std::unique_ptr<SceneHolder> UniformScene(int32_t count, unsigned char cell, uint32_t seed = 1) {
    auto holder = std::make_unique<SceneHolder>();
    holder->cells.assign(16 * 16 * 16 * 16, cell);
    SeedRandom(seed);
    const NoiseCells table = TableOf(holder->cells, 16, 16, 16, 16);
    EXPECT_EQ(BuildFlakeScene(holder->scene, {count, 1024, 768, 1.0f, &table}, kQuiet), 0);
    return holder;
}

std::unique_ptr<SceneHolder> FractalScene(int32_t count, uint32_t seed = 1) {
    auto holder = std::make_unique<SceneHolder>();
    holder->cells = RandomCells(16 * 16 * 16 * 16, seed);
    SeedRandom(seed);
    const NoiseCells table = TableOf(holder->cells, 16, 16, 16, 16);
    EXPECT_EQ(BuildFlakeScene(holder->scene, {count, 1024, 768, 1.0f, &table}, kQuiet), 0);
    return holder;
}

// Every flake released, without moving anything.
void ReleaseAll(FlakeScene& scene) {
    scene.releaseClockMs = (static_cast<uint32_t>(scene.flakeCount) + 1) * scene.releaseIntervalMs;
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        scene.flakes[i].active = 1;
    }
}

bool SameFlake(const Flake& a, const Flake& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The next value of the process generator, without disturbing the sequence
// that the code under test sees: read it and put the state back.
uint32_t PeekDraws(uint32_t seed, int skip) {
    ReferenceLcg lcg{seed};
    for (int n = 0; n < skip; ++n) {
        lcg.Next();
    }
    return lcg.Next();
}

float RangeOf(uint32_t draw, float lo, float hi) {
    return static_cast<float>(lo + draw * (static_cast<double>(hi) - lo) / 32767.0);
}
} // namespace

TEST(UpdateFlakes, AFirstShortUpdateMovesNoFlakeButWalksTheWind) {
    auto holder = FractalScene(100);
    FlakeScene& scene = holder->scene;
    std::vector<Flake> before(scene.flakes, scene.flakes + scene.flakeCount);
    NoiseTable wind = scene.wind;

    SeedRandom(2024);
    UpdateFlakes(scene, 150 * 1000); // below the 200 ms interval
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        EXPECT_TRUE(SameFlake(scene.flakes[i], before[i])) << i;
    }
    EXPECT_EQ(scene.releaseClockMs, 150u);

    float r = RangeOf(PeekDraws(2024, 0), -1.0f, 1.0f);
    float gustRate = static_cast<float>(wind.gustRate + r * 0.001 * 150.0);
    gustRate = std::fmin(1.0f, std::fmax(-1.0f, gustRate));
    float gust = static_cast<float>(wind.gust + gustRate * 0.0005 * 150.0);
    gust = std::fmin(1.0f, std::fmax(-1.0f, gust));
    EXPECT_EQ(scene.wind.gustRate, gustRate);
    EXPECT_EQ(scene.wind.gust, gust);
    EXPECT_EQ(scene.wind.drift.x, scene.wind.windSpeed * gust);
    EXPECT_EQ(scene.wind.drift.y, 0.0f);
    // Exactly one draw was made.
    EXPECT_EQ(RandomInt(0, 32767), static_cast<int32_t>(PeekDraws(2024, 1)));

    float expectedX = static_cast<float>(wind.offset.x - scene.wind.drift.x * 4.0f);
    expectedX = static_cast<float>(expectedX - std::floor(expectedX));
    EXPECT_EQ(scene.wind.offset.x, expectedX);
    EXPECT_EQ(scene.wind.offset.y, wind.offset.y);
    EXPECT_EQ(scene.wind.phase,
              static_cast<float>(std::fmod(wind.phase + static_cast<double>(0.00005f) * 150, 1.0)));
}

TEST(UpdateFlakes, AReleasedFlakeMovesInTheSameUpdate) {
    auto holder = PlainScene(100);
    FlakeScene& scene = holder->scene;
    Flake before0 = scene.flakes[0];
    Flake before1 = scene.flakes[1];
    UpdateFlakes(scene, 250 * 1000); // one interval of 200 ms has passed
    EXPECT_EQ(scene.flakes[0].active, 1);
    EXPECT_NE(scene.flakes[0].position.y, before0.position.y);
    EXPECT_LT(scene.flakes[0].velocity.y, 0.0f);
    EXPECT_EQ(scene.flakes[1].active, 0);
    EXPECT_TRUE(SameFlake(scene.flakes[1], before1));
    UpdateFlakes(scene, 150 * 1000); // 400 ms in all: the second one follows
    EXPECT_EQ(scene.flakes[1].active, 1);
    EXPECT_EQ(scene.flakes[2].active, 0);
}

TEST(UpdateFlakes, ReleaseStopsOnceEveryFlakeIsOut) {
    auto holder = PlainScene(100);
    FlakeScene& scene = holder->scene;
    for (int n = 0; n < 30; ++n) {
        UpdateFlakes(scene, 1000 * 1000);
    }
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        EXPECT_EQ(scene.flakes[i].active, 1);
    }
    // The clock stops counting at the limit of (count + 1) intervals.
    uint32_t clock = scene.releaseClockMs;
    EXPECT_GE(clock, 101u * 200u);
    UpdateFlakes(scene, 1000 * 1000);
    EXPECT_EQ(scene.releaseClockMs, clock);
}

TEST(UpdateFlakes, MicrosecondsAreCutToWholeMilliseconds) {
    auto holder = FractalScene(100);
    FlakeScene& scene = holder->scene;
    ReleaseAll(scene);
    scene.releaseClockMs = 0;
    UpdateFlakes(scene, 1999);
    EXPECT_EQ(scene.releaseClockMs, 1u);

    // Below one millisecond nothing moves, yet the wind draws, drifts and scrolls.
    std::vector<Flake> before(scene.flakes, scene.flakes + scene.flakeCount);
    NoiseTable wind = scene.wind;
    SeedRandom(8);
    UpdateFlakes(scene, 999);
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        EXPECT_TRUE(SameFlake(scene.flakes[i], before[i])) << i;
    }
    EXPECT_EQ(scene.releaseClockMs, 1u);
    EXPECT_EQ(scene.wind.gust, wind.gust);
    EXPECT_EQ(scene.wind.gustRate, wind.gustRate);
    EXPECT_EQ(scene.wind.phase, wind.phase);
    EXPECT_EQ(scene.wind.drift.x, wind.windSpeed * wind.gust);
    EXPECT_NE(scene.wind.offset.x, wind.offset.x);
    EXPECT_EQ(RandomInt(0, 32767), static_cast<int32_t>(PeekDraws(8, 1)));
}

TEST(UpdateFlakes, AStillFlakeFallsUnderGravityAlone) {
    auto holder = PlainScene(1);
    FlakeScene& scene = holder->scene;
    ReleaseAll(scene);
    Flake& f = scene.flakes[0];
    f.size = 0.04f;
    f.mass = 0.032f;
    f.position = Vec3{0.5f, 0.0f, 0.5f};
    scene.wind.gust = 1.0f; // a strong wind changes nothing for a still flake
    UpdateFlakes(scene, 10 * 1000);
    EXPECT_EQ(f.position.x, 0.5f);
    EXPECT_EQ(f.position.z, 0.5f);
    EXPECT_FLOAT_EQ(f.position.y, -6.25e-6f);
    EXPECT_EQ(f.velocity.x, 0.0f);
    EXPECT_EQ(f.velocity.z, 0.0f);
    EXPECT_FLOAT_EQ(f.velocity.y, -1.25e-6f);
}

TEST(UpdateFlakes, ScrollingIsPerUpdateWhilePhaseIsPerMillisecond) {
    auto once = FractalScene(10, 5);
    auto twice = FractalScene(10, 5);
    for (FlakeScene* scene : {&once->scene, &twice->scene}) {
        // gust held at 1 by a rate at its ceiling: the same drift every update
        scene->wind.gust = 1.0f;
        scene->wind.gustRate = 1.0f;
        scene->wind.offset = Vec3{0.5f, 0.5f, 0.5f};
        scene->wind.phase = 0.25f;
    }
    UpdateFlakes(once->scene, 10 * 1000);
    UpdateFlakes(twice->scene, 5 * 1000);
    UpdateFlakes(twice->scene, 5 * 1000);
    float step = once->scene.wind.windSpeed * 4.0f;
    EXPECT_EQ(once->scene.wind.gust, 1.0f);
    EXPECT_EQ(twice->scene.wind.gust, 1.0f);
    EXPECT_NEAR(0.5f - once->scene.wind.offset.x, step, 1e-6);
    EXPECT_NEAR(0.5f - twice->scene.wind.offset.x, 2 * step, 1e-6);
    EXPECT_NEAR(once->scene.wind.phase, twice->scene.wind.phase, 1e-7);
    EXPECT_NEAR(once->scene.wind.phase, 0.2505f, 1e-7);
}

TEST(UpdateFlakes, GustAndItsRateStopAtTheirLimits) {
    auto holder = PlainScene(1);
    FlakeScene& scene = holder->scene;
    scene.wind.gust = 0.9999f;
    scene.wind.gustRate = 0.9999f;
    UpdateFlakes(scene, 10 * 1000);
    EXPECT_EQ(scene.wind.gust, 1.0f);
    scene.wind.gust = -0.9999f;
    scene.wind.gustRate = -0.9999f;
    UpdateFlakes(scene, 10 * 1000);
    EXPECT_EQ(scene.wind.gust, -1.0f);
    for (int n = 0; n < 200; ++n) {
        UpdateFlakes(scene, 40000 * 1000);
        ASSERT_LE(std::fabs(scene.wind.gust), 1.0f);
        ASSERT_LE(std::fabs(scene.wind.gustRate), 1.0f);
    }
    // A walk of 200 long steps hits a rate limit somewhere.
    scene.wind.gustRate = 0.99f;
    bool reached = false;
    for (int n = 0; n < 200 && !reached; ++n) {
        UpdateFlakes(scene, 40000 * 1000);
        reached = std::fabs(scene.wind.gustRate) == 1.0f;
    }
    EXPECT_TRUE(reached);
}

TEST(UpdateFlakes, AFlakeOnALimitStaysAndOneBeyondIsPutBack) {
    auto holder = PlainScene(1);
    FlakeScene& scene = holder->scene;
    ReleaseAll(scene);
    Flake& f = scene.flakes[0];
    const float limitX = static_cast<float>(scene.maxX + 0.1);
    // dt 0: nothing moves, so the box rules alone act.
    f.position = Vec3{limitX, 0.5f, 0.5f};
    f.velocity = Vec3{1e-5f, 0.0f, 0.0f};
    UpdateFlakes(scene, 999);
    EXPECT_EQ(f.position.x, limitX);
    EXPECT_EQ(f.velocity.x, 1e-5f);

    f.position.x = std::nextafter(limitX, 10.0f);
    SeedRandom(40);
    UpdateFlakes(scene, 999);
    EXPECT_EQ(f.position.x, scene.minX);
    EXPECT_EQ(f.position.z, RangeOf(PeekDraws(40, 1), scene.minZ, scene.maxZ));
    EXPECT_EQ(f.position.y, RangeOf(PeekDraws(40, 2), scene.minY, scene.maxY));
    EXPECT_EQ(f.velocity.x, 0.0f);
    EXPECT_EQ(f.active, 1);
}

TEST(UpdateFlakes, EachFaceSendsAFlakeToTheOppositeOne) {
    auto holder = PlainScene(1);
    FlakeScene& scene = holder->scene;
    ReleaseAll(scene);
    Flake& f = scene.flakes[0];
    const float size = f.size;
    struct Case {
        Vec3 at;
        char fixedAxis;
        float fixedValue;
        char first;  // axis of the first draw
        char second; // axis of the second draw
    };
    const Case cases[] = {
        {{scene.maxX + 0.2f, 0.5f, 0.5f}, 'x', scene.minX, 'z', 'y'},
        {{scene.minX - 0.2f, 0.5f, 0.5f}, 'x', scene.maxX, 'z', 'y'},
        {{0.5f, 0.5f, 1.2f}, 'z', scene.minZ, 'y', 'x'},
        {{0.5f, 0.5f, -0.2f}, 'z', scene.maxZ, 'y', 'x'},
        {{0.5f, 1.6f, 0.5f}, 'y', scene.minY, 'z', 'x'},
        {{0.5f, -0.7f, 0.5f}, 'y', scene.maxY, 'z', 'x'},
        // Beyond x and y at once: the x rule alone.
        {{scene.maxX + 0.2f, -0.7f, 0.5f}, 'x', scene.minX, 'z', 'y'},
        // Beyond z and y: z comes before y.
        {{0.5f, -0.7f, 1.2f}, 'z', scene.minZ, 'y', 'x'},
    };
    auto axisOf = [](const Vec3& v, char axis) {
        return axis == 'x' ? v.x : axis == 'y' ? v.y : v.z;
    };
    auto rangeOf = [&](char axis, uint32_t draw) {
        if (axis == 'x') {
            return RangeOf(draw, scene.minX, scene.maxX);
        }
        if (axis == 'y') {
            return RangeOf(draw, scene.minY, scene.maxY);
        }
        return RangeOf(draw, scene.minZ, scene.maxZ);
    };
    uint32_t seed = 100;
    for (const Case& c : cases) {
        f.position = c.at;
        f.velocity = Vec3{1e-6f, 1e-6f, 1e-6f};
        SeedRandom(seed);
        UpdateFlakes(scene, 999);
        EXPECT_EQ(axisOf(f.position, c.fixedAxis), c.fixedValue) << c.fixedAxis;
        EXPECT_EQ(axisOf(f.position, c.first), rangeOf(c.first, PeekDraws(seed, 1)));
        EXPECT_EQ(axisOf(f.position, c.second), rangeOf(c.second, PeekDraws(seed, 2)));
        EXPECT_EQ(f.velocity.x, 0.0f);
        EXPECT_EQ(f.velocity.y, 0.0f);
        EXPECT_EQ(f.velocity.z, 0.0f);
        EXPECT_EQ(f.size, size);
        ++seed;
    }
}

TEST(UpdateFlakes, PlainWindBlowsTheSameForEveryFlake) {
    auto holder = PlainScene(2);
    FlakeScene& scene = holder->scene;
    ReleaseAll(scene);
    const float phase = scene.wind.phase;
    const Vec3 offset = scene.wind.offset;
    Flake twin = scene.flakes[0];
    twin.position = Vec3{0.1f, 0.3f, 0.9f};
    twin.velocity = Vec3{2e-5f, -3e-5f, 1e-6f};
    scene.flakes[0] = twin;
    twin.position = Vec3{0.9f, 0.6f, 0.2f};
    scene.flakes[1] = twin;
    UpdateFlakes(scene, 10 * 1000);
    EXPECT_EQ(scene.flakes[0].velocity.x, scene.flakes[1].velocity.x);
    EXPECT_EQ(scene.flakes[0].velocity.y, scene.flakes[1].velocity.y);
    EXPECT_EQ(std::memcmp(&scene.wind.phase, &phase, sizeof phase), 0);
    EXPECT_EQ(std::memcmp(&scene.wind.offset, &offset, sizeof offset), 0);
}

TEST(UpdateFlakes, TheNoiseScalesTheDriftBetweenNothingAndAll) {
    // A table of 255 everywhere samples +1: the full drift, as plain wind.
    auto full = UniformScene(1, 255);
    auto calm = UniformScene(1, 0);
    auto plain = PlainScene(1);
    for (FlakeScene* scene : {&full->scene, &calm->scene, &plain->scene}) {
        ReleaseAll(*scene);
        scene->wind.windSpeed = 0.0006f;
        scene->wind.gust = 1.0f;
        scene->wind.gustRate = 1.0f;
        Flake& f = scene->flakes[0];
        f = full->scene.flakes[0];
        f.active = 1;
        f.position = Vec3{0.5f, 0.5f, 0.5f};
        f.velocity = Vec3{0.0f, -5e-5f, 0.0f};
        SeedRandom(1);
        UpdateFlakes(*scene, 10 * 1000);
    }
    EXPECT_EQ(full->scene.flakes[0].velocity.x, plain->scene.flakes[0].velocity.x);
    EXPECT_GT(full->scene.flakes[0].velocity.x, 0.0f);
    // Without wind the drag pulls against the fall alone.
    EXPECT_EQ(calm->scene.flakes[0].velocity.x, 0.0f);
}

TEST(UpdateFlakes, DragPullsTowardsTheWind) {
    auto holder = PlainScene(1);
    FlakeScene& scene = holder->scene;
    ReleaseAll(scene);
    scene.wind.gust = -1.0f;
    scene.wind.gustRate = -1.0f;
    Flake& f = scene.flakes[0];
    f.position = Vec3{0.5f, 0.5f, 0.5f};
    f.velocity = Vec3{0.0f, -1e-4f, 0.0f};
    UpdateFlakes(scene, 10 * 1000);
    EXPECT_LT(f.velocity.x, 0.0f);
    // Falling faster than the terminal speed: drag slows the fall.
    EXPECT_GT(f.velocity.y, -1e-4f);
}
