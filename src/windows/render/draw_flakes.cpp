#include "windows/render/draw_flakes.h"

HRESULT DrawFlakes(IDirect3DDevice9* device, const FlakeScene& scene, const FlakeVertex* vertices) {
    HRESULT result = device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(0, 0, 0, 0), 1.0f, 0);
    if (FAILED(result)) {
        return result;
    }
    result = device->BeginScene();
    if (FAILED(result)) {
        return result;
    }
    device->SetFVF(kFlakeVertexFvf);
    // One strip of two triangles per flake, straight from the vertex array;
    // a failed draw is not looked at, Present's result is what counts.
    for (int32_t i = 0; i < scene.flakeCount; ++i) {
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2,
                                vertices + static_cast<size_t>(i) * kVerticesPerFlake,
                                sizeof(FlakeVertex));
    }
    device->EndScene();
    return device->Present(nullptr, nullptr, nullptr, nullptr);
}
