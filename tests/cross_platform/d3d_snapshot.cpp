// d3d_snapshot OUT.pgm: the fixed scene drawn by the Windows saver's own
// Direct3D 9 path (sprite texture, states, camera, vertices, drawing) in a
// window of the snapshot's size, read back from the render target.
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <vector>

#include "windows/render/device_setup.h"
#include "windows/render/draw_flakes.h"
#include "windows/render/render_setup.h"
#include "render_target.h"
#include "snapshot_scene.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateSnapshotWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillfrostSnapshot";
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&windowClass);
    return CreateWindowA("QuillfrostSnapshot", "Quillfrost snapshot", WS_POPUP | WS_VISIBLE, 0, 0,
                         kSnapshotWidth, kSnapshotHeight, nullptr, nullptr, windowClass.hInstance,
                         nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: d3d_snapshot OUT.pgm\n");
        return 2;
    }
    HWND window = CreateSnapshotWindow();
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    IDirect3DTexture9* sprite = nullptr;
    D3DPRESENT_PARAMETERS parameters;
    if (FAILED(dhCreateDirect3D(&direct3d))) {
        std::fprintf(stderr, "d3d_snapshot: no Direct3D\n");
        return 1;
    }
    dhFillPresentParameters(0, window, kSnapshotWidth, kSnapshotHeight, D3DFMT_UNKNOWN,
                            D3DFMT_UNKNOWN, &parameters);
    // A copying swap keeps the back buffer readable after Present.
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    SnowRun run = {};
    if (FAILED(dhCreateDevice(direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, &parameters,
                              &device)) ||
        FAILED(LoadSpriteTexture(device, &sprite)) || !StartSnapshotRun(run)) {
        std::fprintf(stderr, "d3d_snapshot: no device, sprite or scene\n");
        EndSnowRun(run);
        dhReleaseDevice(direct3d, device);
        return 1;
    }
    ApplyRenderStates(device, sprite);
    SetupCamera(device, kSnapshotWidth, kSnapshotHeight);
    const HRESULT drawn = DrawFlakes(device, *run.flakeScene, run.vertices);
    const RenderTargetPicture picture = ReadRenderTarget(device);
    const std::vector<uint8_t> grey(picture.grey.begin(), picture.grey.end());
    const bool written = SUCCEEDED(drawn) && !grey.empty() &&
                         WritePgm(argv[1], grey, kSnapshotWidth, kSnapshotHeight);
    EndSnowRun(run);
    sprite->Release();
    dhReleaseDevice(direct3d, device);
    DestroyWindow(window);
    return written ? 0 : 1;
}
