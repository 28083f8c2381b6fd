// The background picture, decoded with WIC (jpg, png, gif, bmp, ico, tiff...).
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <string>
#include <utility>

#include "win32/Handles.h"
#include "win32/OnFirstUse.h"
#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {

namespace {

// Files and pictures beyond these are refused rather than allowed to stall the program.
constexpr LONGLONG kMaxFileBytes = 64LL << 20;
constexpr UINT kMaxSide = 30000;

bool ReadWholeFile(const std::wstring& path, std::string& bytes, bool& opened) {
    // Others may read the picture while we do, but not change it under us.
    const KernelHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    opened = bool(f);
    if (!opened) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f.Get(), &size) && size.QuadPart > 0 && size.QuadPart <= kMaxFileBytes;
    if (ok) {
        bytes.resize(size_t(size.QuadPart));
        DWORD got = 0;
        ok = ::ReadFile(f.Get(), bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    return ok;
}

}  // namespace

bool CBackgroundPicture::Load(const std::string& path) {
    std::string bytes;
    bool opened = false;
    const bool read = ReadWholeFile(Wide(path), bytes, opened);
    if (!opened) return false;  // keeps whatever picture was held
    Release();
    if (!read) return false;

    UseCom();
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.Put()))))
        return false;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT w = 0, h = 0;
    if (FAILED(factory->CreateStream(stream.Put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(bytes.data()), DWORD(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 ||
        w > kMaxSide || h > kMaxSide)
        return false;

    // Keep at most a screen's worth of pixels; the picture is never drawn larger than the screen.
    const UINT sw = UINT(GetSystemMetrics(SM_CXSCREEN)), sh = UINT(GetSystemMetrics(SM_CYSCREEN));
    UINT bw = w, bh = h;
    if (sw && sh && (w > sw || h > sh)) {
        const double scale = std::min(double(sw) / w, double(sh) / h);
        bw = std::max(1u, UINT(w * scale));
        bh = std::max(1u, UINT(h * scale));
    }
    ComPtr<IWICBitmapScaler> scaler;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateBitmapScaler(scaler.Put())) ||
        FAILED(scaler->Initialize(frame.Get(), bw, bh, WICBitmapInterpolationModeFant)) ||
        FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = LONG(bw);
    bi.bmiHeader.biHeight = -LONG(bh);  // top-down rows, so the picture is upright
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || FAILED(converter->CopyPixels(nullptr, bw * 4, bw * 4 * bh, static_cast<BYTE*>(bits))))
        return false;
    m_bitmap = std::move(bitmap);
    m_bitmapSize = {int(bw), int(bh)};
    m_size = {int(w), int(h)};
    return true;
}

void CBackgroundPicture::Release() {
    m_bitmap.Reset();
    m_size = m_bitmapSize = {};
}

Size CBackgroundPicture::GetImageSize() { return m_size; }

bool CBackgroundPicture::Render(HDC dc, const Rect& rc) {
    if (!m_bitmap) return true;
    const MemoryDC mem(CreateCompatibleDC(dc));
    const SelectedObject picture(mem.Get(), m_bitmap.Get());
    // The pixels are premultiplied (PBGRA), as AC_SRC_ALPHA wants them.
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(dc, HALFTONE);
    GdiAlphaBlend(dc, rc.left, rc.top, rc.Width(), rc.Height(), mem.Get(), 0, 0, m_bitmapSize.cx, m_bitmapSize.cy,
                  blend);
    return true;
}

}  // namespace lumivar
