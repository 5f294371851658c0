#include "render_target.h"

#include <cstdint>

RenderTargetPicture ReadRenderTarget(IDirect3DDevice9* device) {
    RenderTargetPicture picture;
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* copy = nullptr;
    if (FAILED(device->GetRenderTarget(0, &target))) {
        return picture;
    }
    D3DSURFACE_DESC desc;
    target->GetDesc(&desc);
    if (SUCCEEDED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                      D3DPOOL_SYSTEMMEM, &copy, nullptr)) &&
        SUCCEEDED(device->GetRenderTargetData(target, copy))) {
        D3DLOCKED_RECT locked;
        if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            picture.width = desc.Width;
            picture.height = desc.Height;
            picture.grey.resize(static_cast<size_t>(desc.Width) * desc.Height);
            for (UINT y = 0; y < desc.Height; ++y) {
                const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch;
                for (UINT x = 0; x < desc.Width; ++x) {
                    picture.grey[static_cast<size_t>(y) * desc.Width + x] = row[x * 4 + 1];
                }
            }
            copy->UnlockRect();
        }
    }
    if (copy) {
        copy->Release();
    }
    target->Release();
    return picture;
}
