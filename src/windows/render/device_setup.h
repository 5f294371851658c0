// Creation and release of the Direct3D object and device of a saver run.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

HRESULT dhCreateDirect3D(IDirect3D9** direct3d);
D3DFORMAT dhFind16BitMode(IDirect3D9* direct3d);
D3DFORMAT dhFind32BitMode(IDirect3D9* direct3d);
// Always S_OK; the format stays D3DFMT_UNKNOWN when nothing fits.
HRESULT dhChooseBackBufferFormat(IDirect3D9* direct3d, uint8_t fullScreen, uint8_t colourDepth,
                                 D3DFORMAT* format);
void dhFillPresentParameters(uint8_t fullScreen, HWND window, int32_t width, int32_t height,
                             D3DFORMAT backBufferFormat, D3DFORMAT depthStencilFormat,
                             D3DPRESENT_PARAMETERS* parameters);
HRESULT dhCreateDevice(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE deviceType, HWND window,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device);
// True when the default adapter lists width x height among its display modes
// in the display format that goes with the back-buffer format.
bool dhIsDisplayMode(IDirect3D9* direct3d, D3DFORMAT format, int32_t width, int32_t height);
// Releases the device, then the Direct3D object, clearing each; safe to repeat.
void dhReleaseDevice(IDirect3D9*& direct3d, IDirect3DDevice9*& device);
