// Format choice, presentation parameters, creation and release against
// recording doubles of IDirect3D9 and IDirect3DDevice9.
#include <gtest/gtest.h>

#include "fake_direct3d.h"
#include "windows/render/device_setup.h"
#include "scoped_work_dir.h"

namespace {

using Formats = std::vector<D3DFORMAT>;

TEST(ChooseBackBufferFormat, A24BitDisplayTriesSixteenBitsFirstThenThirtyTwo) {
    ScopedWorkDir dir("choose24");
    FakeDirect3D direct3d;
    direct3d.acceptedFormats = {D3DFMT_X8R8G8B8};
    D3DFORMAT format = D3DFMT_UNKNOWN;
    EXPECT_EQ(dhChooseBackBufferFormat(&direct3d, 1, 24, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(direct3d.CheckedFormats(),
              (Formats{D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8}));
    for (const auto& check : direct3d.checks) {
        EXPECT_EQ(check.adapter, D3DADAPTER_DEFAULT);
        EXPECT_EQ(check.deviceType, D3DDEVTYPE_HAL);
        EXPECT_EQ(check.displayFormat, check.backBufferFormat);
        EXPECT_EQ(check.windowed, FALSE);
    }
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhFind16BitMode failed to find a usable mode\r\n");
}

TEST(ChooseBackBufferFormat, NothingUsableStillSucceedsWithTwoLogLines) {
    ScopedWorkDir dir("chooseNone");
    FakeDirect3D direct3d;
    D3DFORMAT format = D3DFMT_R5G6B5;
    EXPECT_EQ(dhChooseBackBufferFormat(&direct3d, 1, 8, &format), S_OK);
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    EXPECT_EQ(direct3d.CheckedFormats(),
              (Formats{D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}));
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhFind16BitMode failed to find a usable mode\r\n"
                                         "dhFind32BitMode failed to find a usable mode\r\n");
}

TEST(ChooseBackBufferFormat, ThirtyTwoBitsNeverTriesAlphaWhenX8R8G8B8Works) {
    ScopedWorkDir dir("choose32");
    FakeDirect3D direct3d;
    direct3d.acceptedFormats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};
    D3DFORMAT format = D3DFMT_UNKNOWN;
    dhChooseBackBufferFormat(&direct3d, 1, 32, &format);
    EXPECT_EQ(format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(direct3d.CheckedFormats(), (Formats{D3DFMT_X8R8G8B8}));

    FakeDirect3D alphaOnly;
    alphaOnly.acceptedFormats = {D3DFMT_A8R8G8B8};
    dhChooseBackBufferFormat(&alphaOnly, 1, 32, &format);
    EXPECT_EQ(format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(alphaOnly.CheckedFormats(), (Formats{D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}));
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "");
}

TEST(ChooseBackBufferFormat, SixteenBitsFallsBackToX1R5G5B5AndLogsWhenNeitherWorks) {
    ScopedWorkDir dir("choose16");
    FakeDirect3D direct3d;
    direct3d.acceptedFormats = {D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8};
    D3DFORMAT format = D3DFMT_UNKNOWN;
    dhChooseBackBufferFormat(&direct3d, 1, 16, &format);
    EXPECT_EQ(format, D3DFMT_X1R5G5B5);

    FakeDirect3D thirtyTwoOnly;
    thirtyTwoOnly.acceptedFormats = {D3DFMT_X8R8G8B8};
    dhChooseBackBufferFormat(&thirtyTwoOnly, 1, 16, &format);
    // A 16-bit display does not move on to the 32-bit candidates.
    EXPECT_EQ(format, D3DFMT_UNKNOWN);
    EXPECT_EQ(thirtyTwoOnly.CheckedFormats(), (Formats{D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}));
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhFind16BitMode failed to find a usable mode\r\n");
}

TEST(ChooseBackBufferFormat, AWindowedRunNeverChecksAndKeepsTheFormatUnknown) {
    ScopedWorkDir dir("chooseWindowed");
    FakeDirect3D direct3d;
    direct3d.acceptedFormats = {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8};
    for (uint8_t depth : {16, 24, 32}) {
        D3DFORMAT format = D3DFMT_X8R8G8B8;
        EXPECT_EQ(dhChooseBackBufferFormat(&direct3d, 0, depth, &format), S_OK);
        EXPECT_EQ(format, D3DFMT_UNKNOWN);
    }
    EXPECT_TRUE(direct3d.checks.empty());
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "");
}

TEST(FillPresentParameters, WindowedLeavesSizeAndFormatZero) {
    D3DPRESENT_PARAMETERS p;
    FillMemory(&p, sizeof p, 0xCD);
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    dhFillPresentParameters(0, window, 640, 480, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN, &p);
    EXPECT_EQ(p.BackBufferWidth, 0u);
    EXPECT_EQ(p.BackBufferHeight, 0u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_UNKNOWN);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(p.MultiSampleQuality, 0u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, window);
    EXPECT_EQ(p.Windowed, TRUE);
    EXPECT_EQ(p.EnableAutoDepthStencil, FALSE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_UNKNOWN);
    EXPECT_EQ(p.Flags, 0u);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
}

TEST(FillPresentParameters, FullScreenTakesTheClientSizeAndFormat) {
    D3DPRESENT_PARAMETERS p;
    FillMemory(&p, sizeof p, 0xCD);
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5678));
    dhFillPresentParameters(1, window, 1024, 768, D3DFMT_R5G6B5, D3DFMT_UNKNOWN, &p);
    EXPECT_EQ(p.BackBufferWidth, 1024u);
    EXPECT_EQ(p.BackBufferHeight, 768u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.Windowed, FALSE);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.hDeviceWindow, window);
    EXPECT_EQ(p.EnableAutoDepthStencil, FALSE);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(p.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));

    dhFillPresentParameters(1, window, 800, 600, D3DFMT_X8R8G8B8, D3DFMT_D16, &p);
    EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
}

TEST(CreateDevice, AsksForSoftwareVertexProcessingOnTheSaverWindow) {
    FakeDirect3D direct3d;
    FakeDevice device;
    direct3d.deviceToCreate = &device;
    D3DPRESENT_PARAMETERS p{};
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x42));
    IDirect3DDevice9* created = nullptr;
    EXPECT_EQ(dhCreateDevice(&direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, &p, &created),
              D3D_OK);
    EXPECT_EQ(created, &device);
    ASSERT_EQ(direct3d.creations.size(), 1u);
    EXPECT_EQ(direct3d.creations[0].adapter, D3DADAPTER_DEFAULT);
    EXPECT_EQ(direct3d.creations[0].deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(direct3d.creations[0].window, window);
    EXPECT_EQ(direct3d.creations[0].behaviour,
              static_cast<DWORD>(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
    EXPECT_EQ(direct3d.creations[0].parameters, &p);

    direct3d.createResult = D3DERR_NOTAVAILABLE;
    EXPECT_EQ(dhCreateDevice(&direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, &p, &created),
              D3DERR_NOTAVAILABLE);
}

TEST(ReleaseDevice, ReleasesTheDeviceFirstAndEachOnlyOnce) {
    ReleaseOrder().clear();
    FakeDirect3D direct3d;
    FakeDevice device;
    IDirect3D9* direct3dField = &direct3d;
    IDirect3DDevice9* deviceField = &device;
    dhReleaseDevice(direct3dField, deviceField);
    dhReleaseDevice(direct3dField, deviceField);
    EXPECT_EQ(direct3dField, nullptr);
    EXPECT_EQ(deviceField, nullptr);
    EXPECT_EQ(ReleaseOrder(), (std::vector<std::string>{"device", "direct3d"}));
    EXPECT_EQ(device.references, 0);
    EXPECT_EQ(direct3d.references, 0);
}

TEST(ReleaseDevice, ReleasesTheDirect3DObjectWhenNoDeviceWasMade) {
    ReleaseOrder().clear();
    FakeDirect3D direct3d;
    IDirect3D9* direct3dField = &direct3d;
    IDirect3DDevice9* deviceField = nullptr;
    dhReleaseDevice(direct3dField, deviceField);
    EXPECT_EQ(direct3dField, nullptr);
    EXPECT_EQ(ReleaseOrder(), (std::vector<std::string>{"direct3d"}));
}

} // namespace
