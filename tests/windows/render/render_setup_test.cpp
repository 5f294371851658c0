// The fifteen states, the texture binding and the camera, recorded by a
// device double; the matrices against their formulas.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_direct3d.h"
#include "windows/render/render_setup.h"

namespace {

// Never dereferenced: the double only keeps the pointer it is given.
IDirect3DTexture9* MarkerTexture() {
    static int marker;
    return reinterpret_cast<IDirect3DTexture9*>(&marker);
}

std::string Call(const char* name, DWORD a, DWORD b, DWORD c) {
    return std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + "," +
           std::to_string(c) + ")";
}
std::string Call(const char* name, DWORD a, DWORD b) {
    return std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + ")";
}

TEST(ApplyRenderStates, SetsTheFifteenStatesInOrder) {
    FakeDevice device;
    ApplyRenderStates(&device, MarkerTexture());
    const std::vector<std::string> expected = {
        Call("SetSamplerState", 0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR),
        Call("SetSamplerState", 0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR),
        Call("SetTextureStageState", 0, D3DTSS_TEXCOORDINDEX, 0),
        Call("SetTextureStageState", 0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        Call("SetTextureStageState", 0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
        Call("SetTextureStageState", 0, D3DTSS_COLORARG2, D3DTA_DIFFUSE),
        Call("SetTextureStageState", 0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
        Call("SetTextureStageState", 0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE),
        Call("SetTextureStageState", 0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE),
        Call("SetTexture", 0, 1),
        Call("SetRenderState", D3DRS_ALPHABLENDENABLE, TRUE),
        Call("SetRenderState", D3DRS_SRCBLEND, D3DBLEND_SRCALPHA),
        Call("SetRenderState", D3DRS_DESTBLEND, D3DBLEND_ONE),
        Call("SetRenderState", D3DRS_BLENDOP, D3DBLENDOP_ADD),
        Call("SetRenderState", D3DRS_LIGHTING, FALSE)};
    EXPECT_EQ(device.stateCalls, expected);
    EXPECT_EQ(device.textures[0], MarkerTexture());
    EXPECT_TRUE(device.transforms.empty());
}

TEST(ApplyRenderStates, TwiceLeavesTheSameStateAsOnce) {
    FakeDevice once;
    ApplyRenderStates(&once, MarkerTexture());
    FakeDevice twice;
    ApplyRenderStates(&twice, MarkerTexture());
    ApplyRenderStates(&twice, MarkerTexture());
    EXPECT_EQ(once.renderStates, twice.renderStates);
    EXPECT_EQ(once.textureStageStates, twice.textureStageStates);
    EXPECT_EQ(once.samplerStates, twice.samplerStates);
    EXPECT_EQ(once.textures, twice.textures);
}

TEST(LoadSpriteTexture, WithoutTheSpriteResourceFailsWithNoTexture) {
    // This test program carries no resource 123: the loader reports a
    // failure and makes no texture (the saver then skips its scene setup).
    FakeDevice device;
    IDirect3DTexture9* texture = MarkerTexture();
    EXPECT_LT(LoadSpriteTexture(&device, &texture), 0);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device.createTextureCalls, 0);
}

D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

void ExpectMatrixNear(const D3DMATRIX& actual, const D3DMATRIX& expected) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c],
                        1e-6f * (1.0f + std::fabs(expected.m[r][c])))
                << "row " << r << " column " << c;
        }
    }
}

TEST(SetupCamera, SetsTheIdentityViewAndTheFormulaProjection) {
    FakeDevice device;
    SetupCamera(&device, 1024, 768);
    ASSERT_EQ(device.transforms.count(D3DTS_VIEW), 1u);
    ASSERT_EQ(device.transforms.count(D3DTS_PROJECTION), 1u);
    EXPECT_EQ(device.transforms.count(D3DTS_WORLD), 0u);
    ExpectMatrixNear(device.transforms[D3DTS_VIEW], Identity());

    const double yScale = 1.0 / std::tan(0.85 / 2.0);
    const double aspect = 1.3333334f;
    D3DMATRIX expected{};
    expected._11 = static_cast<float>(yScale / aspect);
    expected._22 = static_cast<float>(yScale);
    expected._33 = static_cast<float>(20.0 / (20.0 - 0.1));
    expected._34 = 1.0f;
    expected._43 = static_cast<float>(-0.1 * 20.0 / (20.0 - 0.1));
    ExpectMatrixNear(device.transforms[D3DTS_PROJECTION], expected);
    EXPECT_EQ(device.stateCalls,
              (std::vector<std::string>{Call("SetTransform", D3DTS_VIEW, 0),
                                        Call("SetTransform", D3DTS_PROJECTION, 0)}));
}

} // namespace
