#include "windows/host/saver_lifecycle.h"

#include <cstdlib>

#include "core/run/snow_run.h"
#include "platform/platform.h"
#include "windows/diag/log.h"
#include "windows/host/saver_host.h"
#include "windows/host/saver_state.h"
#include "windows/settings/settings_store.h"

SaverState gSaverState;

namespace {

// The exit status of a run whose scene cannot be built for lack of memory.
constexpr int kNoMemoryForTheScene = -1;

const SaverSteps& Steps() {
    return gHostState.steps;
}

// The start of a run. Ends the process when there is no Direct3D object or
// device; a scene that cannot be set up leaves a black window without frames.
void CreateRun(HWND window) {
    SaverState& state = gSaverState;
    RECT client = {};
    GetClientRect(window, &client);
    state.clientWidth = client.right;
    state.clientHeight = client.bottom;
    const int32_t fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int32_t fullHeight = GetSystemMetrics(SM_CYFULLSCREEN);

    // The settings are read once; the run uses only its own copy.
    Steps().loadSettings();
    state.settings = gSettings;
    if (FAILED(Steps().createDirect3D(&state.direct3d))) {
        LogMessage("Direct3DCreate9 failed: no Direct3D 9 here", 0);
        exit(1);
    }
    HDC context = GetDC(window);
    const int colourDepth = GetDeviceCaps(context, BITSPIXEL);
    ReleaseDC(window, context);

    const HRESULT created =
        CreateRunDevice(window, fullWidth, fullHeight, GetSystemMetrics(SM_CMONITORS),
                        static_cast<uint8_t>(colourDepth & 0xFF));
    if (FAILED(created)) {
        LogMessage("CreateDevice failed", created);
        Steps().releaseDevice(state.direct3d, state.device);
        exit(1);
    }

    if (FAILED(SetupScene())) {
        ReleaseSpriteTexture();
        Steps().releaseDevice(state.direct3d, state.device);
        return;
    }
    SetTimer(window, kFrameTimerId, kFramePeriodMs, nullptr);
}

void DestroyRun(HWND window) {
    KillTimer(window, kFrameTimerId);
    ReleaseSpriteTexture();
    Steps().endSnowRun(gSaverState.run);
    Steps().releaseDevice(gSaverState.direct3d, gSaverState.device);
}

} // namespace

HRESULT CreateRunDevice(HWND window, int32_t fullWidth, int32_t fullHeight, int32_t monitors,
                        uint8_t colourDepth) {
    SaverState& state = gSaverState;
    uint8_t fullScreen =
        (state.clientWidth >= fullWidth && state.clientHeight >= fullHeight) ? 1 : 0;
    // The full-screen window spans the whole virtual screen. Over several
    // monitors no adapter shows that as a mode: one windowed device covers
    // them all.
    if (monitors > 1) {
        fullScreen = 0;
    }
    HRESULT result = Steps().chooseBackBufferFormat(state.direct3d, fullScreen, colourDepth,
                                                    &state.backBufferFormat);
    if (FAILED(result)) {
        return result;
    }
    // Nor can the display take a size it has no mode for.
    if (fullScreen && !Steps().isDisplayMode(state.direct3d, state.backBufferFormat,
                                             state.clientWidth, state.clientHeight)) {
        fullScreen = 0;
        state.backBufferFormat = D3DFMT_UNKNOWN;
    }
    Steps().fillPresentParameters(fullScreen, window, state.clientWidth, state.clientHeight,
                                  state.backBufferFormat, D3DFMT_UNKNOWN, &state.presentParameters);
    result = Steps().createDevice(state.direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                  &state.presentParameters, &state.device);
    // Windows may refuse the display to a run (a Remote Desktop session, say):
    // a windowed device over the whole window draws the same snow.
    if (FAILED(result) && fullScreen) {
        LogMessage("CreateDevice failed full screen; trying a windowed device", result);
        state.backBufferFormat = D3DFMT_UNKNOWN;
        Steps().fillPresentParameters(0, window, state.clientWidth, state.clientHeight,
                                      state.backBufferFormat, D3DFMT_UNKNOWN,
                                      &state.presentParameters);
        result = Steps().createDevice(state.direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      &state.presentParameters, &state.device);
    }
    return result;
}

HRESULT SetupScene() {
    SaverState& state = gSaverState;
    HRESULT result = Steps().loadSpriteTexture(state.device, &state.spriteTexture);
    if (FAILED(result)) {
        return result;
    }
    Steps().applyRenderStates(state.device, state.spriteTexture);
    Steps().setupCamera(state.device, state.clientWidth, state.clientHeight);
    // The stored noise tables are the program's resources; the parser's
    // account of a table goes to standard output. The clock seeds the random
    // generator. A late frame moves the flakes by the whole late time, up to
    // the clock's clamp: no step filter.
    const SnowRunChoice choice = {state.settings,
                                  state.clientWidth,
                                  state.clientHeight,
                                  PlatformResourceBytes,
                                  {PlatformStandardOutput, PlatformBeep},
                                  0,
                                  0,
                                  kNoStepFilter,
                                  0};
    switch (Steps().startSnowRun(state.run, choice)) {
    case kSnowRunNoMemoryForTheScene:
        exit(kNoMemoryForTheScene);
    case kSnowRunNoMemoryForVertices:
        return E_OUTOFMEMORY;
    default:
        return result;
    }
}

void RenderFrame() {
    SaverState& state = gSaverState;
    SnowRun& run = state.run;
    if (!run.tickClock || !run.flakeScene) {
        return;
    }
    Steps().updateTickClock(*run.tickClock);
    const uint32_t stepMicroseconds = run.tickClock->stepMs * 1000u;
    Steps().updateFlakes(*run.flakeScene, stepMicroseconds);
    if (!state.device) {
        return;
    }
    HRESULT result = state.device->TestCooperativeLevel();
    if (SUCCEEDED(result)) {
        Steps().buildFlakeVertices(*run.flakeScene, run.vertices);
        result = Steps().drawFlakes(state.device, *run.flakeScene, run.vertices);
    }
    if (result == D3DERR_DEVICELOST || result == D3DERR_DEVICENOTRESET) {
        // A device that was reset gets its states and camera again.
        if (SUCCEEDED(Steps().handleLostDevice(state.device, &state.presentParameters, result))) {
            RestoreDeviceState();
        }
    } else if (FAILED(result)) {
        LogMessage("The frame's drawing failed", result);
        exit(1);
    }
}

void RestoreDeviceState() {
    Steps().applyRenderStates(gSaverState.device, gSaverState.spriteTexture);
    Steps().setupCamera(gSaverState.device, gSaverState.clientWidth, gSaverState.clientHeight);
}

void ReleaseSpriteTexture() {
    if (gSaverState.spriteTexture) {
        gSaverState.spriteTexture->Release();
        gSaverState.spriteTexture = nullptr;
    }
}

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateRun(window);
        return 0;
    case WM_TIMER:
        RenderFrame();
        return 0;
    case WM_DESTROY:
        DestroyRun(window);
        return 0;
    default:
        return SaverDefaultProc(window, message, wParam, lParam);
    }
}
