// Frame benchmark on a real windowed Direct3D 9 device: at 5000 flakes and a
// 1024 x 768 client area, the time per frame of the motion update, the vertex
// build, and the drawing with Present; and the same draws issued by a bare
// loop with no simulation, so that the saver's own overhead shows as a ratio.
//
//   render_frame_bench.exe [frames]
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/run/snow_run.h"
#include "windows/render/device_setup.h"
#include "windows/render/draw_flakes.h"
#include "windows/render/render_setup.h"
#include "platform/platform.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateBenchWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillfrostFrameBench";
    RegisterClassA(&windowClass);
    RECT rect = {0, 0, kWidth, kHeight};
    AdjustWindowRect(&rect, WS_POPUP, FALSE);
    HWND window = CreateWindowA("QuillfrostFrameBench", "Quillfrost frame benchmark", WS_POPUP, 0,
                                0, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// The draws of DrawFlakes written out, with nothing around them.
HRESULT BareDraws(IDirect3DDevice9* device, int32_t count, const FlakeVertex* vertices) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    device->BeginScene();
    device->SetFVF(kFlakeVertexFvf);
    for (int32_t i = 0; i < count; ++i) {
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices + 4 * i, sizeof(FlakeVertex));
    }
    device->EndScene();
    return device->Present(nullptr, nullptr, nullptr, nullptr);
}

// Waits until the device has carried out everything issued so far, so that
// each timing holds its own drawing and nothing of the one before.
void Finish(IDirect3DDevice9* device) {
    IDirect3DQuery9* query = nullptr;
    if (FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, &query))) {
        return;
    }
    query->Issue(D3DISSUE_END);
    while (query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
        Sleep(0);
    }
    query->Release();
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 30;
    HWND window = CreateBenchWindow();
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    if (FAILED(dhCreateDirect3D(&direct3d))) {
        std::printf("no Direct3D\n");
        return 1;
    }
    D3DPRESENT_PARAMETERS parameters;
    dhFillPresentParameters(0, window, kWidth, kHeight, D3DFMT_UNKNOWN, D3DFMT_UNKNOWN,
                            &parameters);
    if (FAILED(dhCreateDevice(direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, &parameters,
                              &device))) {
        std::printf("no device\n");
        dhReleaseDevice(direct3d, device);
        return 1;
    }
    IDirect3DTexture9* sprite = nullptr;
    if (FAILED(LoadSpriteTexture(device, &sprite))) {
        std::printf("no sprite\n");
        dhReleaseDevice(direct3d, device);
        return 1;
    }
    ApplyRenderStates(device, sprite);
    SetupCamera(device, kWidth, kHeight);

    // 5000 flakes, half speed, fractal wind from the stored tables.
    SnowRun run = {};
    const SnowRunChoice choice = {
        {1.0f, 0.5f, 1}, kWidth, kHeight, PlatformResourceBytes, {nullptr, nullptr}, 1,
        12345,           10,     0};
    if (StartSnowRun(run, choice) != kSnowRunStarted) {
        std::printf("no scene\n");
        EndSnowRun(run);
        return 1;
    }
    FlakeScene& scene = *run.flakeScene;
    FlakeVertex* vertices = run.vertices;
    // Let every flake be released and spread out before timing.
    for (int i = 0; i < 600; ++i) {
        StepSnowRun(run, 10);
    }

    // The bare loop draws two fixed frames in turn: like the saver's frames,
    // each differs from the one drawn before it (drawing the same vertices
    // twice in a row is much cheaper on Wine's software rasteriser).
    const std::vector<FlakeVertex> bareFrame(run.vertexCapacity);
    std::vector<FlakeVertex> bareFrames[2] = {bareFrame, bareFrame};
    BuildFlakeVertices(scene, bareFrames[0].data());
    StepSnowRun(run, 40);
    BuildFlakeVertices(scene, bareFrames[1].data());

    // The saver's frame and the bare draws take turns, so that both see the
    // same load on the machine.
    double update = 0.0;
    double build = 0.0;
    double draw = 0.0;
    double whole = 0.0;
    double bare = 0.0;
    Finish(device);
    for (int frame = 0; frame < frames + 3; ++frame) {
        const double t0 = NowMs();
        StepSnowRun(run, 10);
        const double t1 = NowMs();
        BuildSnowRunVertices(run);
        const double t2 = NowMs();
        DrawFlakes(device, scene, vertices);
        Finish(device);
        const double t3 = NowMs();
        BareDraws(device, scene.flakeCount, bareFrames[frame % 2].data());
        Finish(device);
        const double t4 = NowMs();
        if (frame >= 3) { // the first frames warm the driver up
            update += t1 - t0;
            build += t2 - t1;
            draw += t3 - t2;
            whole += t3 - t0;
            bare += t4 - t3;
        }
    }

    std::printf("flakes %d, client %d x %d, %d frames each\n", scene.flakeCount, kWidth, kHeight,
                frames);
    std::printf("update        %8.3f ms per frame\n", update / frames);
    std::printf("vertex build  %8.3f ms per frame\n", build / frames);
    std::printf("draw+present  %8.3f ms per frame\n", draw / frames);
    std::printf("saver frame   %8.3f ms per frame\n", whole / frames);
    std::printf("bare draws    %8.3f ms per frame\n", bare / frames);
    std::printf("saver frame / bare draws = %.3f\n", whole / bare);

    EndSnowRun(run);
    sprite->Release();
    dhReleaseDevice(direct3d, device);
    DestroyWindow(window);
    return 0;
}
