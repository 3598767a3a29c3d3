#include "platform/win32/Pictures.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>

namespace pendrel::win32 {
namespace {

template <typename T>
struct ComRef {
    T* p = nullptr;
    ~ComRef() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

// WICBitmapInterpolationModeHighQualityCubic, which only Windows 10 has; the headers may not.
constexpr auto HighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

// The source scaled to width x height: the best filter the system has.
bool Scale(IWICImagingFactory* factory, IWICBitmapSource* source, UINT width, UINT height,
           ComRef<IWICBitmapScaler>& scaled) {
    if (FAILED(factory->CreateBitmapScaler(&scaled))) return false;
    return SUCCEEDED(scaled->Initialize(source, width, height, HighQualityCubic)) ||
           SUCCEEDED(scaled->Initialize(source, width, height, WICBitmapInterpolationModeFant));
}

// The frame converted to 32-bit BGRA, or nothing.
bool DecodeFrame(IWICImagingFactory* factory, IStream* stream,
                 ComRef<IWICFormatConverter>& converted, UINT& width, UINT& height) {
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnLoad,
                                                &decoder)))
        return false;
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, &frame))) return false;
    if (FAILED(factory->CreateFormatConverter(&converted))) return false;
    if (FAILED(converted->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return false;
    return SUCCEEDED(converted->GetSize(&width, &height));
}

}  // namespace

HBITMAP LoadJpegResource(HINSTANCE module, int resourceId, int dpi) {
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));
    if (!found) return nullptr;
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    if (!bytes) return nullptr;
    ComRef<IStream> stream;
    stream.p = SHCreateMemStream(bytes, SizeofResource(module, found));
    if (!stream.p) return nullptr;

    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    ComRef<IWICFormatConverter> converted;
    UINT width = 0, height = 0;
    if (!DecodeFrame(factory.p, stream.p, converted, width, height)) return nullptr;
    IWICBitmapSource* pixelSource = converted.p;
    ComRef<IWICBitmapScaler> scaled;
    if (dpi != LayoutDpi) {
        width = static_cast<UINT>(std::max(1, MulDiv(static_cast<int>(width), dpi, LayoutDpi)));
        height = static_cast<UINT>(std::max(1, MulDiv(static_cast<int>(height), dpi, LayoutDpi)));
        if (!Scale(factory.p, converted.p, width, height, scaled)) return nullptr;
        pixelSource = scaled.p;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC writes rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) return nullptr;
    const UINT stride = width * 4;
    if (FAILED(pixelSource->CopyPixels(nullptr, stride, stride * height,
                                       static_cast<BYTE*>(pixels)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

}  // namespace pendrel::win32
