// A preview made through the host's own window class and procedures, with the
// real device, drawing and simulation, inside a parent window of this process:
// after some seconds of frames, and a reset, a frame holds soft snow on black.
// (Wine does not put what Direct3D presents in a child window on the screen,
// so the frame is drawn into a render target of the test and read back.)
#include <cstdint>
#include <cstdio>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "windows/host/saver_host.h"
#include "windows/host/saver_lifecycle.h"
#include "windows/host/saver_state.h"
#include "windows/render/lost_device.h"
#include "render_target.h"

namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// Handles messages until `done` holds of the timer ticks seen, or a minute
// has passed; returns the ticks seen.
template <typename Done> int PumpUntil(Done done) {
    int ticks = 0;
    const DWORD start = GetTickCount();
    while (!done(ticks) && GetTickCount() - start < 60000) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ticks += message.message == WM_TIMER ? 1 : 0;
            if (message.message != WM_QUIT) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } else {
            Sleep(1);
        }
    }
    return ticks;
}

TEST(Preview, DrawsSoftSnowOnBlackInsideItsParent) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillfrostPreviewParent";
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassA(&windowClass);
    HWND parent =
        CreateWindowA("QuillfrostPreviewParent", "Preview parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                      100, 100, 360, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    RECT parentClient;
    GetClientRect(parent, &parentClient);

    gHostState.steps = ProgramSteps();
    SaverWindowPlan plan = {};
    ASSERT_TRUE(PrepareSaverWindow(parent, plan));
    HWND preview = CreateSaverWindow(plan);
    ASSERT_NE(preview, nullptr);
    ASSERT_NE(gSaverState.device, nullptr);
    EXPECT_EQ(gSaverState.clientWidth, parentClient.right);
    EXPECT_EQ(gSaverState.clientHeight, parentClient.bottom);
    EXPECT_EQ(gSaverState.presentParameters.Windowed, TRUE);

    // A copying swap keeps the last frame readable; switching to it goes
    // through the saver's own reset path, which must restore the drawing state.
    // Until the snow has drifted into view: 15 s of the run's own clock (the
    // flakes start above the view and fall in slowly).
    PumpUntil([](int) { return gSaverState.run.flakeScene->releaseClockMs >= 15000; });
    EXPECT_GE(gSaverState.run.flakeScene->releaseClockMs, 15000u) << "frames of the preview";
    // A reset as a frame of the saver makes it; the frames go on after it.
    ASSERT_EQ(dhHandleLostDevice(gSaverState.device, &gSaverState.presentParameters,
                                 D3DERR_DEVICENOTRESET),
              D3D_OK);
    RestoreDeviceState();
    EXPECT_EQ(PumpUntil([](int ticks) { return ticks >= 20; }), 20) << "frames after the reset";

    // One more frame of the saver's own, drawn into a render target of ours
    // that keeps its picture after Present.
    KillTimer(preview, 1);
    IDirect3DDevice9* device = gSaverState.device;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* target = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc;
    backBuffer->GetDesc(&desc);
    ASSERT_EQ(device->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE,
                                         0, FALSE, &target, nullptr),
              D3D_OK);
    device->SetRenderTarget(0, target);
    SendMessageA(preview, WM_TIMER, 1, 0);

    const RenderTargetPicture picture = ReadRenderTarget(gSaverState.device);
    const std::vector<int>& grey = picture.grey;
    ASSERT_FALSE(grey.empty());
    EXPECT_EQ(picture.width, static_cast<UINT>(parentClient.right));
    EXPECT_EQ(picture.height, static_cast<UINT>(parentClient.bottom));
    size_t black = 0;
    size_t bright = 0;
    size_t soft = 0;
    for (int v : grey) {
        black += v < 8 ? 1 : 0;
        bright += v > 100 ? 1 : 0;
        soft += (v >= 8 && v <= 100) ? 1 : 0;
    }
    EXPECT_GT(black, grey.size() / 2) << "black behind the snow";
    std::printf("black %zu bright %zu soft %zu\n", black, bright, soft);
    EXPECT_GT(bright, 20u) << "bright flakes";
    EXPECT_GT(soft, bright) << "each flake glows softly at its edge";

    device->SetRenderTarget(0, backBuffer);
    target->Release();
    backBuffer->Release();
    DestroyWindow(preview);
    EXPECT_EQ(gSaverState.device, nullptr);
    DestroyWindow(parent);
}

} // namespace
