#include "windows/render/texture_from_image.h"

#include <objbase.h>
#include <wincodec.h>

#include <new>
#include <utility>
#include <vector>

namespace {

// The imaging factory's class and the 32-bit BGRA pixel format, spelt out so
// that nothing but ole32 is imported.
const CLSID kImagingFactoryClass = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
const GUID kPixelFormatBgra32 = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

template <typename T> void ReleaseComObject(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

// Keeps COM initialised on this thread while an image is decoded.
struct ComScope {
    bool ownsInit = false;
};

ComScope EnterCom() {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE also counts an initialisation that must be balanced; a thread
    // already in another apartment model keeps its own.
    return ComScope{SUCCEEDED(result)};
}

void LeaveCom(ComScope& scope) {
    if (scope.ownsInit) {
        CoUninitialize();
        scope.ownsInit = false;
    }
}

// The converted frame as rows of width * 4 bytes; E_OUTOFMEMORY when there is
// no room for them.
HRESULT CopyConvertedPixels(IWICFormatConverter* converter, UINT width, UINT height,
                            std::vector<uint8_t>& pixels) {
    const UINT stride = width * 4;
    try {
        pixels.assign(static_cast<size_t>(stride) * height, 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data());
}

// Decodes the image into rows of 32-bit BGRA pixels (B, G, R, A in memory:
// the byte order of D3DFMT_A8R8G8B8).
HRESULT DecodeImage(const void* data, uint32_t size, std::vector<uint8_t>& pixels, UINT& width,
                    UINT& height) {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;

    HRESULT result =
        CoCreateInstance(kImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER,
                         __uuidof(IWICImagingFactory), reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(result)) {
        result = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(result)) {
        result = stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), size);
    }
    if (SUCCEEDED(result)) {
        result = factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                  &decoder);
        if (FAILED(result)) {
            result = kInvalidImageData;
        }
    }
    if (SUCCEEDED(result)) {
        result = decoder->GetFrame(0, &frame);
    }
    if (SUCCEEDED(result)) {
        result = frame->GetSize(&width, &height);
    }
    if (SUCCEEDED(result) && (width == 0 || height == 0 || width > 8192 || height > 8192)) {
        result = kInvalidImageData;
    }
    if (SUCCEEDED(result)) {
        result = factory->CreateFormatConverter(&converter);
    }
    if (SUCCEEDED(result)) {
        result = converter->Initialize(frame, kPixelFormatBgra32, WICBitmapDitherTypeNone, nullptr,
                                       0.0, WICBitmapPaletteTypeCustom);
    }
    if (SUCCEEDED(result)) {
        result = CopyConvertedPixels(converter, width, height, pixels);
    }
    ReleaseComObject(converter);
    ReleaseComObject(frame);
    ReleaseComObject(decoder);
    ReleaseComObject(stream);
    ReleaseComObject(factory);
    return result;
}

// Each pixel of the next level is the mean of the (up to four) pixels it
// covers in this one.
std::vector<uint8_t> BoxReduce(const std::vector<uint8_t>& source, UINT width, UINT height,
                               UINT nextWidth, UINT nextHeight) {
    std::vector<uint8_t> next(static_cast<size_t>(nextWidth) * nextHeight * 4);
    for (UINT y = 0; y < nextHeight; ++y) {
        const UINT y0 = y * 2;
        const UINT y1 = y0 + 1 < height ? y0 + 1 : y0;
        for (UINT x = 0; x < nextWidth; ++x) {
            const UINT x0 = x * 2;
            const UINT x1 = x0 + 1 < width ? x0 + 1 : x0;
            for (UINT c = 0; c < 4; ++c) {
                unsigned sum = source[(static_cast<size_t>(y0) * width + x0) * 4 + c] +
                               source[(static_cast<size_t>(y0) * width + x1) * 4 + c] +
                               source[(static_cast<size_t>(y1) * width + x0) * 4 + c] +
                               source[(static_cast<size_t>(y1) * width + x1) * 4 + c];
                next[(static_cast<size_t>(y) * nextWidth + x) * 4 + c] =
                    static_cast<uint8_t>((sum + 2) / 4);
            }
        }
    }
    return next;
}

HRESULT FillLevel(IDirect3DTexture9* texture, UINT level, const std::vector<uint8_t>& pixels,
                  UINT width, UINT height) {
    D3DLOCKED_RECT locked;
    HRESULT result = texture->LockRect(level, &locked, nullptr, 0);
    if (FAILED(result)) {
        return result;
    }
    for (UINT y = 0; y < height; ++y) {
        CopyMemory(static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch,
                   pixels.data() + static_cast<size_t>(y) * width * 4, width * 4);
    }
    return texture->UnlockRect(level);
}

// Every level of the texture from the decoded image, each reduced from the one
// above; E_OUTOFMEMORY when a reduced level finds no room.
HRESULT FillMipChain(IDirect3DTexture9* texture, std::vector<uint8_t> pixels, UINT width,
                     UINT height) {
    HRESULT result = D3D_OK;
    const DWORD levels = texture->GetLevelCount();
    try {
        for (DWORD level = 0; level < levels && SUCCEEDED(result); ++level) {
            result = FillLevel(texture, level, pixels, width, height);
            if (level + 1 < levels) {
                const UINT nextWidth = width > 1 ? width / 2 : 1;
                const UINT nextHeight = height > 1 ? height / 2 : 1;
                pixels = BoxReduce(pixels, width, height, nextWidth, nextHeight);
                width = nextWidth;
                height = nextHeight;
            }
        }
    } catch (const std::bad_alloc&) {
        result = E_OUTOFMEMORY;
    }
    return result;
}

} // namespace

HRESULT dhCreateTextureFromImageInMemory(IDirect3DDevice9* device, const void* data, uint32_t size,
                                         IDirect3DTexture9** texture) {
    *texture = nullptr;
    if (!device || !data || size == 0) {
        return D3DERR_INVALIDCALL;
    }
    std::vector<uint8_t> pixels;
    UINT width = 0;
    UINT height = 0;
    ComScope com = EnterCom();
    HRESULT result = DecodeImage(data, size, pixels, width, height);
    LeaveCom(com);
    if (FAILED(result)) {
        return result;
    }

    IDirect3DTexture9* created = nullptr;
    result = device->CreateTexture(width, height, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &created,
                                   nullptr);
    if (FAILED(result)) {
        return result;
    }
    result = FillMipChain(created, std::move(pixels), width, height);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *texture = created;
    return D3D_OK;
}
