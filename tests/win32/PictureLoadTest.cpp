// Background pictures through the system's decoders.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <initializer_list>
#include <string>

#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {
namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return std::wstring(tmp) + name;
}

// A 64x48 picture, red on its top half and blue below, written with the system's own encoder.
bool WritePicture(const std::wstring& path, const GUID& container) {
    IWICImagingFactory* f = nullptr;
    IWICStream* s = nullptr;
    IWICBitmapEncoder* e = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::string pixels(64 * 48 * 3, '\0');
    for (size_t i = 0; i < 64 * 48; ++i) pixels[i * 3 + (i < 64 * 24 ? 2 : 0)] = char(255);
    const bool ok =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f))) &&
        SUCCEEDED(f->CreateStream(&s)) && SUCCEEDED(s->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(f->CreateEncoder(container, nullptr, &e)) && SUCCEEDED(e->Initialize(s, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(e->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(64, 48)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
        format == GUID_WICPixelFormat24bppBGR &&
        SUCCEEDED(frame->WritePixels(48, 64 * 3, UINT(pixels.size()), reinterpret_cast<BYTE*>(pixels.data()))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(e->Commit());
    for (IUnknown* u : std::initializer_list<IUnknown*>{frame, e, s, f})
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
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (const auto& [name, container] : {std::pair{L"lumivar-pic.png", GUID_ContainerFormatPng},
                                          {L"lumivar-pic.jpg", GUID_ContainerFormatJpeg},
                                          {L"lumivar-pic.bmp", GUID_ContainerFormatBmp}}) {
        SCOPED_TRACE(Utf8(name));
        const std::wstring path = TempPath(name);
        ASSERT_TRUE(WritePicture(path, container));
        CBackgroundPicture picture;
        ASSERT_TRUE(picture.Load(Utf8(path)));
        EXPECT_EQ(picture.GetImageSize(), (Size{64, 48}));
        const COLORREF top = RenderedPixel(picture, 64, 10), bottom = RenderedPixel(picture, 64, 86);
        EXPECT_GT(GetRValue(top), 200);
        EXPECT_LT(GetBValue(top), 60);
        EXPECT_GT(GetBValue(bottom), 200);
        EXPECT_LT(GetRValue(bottom), 60);
    }
}

TEST(PictureLoad, DamagedOrOversizedFilesSimplyDoNotLoad) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string good = Utf8(TempPath(L"lumivar-good.png")), cut = Utf8(TempPath(L"lumivar-cut.png")),
                      text = Utf8(TempPath(L"lumivar-text.jpg")), huge = Utf8(TempPath(L"lumivar-huge.jpg"));
    ASSERT_TRUE(WritePicture(Wide(good), GUID_ContainerFormatPng));
    Win32Files files;
    std::string bytes;
    ASSERT_TRUE(files.ReadFile(good, bytes));
    ASSERT_TRUE(files.WriteFileAtomic(cut, bytes.substr(0, bytes.size() / 3)));
    ASSERT_TRUE(files.WriteFileAtomic(text, "not a picture at all"));
    HANDLE f = CreateFileW(Wide(huge).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_TRUE(SetFilePointerEx(f, LARGE_INTEGER{{100u << 20, 0}}, nullptr, FILE_BEGIN) && SetEndOfFile(f));
    CloseHandle(f);

    CBackgroundPicture picture;
    ASSERT_TRUE(picture.Load(good));
    EXPECT_FALSE(picture.Load(Utf8(TempPath(L"no-such-picture.jpg"))));
    EXPECT_EQ(picture.GetImageSize(), (Size{64, 48})) << "a file that cannot be opened keeps the held picture";
    for (const std::string& bad : {cut, text, huge}) {  // the huge one is refused without being read
        SCOPED_TRACE(bad);
        ASSERT_TRUE(picture.Load(good));
        const DWORD start = GetTickCount();
        EXPECT_FALSE(picture.Load(bad));
        EXPECT_LT(GetTickCount() - start, 2000u);
        EXPECT_EQ(picture.GetImageSize(), (Size{0, 0}));
    }
    DeleteFileW(Wide(huge).c_str());
}

}  // namespace
}  // namespace lumivar
