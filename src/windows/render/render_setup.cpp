#include "windows/render/render_setup.h"

#include "platform/platform.h"
#include "windows/render/texture_from_image.h"
#include "resource_ids.h"
#include "core/view/camera.h"

namespace {

void BeepTextureFailure() {
    PlatformBeep(500, 1000);
}

// The same rows and columns.
D3DMATRIX ToD3DMatrix(const Matrix4& matrix) {
    D3DMATRIX converted;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            converted.m[row][column] = matrix.m[row][column];
        }
    }
    return converted;
}

} // namespace

HRESULT LoadSpriteTexture(IDirect3DDevice9* device, IDirect3DTexture9** texture) {
    ResourceBytes image = PlatformResourceBytes(IDR_SPRITE);
    if (!image.data) {
        BeepTextureFailure();
    }
    HRESULT result = dhCreateTextureFromImageInMemory(device, image.data, image.size, texture);
    if (result != D3D_OK) {
        BeepTextureFailure();
    }
    return result;
}

void ApplyRenderStates(IDirect3DDevice9* device, IDirect3DTexture9* texture) {
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTexture(0, texture);
    // Additive glow: source weighted by its alpha, added to what is there.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
}

void SetupCamera(IDirect3DDevice9* device, int32_t clientWidth, int32_t clientHeight) {
    const Camera camera = SnowCamera();
    D3DMATRIX view = ToD3DMatrix(CameraView(camera));
    device->SetTransform(D3DTS_VIEW, &view);
    D3DMATRIX projection =
        ToD3DMatrix(CameraProjection(camera, CameraAspect(clientWidth, clientHeight)));
    device->SetTransform(D3DTS_PROJECTION, &projection);
}
