#include "core/math/random.h"
#include "core/math/vec3.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "core/wind/test_tables.h"

namespace {
// RandomInt over the whole 15-bit range is the draw itself.
int32_t Draw() {
    return RandomInt(0, 32767);
}

// A seed whose first draw is the given value.
uint32_t SeedForFirstDraw(uint32_t draw) {
    for (uint32_t seed = 0;; ++seed) {
        ReferenceLcg lcg{seed};
        if (lcg.Next() == draw) {
            return seed;
        }
    }
}
} // namespace

TEST(Random, FollowsTheFixedSequence) {
    SeedRandom(1);
    for (int32_t expected : {41, 18467, 6334, 26500, 19169}) {
        EXPECT_EQ(Draw(), expected);
    }
    SeedRandom(0);
    for (int32_t expected : {38, 7719, 21238}) {
        EXPECT_EQ(Draw(), expected);
    }
}

TEST(Random, RandomIntTakesTheDrawModuloTheRange) {
    SeedRandom(1);
    EXPECT_EQ(RandomInt(1, 4), 1 + 41 % 4);
    EXPECT_EQ(RandomInt(1, 4), 1 + 18467 % 4);
    // Empty and reversed ranges return lo and draw nothing.
    EXPECT_EQ(RandomInt(5, 5), 5);
    EXPECT_EQ(RandomInt(4, 1), 4);
    EXPECT_EQ(Draw(), 6334);
    // The widest range does not overflow.
    int32_t wide =
        RandomInt(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(wide, std::numeric_limits<int32_t>::min() + 26500);
}

TEST(Random, RandomRangeReachesBothEnds) {
    SeedRandom(SeedForFirstDraw(0));
    EXPECT_EQ(RandomRange(0.0f, 1.0f), 0.0f);
    SeedRandom(SeedForFirstDraw(32767));
    EXPECT_EQ(RandomRange(0.0f, 1.0f), 1.0f);
    SeedRandom(SeedForFirstDraw(32767));
    EXPECT_EQ(RandomRange(0.02f, 0.05f), 0.05f);
    SeedRandom(SeedForFirstDraw(32767));
    EXPECT_EQ(RandomRange(-1.0f, -0.8f), -0.8f);
}

TEST(Random, RandomRangeWithoutARangeReturnsLoWithoutDrawing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SeedRandom(1);
    EXPECT_EQ(RandomRange(1.0f, 1.0f), 1.0f);
    EXPECT_EQ(RandomRange(2.0f, 1.0f), 2.0f);
    EXPECT_TRUE(std::isnan(RandomRange(nan, 1.0f)));
    EXPECT_EQ(RandomRange(0.0f, nan), 0.0f);
    EXPECT_EQ(Draw(), 41);
}

TEST(Random, RandomRangeIsComputedInDoublePrecision) {
    SeedRandom(7);
    ReferenceLcg lcg{7};
    for (int n = 0; n < 1000; ++n) {
        float lo = -0.3f;
        float hi = 6.2831855f;
        float value = RandomRange(lo, hi);
        EXPECT_EQ(value,
                  static_cast<float>(lo + lcg.Next() * (static_cast<double>(hi) - lo) / 32767.0));
        EXPECT_GE(value, lo);
        EXPECT_LE(value, hi);
    }
}

TEST(Random, FloorFloat) {
    EXPECT_EQ(FloorFloat(2.999f), 2.0f);
    EXPECT_EQ(FloorFloat(-0.5f), -1.0f);
    EXPECT_EQ(FloorFloat(3.0f), 3.0f);
}

TEST(Vec3, Operations) {
    Vec3 a = Vec3Set(1.0f, -2.0f, 3.0f);
    Vec3 b = Vec3Set(0.5f, 0.25f, -1.0f);
    Vec3 sum = Vec3Add(a, b);
    EXPECT_EQ(sum.x, 1.5f);
    EXPECT_EQ(sum.y, -1.75f);
    EXPECT_EQ(sum.z, 2.0f);
    Vec3 difference = Vec3Subtract(a, b);
    EXPECT_EQ(difference.x, 0.5f);
    EXPECT_EQ(difference.z, 4.0f);
    Vec3 scaled = Vec3Scale(a, -2.0f);
    EXPECT_EQ(scaled.y, 4.0f);
    EXPECT_EQ(Vec3LengthSq(a), 14.0f);
    EXPECT_EQ(Vec3UnitX().x, 1.0f);
    EXPECT_EQ(Vec3UnitY().y, 1.0f);
    EXPECT_EQ(Vec3Clear().z, 0.0f);

    Vec3 unit = Vec3Normalize(Vec3Set(3.0f, 0.0f, -4.0f));
    EXPECT_EQ(unit.x, 0.6f);
    EXPECT_EQ(unit.z, -0.8f);
    Vec3 zero = Vec3Normalize(Vec3Clear());
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    // Too short for a float squared length: returned unchanged, never NaN.
    Vec3 tiny = Vec3Normalize(Vec3Set(1e-30f, 0.0f, 0.0f));
    EXPECT_EQ(tiny.x, 1e-30f);
}

TEST(Vec3, SquaredLengthIsRoundedOnceFromDouble) {
    Vec3 v = Vec3Set(0.1f, 0.2f, 0.3f);
    double x = v.x, y = v.y, z = v.z;
    EXPECT_EQ(Vec3LengthSq(v), static_cast<float>(x * x + y * y + z * z));
}
