#include "fake_direct3d.h"

#include <algorithm>
#include <cstdio>

std::vector<std::string>& ReleaseOrder() {
    static std::vector<std::string> order;
    return order;
}

namespace {

std::string Args(const char* name, DWORD a, DWORD b) {
    char text[96];
    std::snprintf(text, sizeof text, "%s(%lu,%lu)", name, static_cast<unsigned long>(a),
                  static_cast<unsigned long>(b));
    return text;
}

std::string Args(const char* name, DWORD a, DWORD b, DWORD c) {
    char text[96];
    std::snprintf(text, sizeof text, "%s(%lu,%lu,%lu)", name, static_cast<unsigned long>(a),
                  static_cast<unsigned long>(b), static_cast<unsigned long>(c));
    return text;
}

} // namespace

int FakeDevice::Count(const std::string& name) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

HRESULT FakeDevice::QueryInterface(REFIID, void** object) {
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDevice::AddRef() {
    calls.push_back("AddRef");
    return static_cast<ULONG>(++references);
}

ULONG FakeDevice::Release() {
    calls.push_back("Release");
    ReleaseOrder().push_back("device");
    return static_cast<ULONG>(--references);
}

HRESULT FakeDevice::TestCooperativeLevel() {
    calls.push_back("TestCooperativeLevel");
    return testResult;
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* parameters) {
    calls.push_back("Reset");
    resetParameters = parameters;
    if (SUCCEEDED(resetResult)) {
        renderStates.clear();
        textureStageStates.clear();
        samplerStates.clear();
        textures.clear();
        transforms.clear();
        fvf = 0;
    }
    return resetResult;
}

HRESULT FakeDevice::Present(const RECT* source, const RECT* destination, HWND window,
                            const RGNDATA* dirty) {
    calls.push_back("Present");
    presentArgumentsAllNull = !source && !destination && !window && !dirty;
    return presentResult;
}

HRESULT FakeDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                          DWORD stencil) {
    calls.push_back("Clear");
    clearArgs = {count, rects, flags, colour, z, stencil};
    return clearResult;
}

HRESULT FakeDevice::BeginScene() {
    calls.push_back("BeginScene");
    return beginSceneResult;
}

HRESULT FakeDevice::EndScene() {
    calls.push_back("EndScene");
    return endSceneResult;
}

HRESULT FakeDevice::SetFVF(DWORD format) {
    calls.push_back("SetFVF");
    fvf = format;
    return D3D_OK;
}

HRESULT FakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                    UINT stride) {
    calls.push_back("DrawPrimitiveUP");
    draws.push_back({type, count, data, stride});
    return drawResult;
}

HRESULT FakeDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    calls.push_back("SetSamplerState");
    stateCalls.push_back(Args("SetSamplerState", sampler, type, value));
    samplerStates[{sampler, type}] = value;
    return D3D_OK;
}

HRESULT FakeDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    calls.push_back("SetTextureStageState");
    stateCalls.push_back(Args("SetTextureStageState", stage, type, value));
    textureStageStates[{stage, type}] = value;
    return D3D_OK;
}

HRESULT FakeDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    calls.push_back("SetTexture");
    stateCalls.push_back(Args("SetTexture", stage, texture ? 1 : 0));
    textures[stage] = texture;
    return D3D_OK;
}

HRESULT FakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    calls.push_back("SetRenderState");
    stateCalls.push_back(Args("SetRenderState", state, value));
    renderStates[state] = value;
    return D3D_OK;
}

HRESULT FakeDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    calls.push_back("SetTransform");
    stateCalls.push_back(Args("SetTransform", state, 0));
    transforms[state] = *matrix;
    return D3D_OK;
}

HRESULT FakeDevice::CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                  IDirect3DTexture9** texture, HANDLE*) {
    calls.push_back("CreateTexture");
    ++createTextureCalls;
    *texture = nullptr;
    return D3DERR_OUTOFVIDEOMEMORY;
}

std::vector<D3DFORMAT> FakeDirect3D::CheckedFormats() const {
    std::vector<D3DFORMAT> formats;
    for (const Check& check : checks) {
        formats.push_back(check.backBufferFormat);
    }
    return formats;
}

HRESULT FakeDirect3D::QueryInterface(REFIID, void** object) {
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDirect3D::AddRef() {
    return static_cast<ULONG>(++references);
}

ULONG FakeDirect3D::Release() {
    ReleaseOrder().push_back("direct3d");
    return static_cast<ULONG>(--references);
}

HRESULT FakeDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT displayFormat,
                                      D3DFORMAT backBufferFormat, WINBOOL windowed) {
    checks.push_back({adapter, deviceType, displayFormat, backBufferFormat, windowed});
    return acceptedFormats.count(backBufferFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

UINT FakeDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    UINT count = 0;
    for (const D3DDISPLAYMODE& mode : modes) {
        count += adapter == D3DADAPTER_DEFAULT && mode.Format == format ? 1 : 0;
    }
    return count;
}

HRESULT FakeDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                       D3DDISPLAYMODE* mode) {
    for (const D3DDISPLAYMODE& listed : modes) {
        if (adapter == D3DADAPTER_DEFAULT && listed.Format == format && index-- == 0) {
            *mode = listed;
            return D3D_OK;
        }
    }
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND window,
                                   DWORD behaviour, D3DPRESENT_PARAMETERS* parameters,
                                   IDirect3DDevice9** device) {
    creations.push_back({adapter, deviceType, window, behaviour, parameters, parameters->Windowed});
    const HRESULT result =
        parameters->Windowed || FAILED(createResult) ? createResult : exclusiveCreateResult;
    *device = SUCCEEDED(result) ? deviceToCreate : nullptr;
    return result;
}
