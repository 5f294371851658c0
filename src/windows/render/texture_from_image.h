// A texture from the bytes of an image file, decoded by the Windows Imaging
// Component: the image's size, A8R8G8B8, the managed pool and the full mip
// chain, each level a box-filtered reduction of the one above.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

// D3DXERR_INVALIDDATA: the bytes are no image the decoder knows.
constexpr HRESULT kInvalidImageData = static_cast<HRESULT>(0x88760B59u);

// D3D_OK and the texture, or a negative result and null.
HRESULT dhCreateTextureFromImageInMemory(IDirect3DDevice9* device, const void* data, uint32_t size,
                                         IDirect3DTexture9** texture);
