// Recording test doubles of IDirect3DDevice9 and IDirect3D9. The methods the
// rendering code calls record their arguments and return scripted results;
// every other method records nothing and returns D3DERR_INVALIDCALL (or zero).
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Order of releases across all doubles, to check what goes first.
std::vector<std::string>& ReleaseOrder();

struct DrawCall {
    D3DPRIMITIVETYPE type;
    UINT primitiveCount;
    const void* data;
    UINT stride;
};

class FakeDevice : public IDirect3DDevice9 {
  public:
    // Scripted results.
    HRESULT testResult = D3D_OK;
    HRESULT resetResult = D3D_OK;
    HRESULT clearResult = D3D_OK;
    HRESULT beginSceneResult = D3D_OK;
    HRESULT endSceneResult = D3D_OK;
    HRESULT drawResult = D3D_OK;
    HRESULT presentResult = D3D_OK;

    // What was called, in order: the method names.
    std::vector<std::string> calls;
    // Every state call in order, as "name(a,b[,c])".
    std::vector<std::string> stateCalls;

    // The device state as set (a successful Reset empties it, like a real
    // device falling back to its defaults).
    std::map<DWORD, DWORD> renderStates;
    std::map<std::pair<DWORD, DWORD>, DWORD> textureStageStates;
    std::map<std::pair<DWORD, DWORD>, DWORD> samplerStates;
    std::map<DWORD, IDirect3DBaseTexture9*> textures;
    std::map<DWORD, D3DMATRIX> transforms;
    DWORD fvf = 0;

    std::vector<DrawCall> draws;
    struct ClearArgs {
        DWORD count;
        const D3DRECT* rects;
        DWORD flags;
        D3DCOLOR colour;
        float z;
        DWORD stencil;
    } clearArgs{};
    bool presentArgumentsAllNull = false;
    D3DPRESENT_PARAMETERS* resetParameters = nullptr;
    int createTextureCalls = 0;
    LONG references = 1;

    int Count(const std::string& name) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* source, const RECT* destination, HWND window,
                                      const RGNDATA* dirty) override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour,
                                    float z, DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD format) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                              UINT stride) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type,
                                              DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state,
                                           const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                            IDirect3DTexture9** texture, HANDLE*) override;

    // Not used by the rendering code.
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override { return 0; }
    HRESULT STDMETHODCALLTYPE EvictManagedResources() override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** /*ppD3D9*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* /*pCaps*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT /*iSwapChain*/,
                                             D3DDISPLAYMODE* /*pMode*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE
    GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* /*pParameters*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT /*XHotSpot*/, UINT /*YHotSpot*/,
                                                  IDirect3DSurface9* /*pCursorBitmap*/) override {
        return D3DERR_INVALIDCALL;
    }
    void STDMETHODCALLTYPE SetCursorPosition(int /*X*/, int /*Y*/, DWORD /*Flags*/) override {}
    WINBOOL STDMETHODCALLTYPE ShowCursor(WINBOOL /*bShow*/) override { return FALSE; }
    HRESULT STDMETHODCALLTYPE
    CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* /*pPresentationParameters*/,
                              IDirect3DSwapChain9** /*pSwapChain*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetSwapChain(UINT /*iSwapChain*/,
                                           IDirect3DSwapChain9** /*pSwapChain*/) override {
        return D3DERR_INVALIDCALL;
    }
    UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override { return 0; }
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT /*iSwapChain*/, UINT /*iBackBuffer*/,
                                            D3DBACKBUFFER_TYPE /*Type*/,
                                            IDirect3DSurface9** /*ppBackBuffer*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT /*iSwapChain*/,
                                              D3DRASTER_STATUS* /*pRasterStatus*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetDialogBoxMode(WINBOOL /*bEnableDialogs*/) override {
        return D3DERR_INVALIDCALL;
    }
    void STDMETHODCALLTYPE SetGammaRamp(UINT /*swapchain_idx*/, DWORD /*flags*/,
                                        const D3DGAMMARAMP* /*ramp*/) override {}
    void STDMETHODCALLTYPE GetGammaRamp(UINT /*iSwapChain*/, D3DGAMMARAMP* /*pRamp*/) override {}
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT /*Width*/, UINT /*Height*/, UINT /*Depth*/,
                                                  UINT /*Levels*/, DWORD /*Usage*/,
                                                  D3DFORMAT /*Format*/, D3DPOOL /*Pool*/,
                                                  IDirect3DVolumeTexture9** /*ppVolumeTexture*/,
                                                  HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT /*EdgeLength*/, UINT /*Levels*/,
                                                DWORD /*Usage*/, D3DFORMAT /*Format*/,
                                                D3DPOOL /*Pool*/,
                                                IDirect3DCubeTexture9** /*ppCubeTexture*/,
                                                HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT /*Length*/, DWORD /*Usage*/, DWORD /*FVF*/,
                                                 D3DPOOL /*Pool*/,
                                                 IDirect3DVertexBuffer9** /*ppVertexBuffer*/,
                                                 HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT /*Length*/, DWORD /*Usage*/,
                                                D3DFORMAT /*Format*/, D3DPOOL /*Pool*/,
                                                IDirect3DIndexBuffer9** /*ppIndexBuffer*/,
                                                HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT /*Width*/, UINT /*Height*/,
                                                 D3DFORMAT /*Format*/,
                                                 D3DMULTISAMPLE_TYPE /*MultiSample*/,
                                                 DWORD /*MultisampleQuality*/, WINBOOL /*Lockable*/,
                                                 IDirect3DSurface9** /*ppSurface*/,
                                                 HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(
        UINT /*Width*/, UINT /*Height*/, D3DFORMAT /*Format*/, D3DMULTISAMPLE_TYPE /*MultiSample*/,
        DWORD /*MultisampleQuality*/, WINBOOL /*Discard*/, IDirect3DSurface9** /*ppSurface*/,
        HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* /*src_surface*/,
                                            const RECT* /*src_rect*/,
                                            IDirect3DSurface9* /*dst_surface*/,
                                            const POINT* /*dst_point*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE
    UpdateTexture(IDirect3DBaseTexture9* /*pSourceTexture*/,
                  IDirect3DBaseTexture9* /*pDestinationTexture*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* /*pRenderTarget*/,
                                                  IDirect3DSurface9* /*pDestSurface*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT /*iSwapChain*/,
                                                 IDirect3DSurface9* /*pDestSurface*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9* /*src_surface*/,
                                          const RECT* /*src_rect*/,
                                          IDirect3DSurface9* /*dst_surface*/,
                                          const RECT* /*dst_rect*/,
                                          D3DTEXTUREFILTERTYPE /*filter*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9* /*surface*/, const RECT* /*rect*/,
                                        D3DCOLOR /*color*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT /*Width*/, UINT /*Height*/,
                                                          D3DFORMAT /*Format*/, D3DPOOL /*Pool*/,
                                                          IDirect3DSurface9** /*ppSurface*/,
                                                          HANDLE* /*pSharedHandle*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD /*RenderTargetIndex*/,
                                              IDirect3DSurface9* /*pRenderTarget*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD /*RenderTargetIndex*/,
                                              IDirect3DSurface9** /*ppRenderTarget*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* /*pNewZStencil*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE
    GetDepthStencilSurface(IDirect3DSurface9** /*ppZStencilSurface*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE /*State*/,
                                           D3DMATRIX* /*pMatrix*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE /*state*/,
                                                const D3DMATRIX* /*matrix*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* /*viewport*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* /*pViewport*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* /*material*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* /*pMaterial*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetLight(DWORD /*index*/, const D3DLIGHT9* /*light*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetLight(DWORD /*Index*/, D3DLIGHT9*) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD /*Index*/, WINBOOL /*Enable*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD /*Index*/, WINBOOL* /*pEnable*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD /*index*/, const float* /*plane*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD /*Index*/, float* /*pPlane*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE /*State*/,
                                             DWORD* /*pValue*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE /*Type*/,
                                               IDirect3DStateBlock9** /*ppSB*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9** /*ppSB*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9* /*clip_status*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9* /*pClipStatus*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD /*Stage*/,
                                         IDirect3DBaseTexture9** /*ppTexture*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD /*Stage*/,
                                                   D3DTEXTURESTAGESTATETYPE /*Type*/,
                                                   DWORD* /*pValue*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD /*Sampler*/, D3DSAMPLERSTATETYPE /*Type*/,
                                              DWORD* /*pValue*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* /*pNumPasses*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT /*palette_idx*/,
                                                const PALETTEENTRY* /*entries*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT /*PaletteNumber*/,
                                                PALETTEENTRY* /*pEntries*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT /*PaletteNumber*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT* /*PaletteNumber*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT* /*rect*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* /*pRect*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(WINBOOL /*bSoftware*/) override {
        return D3DERR_INVALIDCALL;
    }
    WINBOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override { return FALSE; }
    HRESULT STDMETHODCALLTYPE SetNPatchMode(float /*nSegments*/) override {
        return D3DERR_INVALIDCALL;
    }
    float STDMETHODCALLTYPE GetNPatchMode() override { return 0.0f; }
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE /*PrimitiveType*/,
                                            UINT /*StartVertex*/,
                                            UINT /*PrimitiveCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT /*BaseVertexIndex*/,
                                                   UINT /*MinVertexIndex*/, UINT /*NumVertices*/,
                                                   UINT /*startIndex*/,
                                                   UINT /*primCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(
        D3DPRIMITIVETYPE /*primitive_type*/, UINT /*min_vertex_idx*/, UINT /*vertex_count*/,
        UINT /*primitive_count*/, const void* /*index_data*/, D3DFORMAT /*index_format*/,
        const void* /*data*/, UINT /*stride*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT /*SrcStartIndex*/, UINT /*DestIndex*/,
                                              UINT /*VertexCount*/,
                                              IDirect3DVertexBuffer9* /*pDestBuffer*/,
                                              IDirect3DVertexDeclaration9* /*pVertexDecl*/,
                                              DWORD /*Flags*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE
    CreateVertexDeclaration(const D3DVERTEXELEMENT9* /*elements*/,
                            IDirect3DVertexDeclaration9** /*declaration*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE
    SetVertexDeclaration(IDirect3DVertexDeclaration9* /*pDecl*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE
    GetVertexDeclaration(IDirect3DVertexDeclaration9** /*ppDecl*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* /*pFVF*/) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* /*byte_code*/,
                                                 IDirect3DVertexShader9** /*shader*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* /*pShader*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** /*ppShader*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT /*reg_idx*/, const float* /*data*/,
                                                       UINT /*count*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT /*StartRegister*/,
                                                       float* /*pConstantData*/,
                                                       UINT /*Vector4fCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT /*reg_idx*/, const int* /*data*/,
                                                       UINT /*count*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT /*StartRegister*/,
                                                       int* /*pConstantData*/,
                                                       UINT /*Vector4iCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT /*reg_idx*/, const WINBOOL* /*data*/,
                                                       UINT /*count*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT /*StartRegister*/,
                                                       WINBOOL* /*pConstantData*/,
                                                       UINT /*BoolCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT /*StreamNumber*/,
                                              IDirect3DVertexBuffer9* /*pStreamData*/,
                                              UINT /*OffsetInBytes*/, UINT /*Stride*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT /*StreamNumber*/,
                                              IDirect3DVertexBuffer9** /*ppStreamData*/,
                                              UINT* /*OffsetInBytes*/, UINT* /*pStride*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT /*StreamNumber*/,
                                                  UINT /*Divider*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT /*StreamNumber*/,
                                                  UINT* /*Divider*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* /*pIndexData*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** /*ppIndexData*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* /*byte_code*/,
                                                IDirect3DPixelShader9** /*shader*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* /*pShader*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9** /*ppShader*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT /*reg_idx*/, const float* /*data*/,
                                                      UINT /*count*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT /*StartRegister*/,
                                                      float* /*pConstantData*/,
                                                      UINT /*Vector4fCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT /*reg_idx*/, const int* /*data*/,
                                                      UINT /*count*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT /*StartRegister*/,
                                                      int* /*pConstantData*/,
                                                      UINT /*Vector4iCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT /*reg_idx*/, const WINBOOL* /*data*/,
                                                      UINT /*count*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT /*StartRegister*/,
                                                      WINBOOL* /*pConstantData*/,
                                                      UINT /*BoolCount*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT /*handle*/, const float* /*segment_count*/,
                                            const D3DRECTPATCH_INFO* /*patch_info*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT /*handle*/, const float* /*segment_count*/,
                                           const D3DTRIPATCH_INFO* /*patch_info*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT /*Handle*/) override { return D3DERR_INVALIDCALL; }
    HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE /*Type*/,
                                          IDirect3DQuery9** /*ppQuery*/) override {
        return D3DERR_INVALIDCALL;
    }
};

class FakeDirect3D : public IDirect3D9 {
  public:
    struct Check {
        UINT adapter;
        D3DDEVTYPE deviceType;
        D3DFORMAT displayFormat;
        D3DFORMAT backBufferFormat;
        BOOL windowed;
    };
    struct Creation {
        UINT adapter;
        D3DDEVTYPE deviceType;
        HWND window;
        DWORD behaviour;
        D3DPRESENT_PARAMETERS* parameters;
        BOOL windowed; // as the parameters said at the creation
    };

    std::set<D3DFORMAT> acceptedFormats; // CheckDeviceType succeeds for these
    std::vector<D3DDISPLAYMODE> modes;   // the default adapter's display modes
    HRESULT createResult = D3D_OK;
    HRESULT exclusiveCreateResult = D3D_OK; // what an exclusive creation gets besides
    IDirect3DDevice9* deviceToCreate = nullptr;

    std::vector<Check> checks;
    std::vector<Creation> creations;
    LONG references = 1;

    std::vector<D3DFORMAT> CheckedFormats() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType,
                                              D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                                              WINBOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND window,
                                           DWORD behaviour, D3DPRESENT_PARAMETERS* parameters,
                                           IDirect3DDevice9** device) override;

    // Not used by the rendering code.
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void* /*pInitializeFunction*/) override {
        return D3DERR_INVALIDCALL;
    }
    UINT STDMETHODCALLTYPE GetAdapterCount() override { return 0; }
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(
        UINT /*Adapter*/, DWORD /*Flags*/, D3DADAPTER_IDENTIFIER9* /*pIdentifier*/) override {
        return D3DERR_INVALIDCALL;
    }
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                               D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT /*Adapter*/,
                                                    D3DDISPLAYMODE* /*pMode*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT /*Adapter*/, D3DDEVTYPE /*DeviceType*/,
                                                D3DFORMAT /*AdapterFormat*/, DWORD /*Usage*/,
                                                D3DRESOURCETYPE /*RType*/,
                                                D3DFORMAT /*CheckFormat*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT /*Adapter*/,
                                                         D3DDEVTYPE /*DeviceType*/,
                                                         D3DFORMAT /*SurfaceFormat*/,
                                                         WINBOOL /*Windowed*/,
                                                         D3DMULTISAMPLE_TYPE /*MultiSampleType*/,
                                                         DWORD* /*pQualityLevels*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT /*Adapter*/, D3DDEVTYPE /*DeviceType*/,
                                                     D3DFORMAT /*AdapterFormat*/,
                                                     D3DFORMAT /*RenderTargetFormat*/,
                                                     D3DFORMAT /*DepthStencilFormat*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT /*Adapter*/,
                                                          D3DDEVTYPE /*DeviceType*/,
                                                          D3DFORMAT /*SourceFormat*/,
                                                          D3DFORMAT /*TargetFormat*/) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT /*Adapter*/, D3DDEVTYPE /*DeviceType*/,
                                            D3DCAPS9* /*pCaps*/) override {
        return D3DERR_INVALIDCALL;
    }
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT /*Adapter*/) override { return 0; }
};
