// Lost-device recovery against a recording device double.
#include <gtest/gtest.h>

#include <chrono>

#include "fake_direct3d.h"
#include "windows/render/lost_device.h"
#include "windows/render/lost_device_testing.h"
#include "windows/render/render_setup.h"
#include "scoped_work_dir.h"

namespace {

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
        gSleeps.clear();
        SetLostDeviceSleep(RecordSleep);
        // Start-up: the states and the camera, as scene setup makes them.
        ApplyRenderStates(&device_, SpriteMarker());
        SetupCamera(&device_, kClientWidth, kClientHeight);
        device_.calls.clear();
    }
    void TearDown() override { SetLostDeviceSleep(nullptr); }
    ScopedWorkDir dir_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    FakeDevice device_;
    D3DPRESENT_PARAMETERS parameters_{};
};

TEST_F(LostDevice, ALostDeviceLogsOnceAndWaitsHalfASecond) {
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICELOST), D3DERR_DEVICELOST);
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICELOST\r\n");
    EXPECT_EQ(gSleeps, (std::vector<DWORD>{500}));
    EXPECT_TRUE(device_.calls.empty());
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

TEST_F(LostDevice, ASuccessfulResetIsReportedAndCreatesNothing) {
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICENOTRESET), D3D_OK);
    EXPECT_EQ(device_.resetParameters, &parameters_);
    EXPECT_EQ(device_.calls, std::vector<std::string>{"Reset"});
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICENOTRESET\r\n");
}

TEST_F(LostDevice, AFailedResetIsReportedRestoresNothingAndWaitsLikeALostDevice) {
    device_.resetResult = D3DERR_DEVICELOST;
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICENOTRESET), D3DERR_DEVICELOST);
    EXPECT_EQ(device_.Count("Reset"), 1);
    EXPECT_EQ(gSleeps, (std::vector<DWORD>{500}));
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICENOTRESET\r\n");

    // The next frame that sees the device resettable tries again.
    device_.resetResult = D3D_OK;
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, D3DERR_DEVICENOTRESET), D3D_OK);
    EXPECT_EQ(device_.Count("Reset"), 2);
}

TEST_F(LostDevice, AnyOtherCodeIsOnlyLogged) {
    const HRESULT internal = static_cast<HRESULT>(0x88760827u); // D3DERR_DRIVERINTERNALERROR
    EXPECT_EQ(dhHandleLostDevice(&device_, &parameters_, internal), internal);
    EXPECT_TRUE(device_.calls.empty());
    EXPECT_TRUE(gSleeps.empty());
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DRIVERINTERNALERROR\r\n");
}

} // namespace
