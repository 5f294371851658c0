// DecodePng with the Windows Imaging Component: the first frame converted to
// 32-bit RGBA, and the gamma from the frame's metadata.
#include "png_decode.h"

#include <cstdio>

#include <objbase.h>
#include <wincodec.h>

namespace {

template <typename T> void Release(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

HRESULT Decode(const std::vector<uint8_t>& bytes, PngImage& image) {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    IWICMetadataQueryReader* metadata = nullptr;

    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(result)) {
        result = factory->CreateStream(&stream);
    }
    if (SUCCEEDED(result)) {
        result = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                              static_cast<DWORD>(bytes.size()));
    }
    if (SUCCEEDED(result)) {
        result = factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnLoad,
                                                  &decoder);
    }
    if (SUCCEEDED(result)) {
        result = decoder->GetFrame(0, &frame);
    }
    if (SUCCEEDED(result)) {
        result = frame->GetSize(&image.width, &image.height);
    }
    if (SUCCEEDED(result)) {
        result = factory->CreateFormatConverter(&converter);
    }
    if (SUCCEEDED(result)) {
        result = converter->Initialize(frame, GUID_WICPixelFormat32bppRGBA, WICBitmapDitherTypeNone,
                                       nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    if (SUCCEEDED(result)) {
        const UINT stride = image.width * 4;
        image.rgba.assign(static_cast<size_t>(stride) * image.height, 0);
        result = converter->CopyPixels(nullptr, stride, static_cast<UINT>(image.rgba.size()),
                                       image.rgba.data());
    }
    if (SUCCEEDED(result) && SUCCEEDED(frame->GetMetadataQueryReader(&metadata))) {
        PROPVARIANT value;
        PropVariantInit(&value);
        if (SUCCEEDED(metadata->GetMetadataByName(L"/gAMA/ImageGamma", &value)) &&
            value.vt == VT_UI4) {
            image.gamma = value.ulVal;
        }
        PropVariantClear(&value);
    }
    Release(metadata);
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(stream);
    Release(factory);
    return result;
}

} // namespace

std::string DecodePng(const std::vector<uint8_t>& bytes, PngImage& image) {
    image = PngImage{};
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT result = Decode(bytes, image);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    if (SUCCEEDED(result)) {
        return "";
    }
    char text[64];
    std::snprintf(text, sizeof text, "the imaging component failed (0x%08lx)",
                  static_cast<unsigned long>(result));
    return text;
}
