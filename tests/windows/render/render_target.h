// What a Direct3D 9 device drew, read back from its render target.
#pragma once

#include <vector>

#include <windows.h>
#include <d3d9.h>

// The green channel of the render target (the flakes are white), rows from
// the top, with its size; empty when it cannot be read.
struct RenderTargetPicture {
    UINT width = 0;
    UINT height = 0;
    std::vector<int> grey;
};
RenderTargetPicture ReadRenderTarget(IDirect3DDevice9* device);
