#include "step_doubles.h"

#include <algorithm>

#include "flakes/flake_scene.h"
#include "flakes/scene_build.h"
#include "flakes/tick_clock.h"
#include "flakes/update_flakes.h"
#include "render/device_setup.h"
#include "render/draw_flakes.h"
#include "render/flake_vertices.h"
#include "render/lost_device.h"
#include "render/render_setup.h"
#include "host/config_dialog_steps.h"
#include "settings/settings.h"

StepDoubles gSteps;

int CountCalls(const std::string& name) {
    return static_cast<int>(std::count(gSteps.calls.begin(), gSteps.calls.end(), name));
}

namespace {
void Log(const char* name) {
    gSteps.calls.push_back(name);
}
} // namespace

void LoadSettings() {
    Log("LoadSettings");
}

HRESULT dhCreateDirect3D(IDirect3D9** direct3d) {
    Log("dhCreateDirect3D");
    if (gSteps.realDevice && SUCCEEDED(gSteps.createDirect3DResult)) {
        *direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        return *direct3d ? S_OK : E_FAIL;
    }
    return gSteps.createDirect3DResult;
}

HRESULT dhChooseBackBufferFormat(IDirect3D9*, uint8_t fullScreen, uint8_t colourDepth, D3DFORMAT*) {
    Log("dhChooseBackBufferFormat");
    gSteps.fullScreen = fullScreen;
    gSteps.colourDepth = colourDepth;
    return S_OK;
}

bool dhIsDisplayMode(IDirect3D9*, D3DFORMAT, int32_t, int32_t) {
    return true;
}

void dhFillPresentParameters(uint8_t, HWND window, int32_t width, int32_t height, D3DFORMAT,
                             D3DFORMAT, D3DPRESENT_PARAMETERS* parameters) {
    Log("dhFillPresentParameters");
    *parameters = D3DPRESENT_PARAMETERS{};
    parameters->Windowed = TRUE;
    parameters->SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters->hDeviceWindow = window;
    parameters->BackBufferWidth = static_cast<UINT>(width);
    parameters->BackBufferHeight = static_cast<UINT>(height);
    gSteps.presentWidth = width;
    gSteps.presentHeight = height;
}

HRESULT dhCreateDevice(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE type, HWND window,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    Log("dhCreateDevice");
    if (FAILED(gSteps.createDeviceResult)) {
        return gSteps.createDeviceResult;
    }
    if (gSteps.realDevice) {
        return direct3d->CreateDevice(adapter, type, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                      parameters, device);
    }
    return S_OK;
}

void dhReleaseDevice(IDirect3D9*& direct3d, IDirect3DDevice9*& device) {
    Log("dhReleaseDevice");
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
}

HRESULT LoadSpriteTexture(IDirect3DDevice9*, IDirect3DTexture9**) {
    Log("LoadSpriteTexture");
    return gSteps.spriteResult;
}

void ApplyRenderStates(IDirect3DDevice9*, IDirect3DTexture9*) {
    Log("ApplyRenderStates");
}

void SetupCamera(IDirect3DDevice9*, int32_t width, int32_t height) {
    Log("SetupCamera");
    gSteps.cameraWidth = width;
    gSteps.cameraHeight = height;
}

int32_t ParticleCount(float quantity) {
    Log("ParticleCount");
    gSteps.quantity = quantity;
    return gSteps.particleCount;
}

void BuildInitialScene(int32_t, int32_t, TickClock*& tickClock, FlakeScene*& flakeScene) {
    Log("BuildInitialScene");
    if (!tickClock) {
        tickClock = new TickClock{0, 0, 0, 1, kMaxStepMs};
    }
    if (!flakeScene) {
        flakeScene = new FlakeScene{};
    }
}

void UpdateTickClock(TickClock& clock) {
    ++gSteps.tickUpdates;
    clock.stepMs = gSteps.stepMs;
}

void UpdateFlakes(FlakeScene&, uint32_t elapsedMicroseconds) {
    gSteps.lastStepMicroseconds = elapsedMicroseconds;
}

void BuildFlakeVertices(const FlakeScene&, FlakeVertex*) {
    Log("BuildFlakeVertices");
}

HRESULT DrawFlakes(IDirect3DDevice9*, const FlakeScene&, const FlakeVertex* vertices) {
    Log("DrawFlakes");
    gSteps.drawnVertices = vertices;
    return gSteps.drawResult;
}

HRESULT dhHandleLostDevice(IDirect3DDevice9*, D3DPRESENT_PARAMETERS*, HRESULT code) {
    Log("dhHandleLostDevice");
    gSteps.lostDeviceCode = code;
    return S_OK;
}

void ReleaseFlakeScene(FlakeScene&) {
    Log("ReleaseFlakeScene");
}

BOOL RegisterDialogHook(HINSTANCE) {
    Log("RegisterDialogHook");
    return TRUE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        ++gSteps.dialogs;
        gSteps.dialogParent = GetParent(dialog);
        EndDialog(dialog, 42);
        return TRUE;
    }
    return FALSE;
}
