// The one record of a saver run: everything created when the saver window is
// created and released when it is destroyed.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

#include "core/run/snow_run.h"
#include "core/settings/settings.h"

struct SaverState {
    int32_t clientWidth;  // right edge of the client rectangle (the left edge is 0)
    int32_t clientHeight; // bottom edge of the client rectangle
    Settings settings;    // read once when the run starts; the run reads only these
    D3DPRESENT_PARAMETERS presentParameters;
    D3DFORMAT backBufferFormat;
    IDirect3D9* direct3d;
    IDirect3DDevice9* device;
    IDirect3DTexture9* spriteTexture;
    SnowRun run; // the tick clock, the flake scene and the vertex array
};

// Zero at process start.
extern SaverState gSaverState;
