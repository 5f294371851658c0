// The rendering code on a real windowed Direct3D 9 device: the sprite
// texture, and frames of known flakes read back from the render target.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "png_decode.h"
#include "windows/render/device_setup.h"
#include "windows/render/draw_flakes.h"
#include "core/view/flake_vertices.h"
#include "windows/render/lost_device.h"
#include "windows/render/lost_device_testing.h"
#include "windows/render/render_setup.h"
#include "windows/render/texture_from_image.h"
#include "render_target.h"
#include "scoped_work_dir.h"

// While not 0, an allocation of exactly this many bytes finds no memory.
size_t gFailingAllocationBytes = 0;

void* operator new(size_t bytes) {
    void* block = bytes == gFailingAllocationBytes ? nullptr : std::malloc(bytes ? bytes : 1);
    if (!block) {
        throw std::bad_alloc();
    }
    return block;
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, size_t) noexcept {
    std::free(block);
}

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct RealDevice {
    HWND window = nullptr;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    IDirect3DTexture9* sprite = nullptr;
    D3DPRESENT_PARAMETERS parameters{};
};
RealDevice gReal;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateTestWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillfrostRenderTest";
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&windowClass);
    RECT rect = {0, 0, kWidth, kHeight};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        CreateWindowA("QuillfrostRenderTest", "Quillfrost render test", WS_OVERLAPPEDWINDOW, 0, 0,
                      rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                      GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

class RealDeviceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        gReal.window = CreateTestWindow();
        ASSERT_NE(gReal.window, nullptr);
        ASSERT_EQ(dhCreateDirect3D(&gReal.direct3d), S_OK);
        ASSERT_NE(gReal.direct3d, nullptr);
        D3DFORMAT format = D3DFMT_X8R8G8B8;
        dhChooseBackBufferFormat(gReal.direct3d, 0, 32, &format);
        dhFillPresentParameters(0, gReal.window, kWidth, kHeight, format, D3DFMT_UNKNOWN,
                                &gReal.parameters);
        // A copying swap keeps the back buffer readable after Present.
        gReal.parameters.SwapEffect = D3DSWAPEFFECT_COPY;
        ASSERT_EQ(dhCreateDevice(gReal.direct3d, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, gReal.window,
                                 &gReal.parameters, &gReal.device),
                  D3D_OK);
        ASSERT_EQ(LoadSpriteTexture(gReal.device, &gReal.sprite), D3D_OK);
    }
    static void TearDownTestSuite() {
        if (gReal.sprite) {
            gReal.sprite->Release();
            gReal.sprite = nullptr;
        }
        dhReleaseDevice(gReal.direct3d, gReal.device);
        dhReleaseDevice(gReal.direct3d, gReal.device);
        DestroyWindow(gReal.window);
    }
    void SetUp() override {
        if (!gReal.device || !gReal.sprite) {
            GTEST_SKIP() << "no device";
        }
    }
};

std::vector<uint8_t> DecodedSprite() {
    PngImage image;
    std::string error =
        DecodePng(ReadFileBytes(std::string(QF_SOURCE_DIR) + "/resources/sprite_123.png"), image);
    EXPECT_EQ(error, "");
    return image.rgba;
}

TEST_F(RealDeviceTest, TheSpriteTextureIsThePngWithAFullMipChain) {
    IDirect3DTexture9* texture = gReal.sprite;
    ASSERT_EQ(texture->GetLevelCount(), 9u);
    const std::vector<uint8_t> rgba = DecodedSprite();
    ASSERT_EQ(rgba.size(), 256u * 256u * 4u);

    // Each level against the box reduction of the decoded image.
    std::vector<int> expected(rgba.begin(), rgba.end());
    UINT side = 256;
    for (UINT level = 0; level < 9; ++level) {
        D3DSURFACE_DESC desc;
        ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, side);
        EXPECT_EQ(desc.Height, side);
        EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        int worst = 0;
        for (UINT y = 0; y < side; ++y) {
            const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch;
            for (UINT x = 0; x < side; ++x) {
                const int* want = &expected[(y * side + x) * 4];
                // Memory order of A8R8G8B8: blue, green, red, alpha.
                const int got[4] = {row[x * 4 + 2], row[x * 4 + 1], row[x * 4 + 0], row[x * 4 + 3]};
                for (int c = 0; c < 4; ++c) {
                    if (level == 0) {
                        ASSERT_EQ(got[c], want[c]) << "top level at " << x << "," << y;
                    }
                    worst = std::max(worst, std::abs(got[c] - want[c]));
                }
            }
        }
        texture->UnlockRect(level);
        // Rounding at each reduction may drift by one per level.
        EXPECT_LE(worst, static_cast<int>(level)) << "level " << level;
        if (level + 1 < 9) {
            UINT next = side / 2;
            std::vector<int> reduced(next * next * 4);
            for (UINT y = 0; y < next; ++y) {
                for (UINT x = 0; x < next; ++x) {
                    for (int c = 0; c < 4; ++c) {
                        auto at = [&](UINT xx, UINT yy) {
                            return expected[(yy * side + xx) * 4 + c];
                        };
                        int sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) +
                                  at(2 * x + 1, 2 * y + 1);
                        reduced[(y * next + x) * 4 + c] = (sum + 2) / 4;
                    }
                }
            }
            expected.swap(reduced);
            side = next;
        }
    }
}

TEST_F(RealDeviceTest, BytesThatAreNoImageGiveNoTexture) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    const char junk[] = "this is not an image at all, only some text";
    EXPECT_LT(dhCreateTextureFromImageInMemory(gReal.device, junk, sizeof junk, &texture), 0);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(dhCreateTextureFromImageInMemory(gReal.device, nullptr, 0, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    // A PNG cut short fails too.
    std::vector<uint8_t> png =
        ReadFileBytes(std::string(QF_SOURCE_DIR) + "/resources/sprite_123.png");
    EXPECT_LT(dhCreateTextureFromImageInMemory(gReal.device, png.data(), 200, &texture), 0);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(RealDeviceTest, NoRoomForTheDecodedPixelsOrAReducedLevelGivesNoTexture) {
    // The decoded 256 x 256 image, then its first reduction for the mip chain.
    for (size_t bytes : {size_t{256 * 256 * 4}, size_t{128 * 128 * 4}}) {
        IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
        gFailingAllocationBytes = bytes;
        const HRESULT result = LoadSpriteTexture(gReal.device, &texture);
        gFailingAllocationBytes = 0;
        EXPECT_EQ(result, E_OUTOFMEMORY) << bytes;
        EXPECT_EQ(texture, nullptr) << bytes;
    }
}

// The render target as grey levels (the green channel; flakes are white).
std::vector<int> ReadBack() {
    RenderTargetPicture picture = ReadRenderTarget(gReal.device);
    EXPECT_EQ(picture.width, static_cast<UINT>(kWidth));
    EXPECT_EQ(picture.height, static_cast<UINT>(kHeight));
    EXPECT_FALSE(picture.grey.empty()) << "could not read the render target back";
    return picture.grey;
}

// A flake placed so that its centre lands at the given normalised screen
// position (x right, y up, each -1..1) at depth coordinate pz.
Flake FlakeAt(float ndcX, float ndcY, float pz, float size) {
    const float yScale = 1.0f / std::tan(0.425f);
    const float xScale = yScale / (static_cast<float>(kWidth) / kHeight);
    const float z = 3.0f * pz + 2.0f;
    Flake flake{};
    // The scene box below spans 0..0.5, so the centre is p - 0.5.
    flake.position = {ndcX * z / xScale + 0.5f, ndcY * z / yScale + 0.5f, pz};
    flake.size = size;
    return flake;
}

int PixelX(float ndcX) {
    return static_cast<int>((ndcX + 1.0f) / 2.0f * kWidth);
}
int PixelY(float ndcY) {
    return static_cast<int>((1.0f - ndcY) / 2.0f * kHeight);
}

struct Spot {
    int peak;
    int lit; // pixels brighter than a faint glow
};

Spot Measure(const std::vector<int>& pixels, float ndcX, float ndcY) {
    const int cx = PixelX(ndcX);
    const int cy = PixelY(ndcY);
    Spot spot{0, 0};
    for (int y = cy - 30; y <= cy + 30; ++y) {
        for (int x = cx - 30; x <= cx + 30; ++x) {
            if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) {
                continue;
            }
            int v = pixels[y * kWidth + x];
            spot.peak = std::max(spot.peak, v);
            spot.lit += v > 8 ? 1 : 0;
        }
    }
    return spot;
}

// Near (front of the box), far, one alone, and two on top of each other.
std::vector<Flake> KnownFlakes() {
    return {FlakeAt(-0.6f, 0.4f, 0.0f, 0.15f), FlakeAt(0.6f, 0.4f, 0.6f, 0.15f),
            FlakeAt(-0.5f, -0.5f, 0.3f, 0.15f), FlakeAt(0.5f, -0.5f, 0.3f, 0.15f),
            FlakeAt(0.5f, -0.5f, 0.3f, 0.15f)};
}

std::vector<int> DrawKnownFrame(std::vector<Flake>& flakes) {
    FlakeScene scene{};
    scene.flakeCount = static_cast<int32_t>(flakes.size());
    scene.flakes = flakes.data();
    scene.minX = 0.0f;
    scene.maxX = 0.5f;
    scene.minY = 0.0f;
    scene.maxY = 0.5f;
    std::vector<FlakeVertex> vertices(flakes.size() * 8);
    BuildFlakeVertices(scene, vertices.data());
    EXPECT_EQ(DrawFlakes(gReal.device, scene, vertices.data()), D3D_OK);
    return ReadBack();
}

TEST_F(RealDeviceTest, AFrameOfKnownFlakes) {
    ApplyRenderStates(gReal.device, gReal.sprite);
    SetupCamera(gReal.device, kWidth, kHeight);
    std::vector<Flake> flakes = KnownFlakes();
    std::vector<int> pixels = DrawKnownFrame(flakes);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));

    // Black where nothing is drawn.
    for (auto [x, y] : {std::pair<int, int>{2, 2},
                        {kWidth - 3, 2},
                        {2, kHeight - 3},
                        {kWidth - 3, kHeight - 3},
                        {kWidth / 2, kHeight / 2},
                        {kWidth / 2, 10}}) {
        EXPECT_EQ(pixels[y * kWidth + x], 0) << x << "," << y;
    }
    const Spot nearSpot = Measure(pixels, -0.6f, 0.4f);
    const Spot farSpot = Measure(pixels, 0.6f, 0.4f);
    const Spot single = Measure(pixels, -0.5f, -0.5f);
    const Spot overlap = Measure(pixels, 0.5f, -0.5f);
    // Sprite alpha 227 at the centre times the vertex alpha of each depth.
    EXPECT_NEAR(nearSpot.peak, 227, 8);
    EXPECT_NEAR(farSpot.peak, 227 * 102 / 255, 8);
    EXPECT_NEAR(single.peak, 227 * 178 / 255, 8);
    EXPECT_GT(nearSpot.peak, farSpot.peak);
    EXPECT_GT(nearSpot.lit, farSpot.lit);
    EXPECT_GT(overlap.peak, single.peak + 60);
    EXPECT_GE(overlap.lit, single.lit);
    EXPECT_GT(farSpot.lit, 50);
}

TEST_F(RealDeviceTest, AResetDeviceDrawsTheSameFrameAgain) {
    ApplyRenderStates(gReal.device, gReal.sprite);
    SetupCamera(gReal.device, kWidth, kHeight);
    std::vector<Flake> flakes = KnownFlakes();
    const std::vector<int> before = DrawKnownFrame(flakes);
    ScopedWorkDir dir("realReset");
    EXPECT_EQ(dhHandleLostDevice(gReal.device, &gReal.parameters, D3DERR_DEVICENOTRESET), D3D_OK);
    EXPECT_EQ(ScopedWorkDir::LogBytes(), "dhHandleLostDevice  : D3DERR_DEVICENOTRESET\r\n");
    // What the saver does after a reset: the states and the camera again, on
    // the same managed texture.
    ApplyRenderStates(gReal.device, gReal.sprite);
    SetupCamera(gReal.device, kWidth, kHeight);
    const std::vector<int> after = DrawKnownFrame(flakes);
    EXPECT_EQ(before, after);
}

TEST_F(RealDeviceTest, TheDeviceIsUsableAndClearedFramesAreBlack) {
    EXPECT_EQ(gReal.device->TestCooperativeLevel(), D3D_OK);
    FlakeScene empty{};
    EXPECT_EQ(DrawFlakes(gReal.device, empty, nullptr), D3D_OK);
    std::vector<int> pixels = ReadBack();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), static_cast<long>(pixels.size()));
}

} // namespace
