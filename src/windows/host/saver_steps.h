// The steps a saver run drives, as a table that the program fills with the
// real settings, device, drawing and simulation (ProgramSteps) and a test
// fills with its doubles.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

#include "core/run/snow_run.h"

struct SaverSteps {
    // Settings: fills gSettings from the store.
    void (*loadSettings)();
    // Device.
    HRESULT (*createDirect3D)(IDirect3D9** direct3d);
    HRESULT(*chooseBackBufferFormat)
    (IDirect3D9* direct3d, uint8_t fullScreen, uint8_t colourDepth, D3DFORMAT* format);
    bool (*isDisplayMode)(IDirect3D9* direct3d, D3DFORMAT format, int32_t width, int32_t height);
    void (*fillPresentParameters)(uint8_t fullScreen, HWND window, int32_t width, int32_t height,
                                  D3DFORMAT backBufferFormat, D3DFORMAT depthStencilFormat,
                                  D3DPRESENT_PARAMETERS* parameters);
    HRESULT(*createDevice)
    (IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE deviceType, HWND window,
     D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device);
    void (*releaseDevice)(IDirect3D9*& direct3d, IDirect3DDevice9*& device);
    HRESULT(*handleLostDevice)
    (IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters, HRESULT code);
    // Render setup and drawing.
    HRESULT (*loadSpriteTexture)(IDirect3DDevice9* device, IDirect3DTexture9** texture);
    void (*applyRenderStates)(IDirect3DDevice9* device, IDirect3DTexture9* texture);
    void (*setupCamera)(IDirect3DDevice9* device, int32_t clientWidth, int32_t clientHeight);
    void (*buildFlakeVertices)(const FlakeScene& scene, FlakeVertex* vertices);
    HRESULT(*drawFlakes)
    (IDirect3DDevice9* device, const FlakeScene& scene, const FlakeVertex* vertices);
    // Simulation: the run's start and end; its frames as the saver orders them.
    int32_t (*startSnowRun)(SnowRun& run, const SnowRunChoice& choice);
    void (*updateTickClock)(TickClock& clock);
    void (*updateFlakes)(FlakeScene& scene, uint32_t elapsedMicroseconds);
    void (*endSnowRun)(SnowRun& run);
    // The configuration dialog.
    BOOL (*registerDialogHook)(HINSTANCE instance);
    DLGPROC configDialogProc;
};

// The real steps: the settings store and dialog, Direct3D 9 and the core.
SaverSteps ProgramSteps();
