#include "windows/render/device_setup.h"

#include "windows/diag/log.h"

namespace {

// The first of two candidates that the adapter accepts as a full-screen HAL
// format, or D3DFMT_UNKNOWN after logging the message.
D3DFORMAT FirstUsableFormat(IDirect3D9* direct3d, D3DFORMAT first, D3DFORMAT second,
                            const char* failure) {
    const D3DFORMAT candidates[] = {first, second};
    for (D3DFORMAT candidate : candidates) {
        HRESULT result = direct3d->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, candidate,
                                                   candidate, FALSE);
        if (SUCCEEDED(result)) {
            return candidate;
        }
    }
    LogMessage(failure, 0);
    return D3DFMT_UNKNOWN;
}

} // namespace

HRESULT dhCreateDirect3D(IDirect3D9** direct3d) {
    *direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    return *direct3d ? S_OK : E_FAIL;
}

D3DFORMAT dhFind16BitMode(IDirect3D9* direct3d) {
    return FirstUsableFormat(direct3d, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5,
                             "dhFind16BitMode failed to find a usable mode");
}

D3DFORMAT dhFind32BitMode(IDirect3D9* direct3d) {
    return FirstUsableFormat(direct3d, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8,
                             "dhFind32BitMode failed to find a usable mode");
}

HRESULT dhChooseBackBufferFormat(IDirect3D9* direct3d, uint8_t fullScreen, uint8_t colourDepth,
                                 D3DFORMAT* format) {
    D3DFORMAT chosen = D3DFMT_UNKNOWN;
    if (fullScreen) {
        if (colourDepth == 16) {
            chosen = dhFind16BitMode(direct3d);
        } else if (colourDepth == 32) {
            chosen = dhFind32BitMode(direct3d);
        } else {
            chosen = dhFind16BitMode(direct3d);
            if (chosen == D3DFMT_UNKNOWN) {
                chosen = dhFind32BitMode(direct3d);
            }
        }
    }
    *format = chosen;
    return S_OK;
}

void dhFillPresentParameters(uint8_t fullScreen, HWND window, int32_t width, int32_t height,
                             D3DFORMAT backBufferFormat, D3DFORMAT depthStencilFormat,
                             D3DPRESENT_PARAMETERS* parameters) {
    ZeroMemory(parameters, sizeof *parameters);
    if (fullScreen) {
        parameters->BackBufferWidth = static_cast<UINT>(width);
        parameters->BackBufferHeight = static_cast<UINT>(height);
        parameters->Windowed = FALSE;
    } else {
        // Zero: Direct3D takes the window's client size.
        parameters->BackBufferWidth = 0;
        parameters->BackBufferHeight = 0;
        parameters->Windowed = TRUE;
    }
    parameters->BackBufferFormat = backBufferFormat;
    parameters->BackBufferCount = 1;
    parameters->MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters->MultiSampleQuality = 0;
    parameters->SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters->hDeviceWindow = window;
    parameters->EnableAutoDepthStencil = depthStencilFormat != D3DFMT_UNKNOWN ? TRUE : FALSE;
    parameters->AutoDepthStencilFormat = depthStencilFormat;
    parameters->Flags = 0;
    parameters->FullScreen_RefreshRateInHz = 0;
    parameters->PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
}

HRESULT dhCreateDevice(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE deviceType, HWND window,
                       D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    return direct3d->CreateDevice(adapter, deviceType, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                  parameters, device);
}

bool dhIsDisplayMode(IDirect3D9* direct3d, D3DFORMAT format, int32_t width, int32_t height) {
    // An alpha back buffer is shown in the display format without alpha.
    const D3DFORMAT display = format == D3DFMT_A8R8G8B8 ? D3DFMT_X8R8G8B8 : format;
    if (display == D3DFMT_UNKNOWN || width <= 0 || height <= 0) {
        return false;
    }
    const UINT count = direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, display);
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode = {};
        if (SUCCEEDED(direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, display, i, &mode)) &&
            mode.Width == static_cast<UINT>(width) && mode.Height == static_cast<UINT>(height)) {
            return true;
        }
    }
    return false;
}

void dhReleaseDevice(IDirect3D9*& direct3d, IDirect3DDevice9*& device) {
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
}
