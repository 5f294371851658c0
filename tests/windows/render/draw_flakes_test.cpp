// The call sequence of a frame against a recording device double.
#include <gtest/gtest.h>

#include "fake_direct3d.h"
#include "windows/render/draw_flakes.h"

namespace {

using Calls = std::vector<std::string>;

FlakeScene SceneOf(int32_t count) {
    FlakeScene scene{};
    scene.flakeCount = count;
    return scene;
}

TEST(DrawFlakes, ClearsDrawsOneStripPerFlakeAndPresents) {
    FakeDevice device;
    device.presentResult = static_cast<HRESULT>(0x0876086Fu); // a success code passes through
    std::vector<FlakeVertex> vertices(3 * 8);
    FlakeScene scene = SceneOf(3);
    EXPECT_EQ(DrawFlakes(&device, scene, vertices.data()), static_cast<HRESULT>(0x0876086Fu));
    EXPECT_EQ(device.calls, (Calls{"Clear", "BeginScene", "SetFVF", "DrawPrimitiveUP",
                                   "DrawPrimitiveUP", "DrawPrimitiveUP", "EndScene", "Present"}));
    EXPECT_EQ(device.clearArgs.count, 0u);
    EXPECT_EQ(device.clearArgs.rects, nullptr);
    EXPECT_EQ(device.clearArgs.flags, static_cast<DWORD>(D3DCLEAR_TARGET));
    EXPECT_EQ(device.clearArgs.colour, 0x00000000u);
    EXPECT_EQ(device.clearArgs.z, 1.0f);
    EXPECT_EQ(device.clearArgs.stencil, 0u);
    EXPECT_EQ(device.fvf, 0x142u);
    ASSERT_EQ(device.draws.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(device.draws[i].type, D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(device.draws[i].primitiveCount, 2u);
        // Flake i starts 96 bytes further on: vertex 4 i.
        EXPECT_EQ(device.draws[i].data, &vertices[4 * i]);
        EXPECT_EQ(device.draws[i].stride, 24u);
    }
    EXPECT_TRUE(device.presentArgumentsAllNull);
}

TEST(DrawFlakes, NoFlakesStillClearsAndPresents) {
    FakeDevice device;
    FlakeScene scene = SceneOf(0);
    EXPECT_EQ(DrawFlakes(&device, scene, nullptr), D3D_OK);
    EXPECT_EQ(device.calls, (Calls{"Clear", "BeginScene", "SetFVF", "EndScene", "Present"}));
    FlakeScene negative = SceneOf(-5);
    FakeDevice other;
    EXPECT_EQ(DrawFlakes(&other, negative, nullptr), D3D_OK);
    EXPECT_EQ(other.Count("DrawPrimitiveUP"), 0);
}

TEST(DrawFlakes, AFailingClearEndsTheFrameWithItsResult) {
    FakeDevice device;
    device.clearResult = D3DERR_DEVICELOST;
    std::vector<FlakeVertex> vertices(8);
    EXPECT_EQ(DrawFlakes(&device, SceneOf(1), vertices.data()), D3DERR_DEVICELOST);
    EXPECT_EQ(device.calls, (Calls{"Clear"}));
}

TEST(DrawFlakes, AFailingBeginSceneEndsTheFrameWithoutEndSceneOrPresent) {
    FakeDevice device;
    device.beginSceneResult = D3DERR_INVALIDCALL;
    std::vector<FlakeVertex> vertices(8);
    EXPECT_EQ(DrawFlakes(&device, SceneOf(1), vertices.data()), D3DERR_INVALIDCALL);
    EXPECT_EQ(device.calls, (Calls{"Clear", "BeginScene"}));
}

TEST(DrawFlakes, PresentsResultCountsEvenWhenDrawsAndEndSceneFail) {
    FakeDevice device;
    device.drawResult = D3DERR_INVALIDCALL;
    device.endSceneResult = D3DERR_INVALIDCALL;
    std::vector<FlakeVertex> vertices(2 * 8);
    EXPECT_EQ(DrawFlakes(&device, SceneOf(2), vertices.data()), D3D_OK);
    EXPECT_EQ(device.Count("DrawPrimitiveUP"), 2);

    FakeDevice lost;
    lost.presentResult = D3DERR_DEVICELOST;
    EXPECT_EQ(DrawFlakes(&lost, SceneOf(2), vertices.data()), D3DERR_DEVICELOST);
    FakeDevice notReset;
    notReset.presentResult = D3DERR_DEVICENOTRESET;
    EXPECT_EQ(DrawFlakes(&notReset, SceneOf(2), vertices.data()), D3DERR_DEVICENOTRESET);
}

} // namespace
