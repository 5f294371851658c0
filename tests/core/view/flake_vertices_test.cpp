#include "core/view/flake_vertices.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

namespace {
// A scene of the given flakes in a box from -0.5 to 1.5 across and -0.5 to
// 1.4 high, as BuildFlakeVertices reads it.
struct VertexScene {
    FlakeScene scene{};
    std::vector<Flake> flakes;
    // Room for eight vertices a flake, as the saver allocates it; filled with
    // a pattern so that untouched vertices show.
    std::vector<FlakeVertex> vertices;

    explicit VertexScene(const std::vector<Vec3>& positions, float size = 0.03f) {
        for (const Vec3& p : positions) {
            Flake f{};
            f.position = p;
            f.size = size;
            flakes.push_back(f);
        }
        scene.flakeCount = static_cast<int32_t>(flakes.size());
        scene.flakes = flakes.data();
        scene.minX = -0.5f;
        scene.maxX = 1.5f;
        scene.minY = -0.5f;
        scene.maxY = 1.4f;
        vertices.resize(flakes.size() * 8 + 1);
        std::memset(vertices.data(), 0xCD, vertices.size() * sizeof(FlakeVertex));
    }

    const FlakeVertex* Of(int32_t i) { return vertices.data() + 4 * i; }
};

bool Untouched(const FlakeVertex& v) {
    FlakeVertex pattern;
    std::memset(&pattern, 0xCD, sizeof pattern);
    return std::memcmp(&v, &pattern, sizeof v) == 0;
}
} // namespace

TEST(FlakeVertices, FourVerticesInStripOrder) {
    VertexScene s({{0.5f, 0.25f, 0.0f}}, 0.04f);
    BuildFlakeVertices(s.scene, s.vertices.data());
    const FlakeVertex* v = s.Of(0);
    const float x = 0.0f;                   // W * (2 * 0.5 - 1)
    const float y = 1.9f * (2 * 0.25f - 1); // H * (2 * 0.25 - 1)
    const float half = 0.04f;
    EXPECT_EQ(v[0].x, x - half);
    EXPECT_FLOAT_EQ(v[0].y, y - half);
    EXPECT_EQ(v[0].u, 0.0f);
    EXPECT_EQ(v[0].v, 0.0f);
    EXPECT_EQ(v[1].x, x - half);
    EXPECT_FLOAT_EQ(v[1].y, y + half);
    EXPECT_EQ(v[1].u, 0.0f);
    EXPECT_EQ(v[1].v, 1.0f);
    EXPECT_EQ(v[2].x, x + half);
    EXPECT_FLOAT_EQ(v[2].y, y - half);
    EXPECT_EQ(v[2].u, 1.0f);
    EXPECT_EQ(v[2].v, 0.0f);
    EXPECT_EQ(v[3].x, x + half);
    EXPECT_FLOAT_EQ(v[3].y, y + half);
    EXPECT_EQ(v[3].u, 1.0f);
    EXPECT_EQ(v[3].v, 1.0f);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(v[k].z, 2.0f);
        EXPECT_EQ(v[k].diffuse, 0xFFFFFFFFu);
    }
}

TEST(FlakeVertices, DepthSetsDistanceSizeAndOpacity) {
    VertexScene s({{0.5f, 0.5f, 0.0f},
                   {0.5f, 0.5f, 1.0f},
                   {0.5f, 0.5f, 0.5f},
                   {0.5f, 0.5f, -0.1f},
                   {0.5f, 0.5f, 1.2f}},
                  0.02f);
    BuildFlakeVertices(s.scene, s.vertices.data());
    // Front: opaque, the base half side, at depth 2.
    EXPECT_EQ(s.Of(0)[0].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(s.Of(0)[3].x - s.Of(0)[0].x, 2 * 0.02f);
    EXPECT_EQ(s.Of(0)[0].z, 2.0f);
    // Back: clear, twice the half side, at depth 5.
    EXPECT_EQ(s.Of(1)[0].diffuse, 0x00FFFFFFu);
    EXPECT_FLOAT_EQ(s.Of(1)[3].x - s.Of(1)[0].x, 4 * 0.02f);
    EXPECT_EQ(s.Of(1)[0].z, 5.0f);
    // Half way: alpha floor(127.5).
    EXPECT_EQ(s.Of(2)[0].diffuse, 0x7FFFFFFFu);
    EXPECT_EQ(s.Of(2)[0].z, 3.5f);
    // Outside the box the opacity is held, while size and depth go on.
    EXPECT_EQ(s.Of(3)[0].diffuse, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(s.Of(3)[0].z, 1.7f);
    EXPECT_EQ(s.Of(4)[0].diffuse, 0x00FFFFFFu);
    EXPECT_FLOAT_EQ(s.Of(4)[0].z, 5.6f);
    EXPECT_FLOAT_EQ(s.Of(4)[3].x - s.Of(4)[0].x, 2 * 2.2f * 0.02f);
}

TEST(FlakeVertices, PositionsSpanTheBox) {
    VertexScene s({{0.5f, 0.0f, 0.0f}, {1.0f, 1.0f, 0.0f}}, 0.0f);
    BuildFlakeVertices(s.scene, s.vertices.data());
    EXPECT_EQ(s.Of(0)[0].x, 0.0f);
    EXPECT_EQ(s.Of(1)[0].x, 2.0f);
    EXPECT_FLOAT_EQ(s.Of(0)[0].y, -1.9f);
    EXPECT_FLOAT_EQ(s.Of(1)[0].y, 1.9f);
}

TEST(FlakeVertices, NinetySixBytesAFlakeAndTheRestUntouched) {
    std::vector<Vec3> positions;
    for (int i = 0; i < 10; ++i) {
        positions.push_back({i / 10.0f, 0.5f, i / 20.0f});
    }
    VertexScene s(positions);
    BuildFlakeVertices(s.scene, s.vertices.data());
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(s.vertices.data());
    for (int i = 0; i < 10; ++i) {
        const FlakeVertex* v = reinterpret_cast<const FlakeVertex*>(bytes + 96 * i);
        EXPECT_EQ(v[0].z, static_cast<float>(3.0 * positions[i].z + 2.0)) << i;
        EXPECT_FALSE(Untouched(v[3]));
    }
    for (size_t k = 40; k < s.vertices.size(); ++k) {
        EXPECT_TRUE(Untouched(s.vertices[k])) << k;
    }
}

TEST(FlakeVertices, NoFlakesWriteNothing) {
    VertexScene s({{0.5f, 0.5f, 0.5f}});
    s.scene.flakeCount = 0;
    BuildFlakeVertices(s.scene, s.vertices.data());
    EXPECT_TRUE(Untouched(s.vertices[0]));
    s.scene.flakeCount = -3;
    BuildFlakeVertices(s.scene, s.vertices.data());
    EXPECT_TRUE(Untouched(s.vertices[0]));
}
