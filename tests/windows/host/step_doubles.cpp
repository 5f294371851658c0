#include "step_doubles.h"

#include <algorithm>

#include "windows/settings/settings_store.h"

StepDoubles gSteps;

int CountCalls(const std::string& name) {
    return static_cast<int>(std::count(gSteps.calls.begin(), gSteps.calls.end(), name));
}

namespace {

void Log(const char* name) {
    gSteps.calls.push_back(name);
}

} // namespace

// Named apart from the real steps, whose headers the table's types bring in.
namespace doubles {

void LoadSettings() {
    Log("LoadSettings");
    gSettings = gSteps.settings;
}

HRESULT CreateDirect3D(IDirect3D9** direct3d) {
    Log("dhCreateDirect3D");
    if (gSteps.realDevice && SUCCEEDED(gSteps.createDirect3DResult)) {
        *direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        return *direct3d ? S_OK : E_FAIL;
    }
    return gSteps.createDirect3DResult;
}

HRESULT ChooseBackBufferFormat(IDirect3D9*, uint8_t fullScreen, uint8_t colourDepth, D3DFORMAT*) {
    Log("dhChooseBackBufferFormat");
    gSteps.fullScreen = fullScreen;
    gSteps.colourDepth = colourDepth;
    return S_OK;
}

bool IsDisplayMode(IDirect3D9*, D3DFORMAT, int32_t, int32_t) {
    return true;
}

void FillPresentParameters(uint8_t, HWND window, int32_t width, int32_t height, D3DFORMAT,
                           D3DFORMAT, D3DPRESENT_PARAMETERS* parameters) {
    Log("dhFillPresentParameters");
    *parameters = D3DPRESENT_PARAMETERS{};
    parameters->Windowed = TRUE;
    parameters->SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters->hDeviceWindow = window;
    parameters->BackBufferWidth = static_cast<UINT>(width);
    parameters->BackBufferHeight = static_cast<UINT>(height);
    gSteps.presentWidth = width;
    gSteps.presentHeight = height;
}

HRESULT CreateDevice(IDirect3D9* direct3d, UINT adapter, D3DDEVTYPE type, HWND window,
                     D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    Log("dhCreateDevice");
    if (FAILED(gSteps.createDeviceResult)) {
        return gSteps.createDeviceResult;
    }
    if (gSteps.realDevice) {
        return direct3d->CreateDevice(adapter, type, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                      parameters, device);
    }
    return S_OK;
}

void ReleaseDevice(IDirect3D9*& direct3d, IDirect3DDevice9*& device) {
    Log("dhReleaseDevice");
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
}

HRESULT HandleLostDevice(IDirect3DDevice9*, D3DPRESENT_PARAMETERS*, HRESULT code) {
    Log("dhHandleLostDevice");
    gSteps.lostDeviceCode = code;
    return gSteps.lostDeviceResult;
}

HRESULT LoadSpriteTexture(IDirect3DDevice9*, IDirect3DTexture9**) {
    Log("LoadSpriteTexture");
    return gSteps.spriteResult;
}

void ApplyRenderStates(IDirect3DDevice9*, IDirect3DTexture9*) {
    Log("ApplyRenderStates");
}

void SetupCamera(IDirect3DDevice9*, int32_t width, int32_t height) {
    Log("SetupCamera");
    gSteps.cameraWidth = width;
    gSteps.cameraHeight = height;
}

void BuildFlakeVertices(const FlakeScene&, FlakeVertex*) {
    Log("BuildFlakeVertices");
}

HRESULT DrawFlakes(IDirect3DDevice9*, const FlakeScene&, const FlakeVertex* vertices) {
    Log("DrawFlakes");
    gSteps.drawnVertices = vertices;
    return gSteps.drawResult;
}

// A clock and a scene of gSteps.flakeCount flakes without flakes, and the
// vertex array when the start is to succeed.
int32_t StartSnowRun(SnowRun& run, const SnowRunChoice& choice) {
    Log("StartSnowRun");
    gSteps.runChoice = choice;
    run.tickClock = new TickClock{0, 0, 0, 1, kMaxStepMs};
    run.flakeScene = new FlakeScene{};
    run.flakeScene->flakeCount = gSteps.flakeCount;
    if (gSteps.startRunResult == kSnowRunStarted) {
        run.vertexCapacity = FlakeVertexCapacity(gSteps.flakeCount);
        run.vertices = new FlakeVertex[run.vertexCapacity];
    }
    return gSteps.startRunResult;
}

void UpdateTickClock(TickClock& clock) {
    ++gSteps.tickUpdates;
    clock.stepMs = gSteps.stepMs;
}

void UpdateFlakes(FlakeScene&, uint32_t elapsedMicroseconds) {
    gSteps.lastStepMicroseconds = elapsedMicroseconds;
}

void EndSnowRun(SnowRun& run) {
    Log("EndSnowRun");
    ::EndSnowRun(run);
}

BOOL RegisterDialogHook(HINSTANCE) {
    Log("RegisterDialogHook");
    return TRUE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        ++gSteps.dialogs;
        gSteps.dialogParent = GetParent(dialog);
        EndDialog(dialog, 42);
        return TRUE;
    }
    return FALSE;
}

} // namespace doubles

SaverSteps DoubleSteps() {
    SaverSteps steps = {};
    steps.loadSettings = doubles::LoadSettings;
    steps.createDirect3D = doubles::CreateDirect3D;
    steps.chooseBackBufferFormat = doubles::ChooseBackBufferFormat;
    steps.isDisplayMode = doubles::IsDisplayMode;
    steps.fillPresentParameters = doubles::FillPresentParameters;
    steps.createDevice = doubles::CreateDevice;
    steps.releaseDevice = doubles::ReleaseDevice;
    steps.handleLostDevice = doubles::HandleLostDevice;
    steps.loadSpriteTexture = doubles::LoadSpriteTexture;
    steps.applyRenderStates = doubles::ApplyRenderStates;
    steps.setupCamera = doubles::SetupCamera;
    steps.buildFlakeVertices = doubles::BuildFlakeVertices;
    steps.drawFlakes = doubles::DrawFlakes;
    steps.startSnowRun = doubles::StartSnowRun;
    steps.updateTickClock = doubles::UpdateTickClock;
    steps.updateFlakes = doubles::UpdateFlakes;
    steps.endSnowRun = doubles::EndSnowRun;
    steps.registerDialogHook = doubles::RegisterDialogHook;
    steps.configDialogProc = doubles::ConfigDialogProc;
    return steps;
}
