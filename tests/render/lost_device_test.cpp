// Lost-device recovery against a recording device double.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "fake_direct3d.h"
#include "host/restore_device_state.h"
#include "render/lost_device.h"
#include "render/lost_device_testing.h"
#include "render/render_setup.h"
#include "scoped_work_dir.h"

namespace {

// What the saver's host does after a reset, on the device under test.
FakeDevice* gRestoreDevice = nullptr;
int gRestoreCalls = 0;
const int32_t kClientWidth = 1024;
const int32_t kClientHeight = 768;

IDirect3DTexture9* SpriteMarker() {
    static int marker;
    return reinterpret_cast<IDirect3DTexture9*>(&marker);
}

std::vector<DWORD> gSleeps;
void RecordSleep(DWORD milliseconds) {
    gSleeps.push_back(milliseconds);
}

class LostDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        gRestoreDevice = &device_;
        gRestoreCalls = 0;
        gSleeps.clear();
        SetLostDeviceSleep(RecordSleep);
        // Start-up: the states and the camera, as scene setup makes them.
        ApplyRenderStates(&device_, SpriteMarker());
        SetupCamera(&device_, kClientWidth, kClientHeight);
        device_.calls.clear();
    }
    void TearDown() override {
        SetLostDeviceSleep(nullptr);
        gRestoreDevice = nullptr;
    }
    ScopedWorkDir dir_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    FakeDevice device_;
    D3DPRESENT_PARAMETERS parameters_{};
};

TEST_F(LostDevice, ALostDeviceLogsOnceAndWaitsHalfASecond) {
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICELOST), D3DERR_DEVICELOST);
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICELOST\r\n");
    EXPECT_EQ(gSleeps, (std::vector<DWORD>{500}));
    EXPECT_TRUE(device_.calls.empty());
    EXPECT_EQ(gRestoreCalls, 0);
}

TEST_F(LostDevice, EveryLostFrameWritesOneLineAndSleepsOnce) {
    for (int frame = 0; frame < 3; ++frame) {
        dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICELOST);
    }
    const std::string line = "dhHandleLostDevice  : D3DERR_DEVICELOST\r\n";
    EXPECT_EQ(ScopedWorkDir::LogBytes(), line + line + line);
    EXPECT_EQ(gSleeps, (std::vector<DWORD>{500, 500, 500}));
}

TEST_F(LostDevice, TheRealWaitLastsAtLeastHalfASecond) {
    SetLostDeviceSleep(nullptr);
    auto start = std::chrono::steady_clock::now();
    dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICELOST);
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
    EXPECT_GE(waited, 490);
}

TEST_F(LostDevice, ASuccessfulResetRestoresTheStartUpState) {
    const FakeDevice startUp = device_;
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICENOTRESET), D3D_OK);
    EXPECT_EQ(device_.resetParameters, &parameters_);
    EXPECT_EQ(device_.Count("Reset"), 1);
    EXPECT_EQ(gRestoreCalls, 1);
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(device_.renderStates, startUp.renderStates);
    EXPECT_EQ(device_.textureStageStates, startUp.textureStageStates);
    EXPECT_EQ(device_.samplerStates, startUp.samplerStates);
    EXPECT_EQ(device_.textures, startUp.textures);
    ASSERT_EQ(device_.transforms.size(), 2u);
    for (auto kind : {D3DTS_VIEW, D3DTS_PROJECTION}) {
        EXPECT_EQ(0, std::memcmp(&device_.transforms[kind], &startUp.transforms.at(kind),
                                 sizeof(D3DMATRIX)));
    }
    EXPECT_EQ(device_.renderStates.size(), 5u);
    EXPECT_EQ(device_.textureStageStates.size(), 7u);
    EXPECT_EQ(device_.samplerStates.size(), 2u);
    // Nothing is created again: the managed texture survives a reset.
    EXPECT_EQ(device_.createTextureCalls, 0);
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICENOTRESET\r\n");
}

TEST_F(LostDevice, AFailedResetIsReportedRestoresNothingAndWaitsLikeALostDevice) {
    device_.resetResult = D3DERR_DEVICELOST;
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICENOTRESET), D3DERR_DEVICELOST);
    EXPECT_EQ(device_.Count("Reset"), 1);
    EXPECT_EQ(gRestoreCalls, 0);
    EXPECT_EQ(gSleeps, (std::vector<DWORD>{500}));
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICENOTRESET\r\n");

    // The next frame that sees the device resettable tries again.
    device_.resetResult = D3D_OK;
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICENOTRESET), D3D_OK);
    EXPECT_EQ(device_.Count("Reset"), 2);
    EXPECT_EQ(gRestoreCalls, 1);
}

TEST_F(LostDevice, AnyOtherCodeIsOnlyLogged) {
    const HRESULT internal = static_cast<HRESULT>(0x88760827u); // D3DERR_DRIVERINTERNALERROR
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, internal), internal);
    EXPECT_TRUE(device_.calls.empty());
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DRIVERINTERNALERROR\r\n");
}

} // namespace

void RestoreDeviceState() {
    ++gRestoreCalls;
    if (gRestoreDevice) {
        ApplyRenderStates(gRestoreDevice, SpriteMarker());
        SetupCamera(gRestoreDevice, kClientWidth, kClientHeight);
    }
}
