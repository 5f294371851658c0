// Empty, successful stand-ins for the settings, device, render-setup, scene
// and drawing steps of a saver run, so that the saver builds and runs (a black
// window) before those steps are linked in. Compiled into Quillfrost.scr only.
#include <windows.h>

#include "flakes/flake_scene.h"
#include "flakes/scene_build.h"
#include "flakes/tick_clock.h"
#include "flakes/update_flakes.h"
#include "host/config_dialog_steps.h"
#include "render/device_setup.h"
#include "render/draw_flakes.h"
#include "render/flake_vertices.h"
#include "render/lost_device.h"
#include "render/render_setup.h"
#include "settings/settings.h"

void LoadSettings() {}

HRESULT dhCreateDirect3D(IDirect3D9**) {
    return S_OK;
}

HRESULT dhChooseBackBufferFormat(IDirect3D9*, uint8_t, uint8_t, D3DFORMAT*) {
    return S_OK;
}

void dhFillPresentParameters(uint8_t, HWND, int32_t, int32_t, D3DFORMAT, D3DFORMAT,
                             D3DPRESENT_PARAMETERS*) {}

HRESULT dhCreateDevice(IDirect3D9*, UINT, D3DDEVTYPE, HWND, D3DPRESENT_PARAMETERS*,
                       IDirect3DDevice9**) {
    return S_OK;
}

void dhReleaseDevice(IDirect3D9*&, IDirect3DDevice9*&) {}

HRESULT LoadSpriteTexture(IDirect3DDevice9*, IDirect3DTexture9**) {
    return S_OK;
}

void ApplyRenderStates(IDirect3DDevice9*, IDirect3DTexture9*) {}

void SetupCamera(IDirect3DDevice9*, int32_t, int32_t) {}

int32_t ParticleCount(float) {
    return 100;
}

void BuildInitialScene(int32_t, int32_t, TickClock*& tickClock, FlakeScene*& flakeScene) {
    if (!tickClock) {
        tickClock = new TickClock{0, 0, 0, 1, kMaxStepMs};
    }
    if (!flakeScene) {
        flakeScene = new FlakeScene{};
    }
}

void UpdateTickClock(TickClock&) {}

void UpdateFlakes(FlakeScene&, uint32_t) {}

void BuildFlakeVertices(const FlakeScene&, FlakeVertex*) {}

HRESULT DrawFlakes(IDirect3DDevice9*, const FlakeScene&, const FlakeVertex*) {
    return S_OK;
}

HRESULT dhHandleLostDevice(IDirect3DDevice9*, D3DPRESENT_PARAMETERS*, HRESULT) {
    return S_OK;
}

void ReleaseFlakeScene(FlakeScene&) {}

BOOL RegisterDialogHook(HINSTANCE) {
    return TRUE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
