#pragma once

#include <windows.h>
#include <d3d9.h>

// One recovery attempt for a frame that saw D3DERR_DEVICELOST or
// D3DERR_DEVICENOTRESET; the next frame tries again. Non-negative exactly when
// the device was reset: the caller then sets its states and camera again.
HRESULT dhHandleLostDevice(IDirect3DDevice9* device, D3DPRESENT_PARAMETERS* parameters,
                           HRESULT code);
// Nothing lives in the default pool, so there is nothing to release.
void dhReleaseDefaultPoolObjects();
