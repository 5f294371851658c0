// The sprite texture, the fixed texture and blend states, and the camera.
#pragma once

#include <cstdint>

#include <windows.h>
#include <d3d9.h>

// The flake sprite (resource 123) as a managed texture; negative when none.
HRESULT LoadSpriteTexture(IDirect3DDevice9* device, IDirect3DTexture9** texture);
void ApplyRenderStates(IDirect3DDevice9* device, IDirect3DTexture9* texture);
void SetupCamera(IDirect3DDevice9* device, int32_t clientWidth, int32_t clientHeight);
