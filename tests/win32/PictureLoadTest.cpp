// Background pictures through the system's decoders, under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <string>

#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {
namespace {

struct ComScope {
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

std::wstring TempPath(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return std::wstring(tmp) + name;
}

// Writes a 64x48 picture, red on its top half and blue below, with the system's own encoder.
bool WritePicture(const std::wstring& path, const GUID& container) {
    IWICImagingFactory* f = nullptr;
    IWICStream* s = nullptr;
    IWICBitmapEncoder* e = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f))) &&
              SUCCEEDED(f->CreateStream(&s)) && SUCCEEDED(s->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(f->CreateEncoder(container, nullptr, &e)) &&
              SUCCEEDED(e->Initialize(s, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(e->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
              SUCCEEDED(frame->SetSize(64, 48));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    ok = ok && SUCCEEDED(frame->SetPixelFormat(&format));
    ok = ok && format == GUID_WICPixelFormat24bppBGR;
    if (ok) {
        std::string pixels(64 * 48 * 3, '\0');
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) pixels[size_t((y * 64 + x) * 3 + (y < 24 ? 2 : 0))] = char(255);
        ok = SUCCEEDED(frame->WritePixels(48, 64 * 3, UINT(pixels.size()), reinterpret_cast<BYTE*>(pixels.data()))) &&
             SUCCEEDED(frame->Commit()) && SUCCEEDED(e->Commit());
    }
    for (IUnknown* u : {static_cast<IUnknown*>(frame), static_cast<IUnknown*>(e), static_cast<IUnknown*>(s),
                        static_cast<IUnknown*>(f)})
        if (u) u->Release();
    return ok;
}

COLORREF RenderedPixel(CBackgroundPicture& picture, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 128, 96);
    HGDIOBJ old = SelectObject(dc, bmp);
    picture.Render(dc, {0, 0, 128, 96});  // drawn at twice its size
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return c;
}

TEST(PictureLoad, CommonFormatsLoadUprightAtTheirSize) {
    ComScope com;
    const std::pair<const wchar_t*, GUID> formats[] = {
        {L"lumivar-pic.png", GUID_ContainerFormatPng},
        {L"lumivar-pic.jpg", GUID_ContainerFormatJpeg},
        {L"lumivar-pic.bmp", GUID_ContainerFormatBmp},
    };
    for (const auto& [name, container] : formats) {
        const std::wstring path = TempPath(name);
        ASSERT_TRUE(WritePicture(path, container)) << Utf8(name);
        CBackgroundPicture picture;
        ASSERT_TRUE(picture.Load(Utf8(path))) << Utf8(name);
        EXPECT_EQ(picture.GetImageSize(), (Size{64, 48})) << Utf8(name);
        const COLORREF top = RenderedPixel(picture, 64, 10), bottom = RenderedPixel(picture, 64, 86);
        EXPECT_GT(GetRValue(top), 200) << Utf8(name);
        EXPECT_LT(GetBValue(top), 60) << Utf8(name);
        EXPECT_GT(GetBValue(bottom), 200) << Utf8(name);
        EXPECT_LT(GetRValue(bottom), 60) << Utf8(name);
    }
}

TEST(PictureLoad, DamagedOrOversizedFilesSimplyDoNotLoad) {
    ComScope com;
    const std::wstring good = TempPath(L"lumivar-good.png");
    ASSERT_TRUE(WritePicture(good, GUID_ContainerFormatPng));
    CBackgroundPicture picture;
    ASSERT_TRUE(picture.Load(Utf8(good)));

    // A file that cannot be opened leaves the held picture as it was.
    EXPECT_FALSE(picture.Load(Utf8(TempPath(L"no-such-picture.jpg"))));
    EXPECT_EQ(picture.GetImageSize(), (Size{64, 48}));

    // A truncated picture and plain text do not decode; the old picture is gone.
    std::string bytes;
    ASSERT_TRUE(Win32Files().ReadFile(Utf8(good), bytes));
    const std::wstring cut = TempPath(L"lumivar-cut.png");
    ASSERT_TRUE(Win32Files().WriteFileAtomic(Utf8(cut), bytes.substr(0, bytes.size() / 3)));
    EXPECT_FALSE(picture.Load(Utf8(cut)));
    EXPECT_EQ(picture.GetImageSize(), (Size{0, 0}));
    const std::wstring text = TempPath(L"lumivar-text.jpg");
    ASSERT_TRUE(Win32Files().WriteFileAtomic(Utf8(text), "not a picture at all"));
    EXPECT_FALSE(picture.Load(Utf8(text)));

    // A huge file is refused without being read.
    const std::wstring huge = TempPath(L"lumivar-huge.jpg");
    HANDLE f = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 100LL << 20;
    SetFilePointerEx(f, size, nullptr, FILE_BEGIN);
    SetEndOfFile(f);
    CloseHandle(f);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(picture.Load(Utf8(huge)));
    EXPECT_LT(GetTickCount() - start, 2000u);
    DeleteFileW(huge.c_str());
}

}  // namespace
}  // namespace lumivar
