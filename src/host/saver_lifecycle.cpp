#include "host/saver_lifecycle.h"

#include <cstdlib>
#include <new>

#include "flakes/flake_scene.h"
#include "flakes/scene_build.h"
#include "flakes/tick_clock.h"
#include "flakes/update_flakes.h"
#include "host/restore_device_state.h"
#include "host/saver_host.h"
#include "host/saver_state.h"
#include "render/device_setup.h"
#include "render/draw_flakes.h"
#include "render/flake_vertices.h"
#include "render/lost_device.h"
#include "render/render_setup.h"
#include "settings/settings.h"

SaverState gSaverState;

namespace {

constexpr uint32_t kVerticesPerParticle = kVertexBytesPerParticle / sizeof(FlakeVertex);

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

    LoadSettings();
    if (FAILED(dhCreateDirect3D(&state.direct3d))) {
        exit(1);
    }
    HDC context = GetDC(window);
    const int colourDepth = GetDeviceCaps(context, BITSPIXEL);
    ReleaseDC(window, context);

    if (FAILED(CreateRunDevice(window, fullWidth, fullHeight, GetSystemMetrics(SM_CMONITORS),
                               static_cast<uint8_t>(colourDepth & 0xFF)))) {
        dhReleaseDevice(state.direct3d, state.device);
        exit(1);
    }

    const int32_t count = ParticleCount(gSettings.Quantity);
    if (FAILED(SetupScene(count))) {
        ReleaseDrawResources();
        dhReleaseDevice(state.direct3d, state.device);
        return;
    }
    SetTimer(window, kFrameTimerId, kFramePeriodMs, nullptr);
}

void DestroyRun(HWND window) {
    KillTimer(window, kFrameTimerId);
    ReleaseSpriteTexture();
    DestroySceneObjects();
    ReleaseDrawResources();
    dhReleaseDevice(gSaverState.direct3d, gSaverState.device);
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
    HRESULT result =
        dhChooseBackBufferFormat(state.direct3d, fullScreen, colourDepth, &state.backBufferFormat);
    if (FAILED(result)) {
        return result;
    }
    // Nor can the display take a size it has no mode for.
    if (fullScreen && !dhIsDisplayMode(state.direct3d, state.backBufferFormat, state.clientWidth,
                                       state.clientHeight)) {
        fullScreen = 0;
        state.backBufferFormat = D3DFMT_UNKNOWN;
    }
    dhFillPresentParameters(fullScreen, window, state.clientWidth, state.clientHeight,
                            state.backBufferFormat, D3DFMT_UNKNOWN, &state.presentParameters);
    return dhCreateDevice(state.direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                          &state.presentParameters, &state.device);
}

HRESULT SetupScene(int32_t count) {
    SaverState& state = gSaverState;
    HRESULT result = LoadSpriteTexture(state.device, &state.spriteTexture);
    if (FAILED(result)) {
        return result;
    }
    ApplyRenderStates(state.device, state.spriteTexture);
    SetupCamera(state.device, state.clientWidth, state.clientHeight);
    state.tickClock = nullptr;
    state.flakeScene = nullptr;
    BuildInitialScene(state.clientWidth, state.clientHeight, state.tickClock, state.flakeScene);
    if (count <= 0) {
        return E_INVALIDARG;
    }
    // Left uninitialised: the drawing writes every vertex before using it.
    state.vertices =
        new (std::nothrow) FlakeVertex[static_cast<size_t>(count) * kVerticesPerParticle];
    if (!state.vertices) {
        return E_OUTOFMEMORY;
    }
    return result;
}

void RenderFrame() {
    SaverState& state = gSaverState;
    if (!state.tickClock || !state.flakeScene) {
        return;
    }
    UpdateTickClock(*state.tickClock);
    const uint32_t stepMicroseconds = state.tickClock->stepMs * 1000u;
    UpdateFlakes(*state.flakeScene, stepMicroseconds);
    if (!state.device) {
        return;
    }
    HRESULT result = state.device->TestCooperativeLevel();
    if (SUCCEEDED(result)) {
        BuildFlakeVertices(*state.flakeScene, state.vertices);
        result = DrawFlakes(state.device, *state.flakeScene, state.vertices);
    }
    if (result == D3DERR_DEVICELOST || result == D3DERR_DEVICENOTRESET) {
        dhHandleLostDevice(state.device, &state.presentParameters, result);
    } else if (FAILED(result)) {
        exit(1);
    }
}

void RestoreDeviceState() {
    ApplyRenderStates(gSaverState.device, gSaverState.spriteTexture);
    SetupCamera(gSaverState.device, gSaverState.clientWidth, gSaverState.clientHeight);
}

void ReleaseSpriteTexture() {
    if (gSaverState.spriteTexture) {
        gSaverState.spriteTexture->Release();
        gSaverState.spriteTexture = nullptr;
    }
}

void DestroySceneObjects() {
    delete gSaverState.tickClock;
    gSaverState.tickClock = nullptr;
    if (gSaverState.flakeScene) {
        ReleaseFlakeScene(*gSaverState.flakeScene);
        delete gSaverState.flakeScene;
        gSaverState.flakeScene = nullptr;
    }
}

void ReleaseDrawResources() {
    ReleaseSpriteTexture();
    delete[] gSaverState.vertices;
    gSaverState.vertices = nullptr;
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
