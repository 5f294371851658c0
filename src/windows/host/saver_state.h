// The one record of a saver run: everything created when the saver window is
// created and released when it is destroyed.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

#include "core/settings/settings.h"

struct TickClock;
struct FlakeScene;
struct FlakeVertex;

struct SaverState {
    int32_t clientWidth;  // right edge of the client rectangle (the left edge is 0)
    int32_t clientHeight; // bottom edge of the client rectangle
    Settings settings;    // read once when the run starts; the run reads only these
    D3DPRESENT_PARAMETERS presentParameters;
    D3DFORMAT backBufferFormat;
    IDirect3D9* direct3d;
    IDirect3DDevice9* device;
    IDirect3DTexture9* spriteTexture;
    FlakeVertex* vertices; // FlakeVertexCapacity of the scene's flakes; null when not held
    TickClock* tickClock;
    FlakeScene* flakeScene;
};

// Zero at process start.
extern SaverState gSaverState;
