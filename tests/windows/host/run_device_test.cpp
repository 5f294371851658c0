// The run's own code with the real steps, against the recording doubles of
// IDirect3D9 and IDirect3DDevice9: the device a desktop gets, frames on a
// troubled device, and the order of the teardown.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "fake_direct3d.h"
#include "core/run/snow_run.h"
#include "windows/host/saver_host.h"
#include "windows/host/saver_lifecycle.h"
#include "windows/host/saver_state.h"
#include "windows/render/lost_device_testing.h"
#include "scoped_work_dir.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5A5A));

class RunDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        gHostState.steps = ProgramSteps();
        gSaverState = SaverState{};
        gSaverState.clientWidth = 1024;
        gSaverState.clientHeight = 768;
        gSaverState.direct3d = &direct3d_;
        direct3d_.acceptedFormats = {D3DFMT_X8R8G8B8};
        direct3d_.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
    }
    void TearDown() override { gSaverState = SaverState{}; }

    // The device made for a window of the run's client size, with the
    // full-screen client area just below it.
    const D3DPRESENT_PARAMETERS& DeviceFor(int32_t monitors) {
        EXPECT_EQ(CreateRunDevice(kWindow, 1024, 740, monitors, 32), D3D_OK);
        EXPECT_EQ(direct3d_.creations.size(), 1u);
        direct3d_.creations.clear();
        return gSaverState.presentParameters;
    }

    FakeDirect3D direct3d_;
};

TEST_F(RunDevice, OneMonitorWhoseSizeIsAModeTakesTheDisplay) {
    const D3DPRESENT_PARAMETERS& parameters = DeviceFor(1);
    EXPECT_EQ(parameters.Windowed, FALSE);
    EXPECT_EQ(parameters.BackBufferWidth, 1024u);
    EXPECT_EQ(parameters.BackBufferHeight, 768u);
    EXPECT_EQ(parameters.BackBufferFormat, D3DFMT_X8R8G8B8);
}

TEST_F(RunDevice, SeveralMonitorsOrASizeWithoutAModeDrawInAWindowOverAllOfIt) {
    for (int32_t monitors : {2, 3}) {
        const D3DPRESENT_PARAMETERS& parameters = DeviceFor(monitors);
        EXPECT_EQ(parameters.Windowed, TRUE) << monitors;
        EXPECT_EQ(parameters.hDeviceWindow, kWindow);
        // Zero: the back buffer takes the whole client area of the window.
        EXPECT_EQ(parameters.BackBufferWidth, 0u);
        EXPECT_EQ(parameters.BackBufferHeight, 0u);
        EXPECT_EQ(parameters.BackBufferFormat, D3DFMT_UNKNOWN);
    }
    // Two 1024 x 768 monitors side by side, as one window.
    gSaverState.clientWidth = 2048;
    EXPECT_EQ(DeviceFor(1).Windowed, TRUE);
}

TEST_F(RunDevice, AnExclusiveDeviceThatCannotBeMadeGivesWayToAWindowedOne) {
    direct3d_.exclusiveCreateResult = D3DERR_NOTAVAILABLE;
    EXPECT_EQ(CreateRunDevice(kWindow, 1024, 740, 1, 32), D3D_OK);
    ASSERT_EQ(direct3d_.creations.size(), 2u);
    EXPECT_EQ(direct3d_.creations[0].windowed, FALSE);
    EXPECT_EQ(direct3d_.creations[1].windowed, TRUE);
    EXPECT_EQ(gSaverState.presentParameters.BackBufferWidth, 0u);
    EXPECT_EQ(gSaverState.presentParameters.BackBufferFormat, D3DFMT_UNKNOWN);

    // When the windowed one fails too, its failure is the run's: it ends with 1.
    direct3d_.creations.clear();
    direct3d_.createResult = D3DERR_NOTAVAILABLE;
    EXPECT_EQ(CreateRunDevice(kWindow, 1024, 740, 1, 32), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(direct3d_.creations.size(), 2u);
}

// A run whose scene is built by the real steps for a 640 x 480 window and
// whose device is the recording double.
class TroubledDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        gHostState.steps = ProgramSteps();
        gSaverState = SaverState{};
        gSaverState.clientWidth = 640;
        gSaverState.clientHeight = 480;
        const SnowRunChoice plainWind = {
            {0.0f, 0.5f, 0}, 640, 480, nullptr, {nullptr, nullptr}, 0, 0, 10, 0};
        ASSERT_EQ(StartSnowRun(gSaverState.run, plainWind), kSnowRunStarted);
        gSaverState.device = &device_;
        SetLostDeviceSleep([](DWORD milliseconds) { gSleeps.push_back(milliseconds); });
        gSleeps.clear();
    }
    void TearDown() override {
        SetLostDeviceSleep(nullptr);
        gSaverState.device = nullptr;
        EndSnowRun(gSaverState.run);
    }

    // One frame; true when the clock and the flakes moved on in it.
    bool FrameAdvances() {
        const SnowRun& run = gSaverState.run;
        const uint32_t ticks = run.tickClock->nowTicks;
        const uint32_t released = run.flakeScene->releaseClockMs;
        Sleep(20);
        RenderFrame();
        return run.tickClock->nowTicks != ticks &&
               run.flakeScene->releaseClockMs == released + run.tickClock->stepMs;
    }

    static std::vector<DWORD> gSleeps;
    ScopedWorkDir dir_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    FakeDevice device_;
};

std::vector<DWORD> TroubledDevice::gSleeps;

TEST_F(TroubledDevice, ALostFrameMovesTheSnowDrawsNothingAndHandsOnItsCode) {
    device_.testResult = D3DERR_DEVICELOST;
    EXPECT_TRUE(FrameAdvances());
    EXPECT_EQ(device_.calls, std::vector<std::string>{"TestCooperativeLevel"});
    EXPECT_EQ(gSleeps, std::vector<DWORD>{500});
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICELOST\r\n");

    // A device that may be reset is reset, and gets the state of the start again.
    RestoreDeviceState();
    const FakeDevice startUp = device_;
    device_.calls.clear();
    device_.testResult = D3DERR_DEVICENOTRESET;
    EXPECT_TRUE(FrameAdvances());
    EXPECT_EQ(device_.Count("Reset"), 1);
    EXPECT_EQ(device_.resetParameters, &gSaverState.presentParameters);
    EXPECT_EQ(device_.Count("Clear") + device_.Count("DrawPrimitiveUP"), 0);
    EXPECT_EQ(device_.renderStates, startUp.renderStates);
    EXPECT_EQ(device_.textureStageStates, startUp.textureStageStates);
    EXPECT_EQ(device_.samplerStates, startUp.samplerStates);
    EXPECT_EQ(device_.transforms.size(), 2u);
}

TEST_F(TroubledDevice, AnyOtherFailureOfTheDeviceTestEndsTheProcessWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    device_.testResult = static_cast<HRESULT>(0x88760827u); // D3DERR_DRIVERINTERNALERROR
    EXPECT_EXIT(RenderFrame(), ::testing::ExitedWithCode(1), "");
}

// A texture that only counts its release.
struct ReleasedTexture : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override {
        ReleaseOrder().push_back("texture");
        return 0;
    }
};

TEST_F(TroubledDevice, TeardownReleasesTheTextureBeforeTheDeviceAndTheDirect3DObject) {
    ReleasedTexture texture;
    FakeDirect3D direct3d;
    gSaverState.spriteTexture =
        reinterpret_cast<IDirect3DTexture9*>(static_cast<IUnknown*>(&texture));
    gSaverState.direct3d = &direct3d;
    ReleaseOrder().clear();
    SaverWindowProc(kWindow, WM_DESTROY, 0, 0);
    EXPECT_EQ(ReleaseOrder(), (std::vector<std::string>{"texture", "device", "direct3d"}));
    EXPECT_EQ(gSaverState.run.flakeScene, nullptr);
}

} // namespace
