// The Windows side: pictures through the system's decoders, the registry policy the lock changes,
// and programs started as WinExec would, with a wide command line.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "win32/Handles.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {
namespace {

const std::filesystem::path kTemp = std::filesystem::temp_directory_path();

// A 64x48 picture, red on its top half and blue below, written with the system's own encoder.
bool WritePicture(const std::wstring& path, const GUID& container) {
    ComPtr<IWICImagingFactory> f;
    ComPtr<IWICStream> s;
    ComPtr<IWICBitmapEncoder> e;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::string pixels(64 * 48 * 3, '\0');
    for (size_t i = 0; i < 64 * 48; ++i) pixels[i * 3 + (i < 64 * 24 ? 2 : 0)] = char(255);
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(f.Put()))) &&
           SUCCEEDED(f->CreateStream(s.Put())) && SUCCEEDED(s->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(f->CreateEncoder(container, nullptr, e.Put())) &&
           SUCCEEDED(e->Initialize(s.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(e->CreateNewFrame(frame.Put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(64, 48)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           format == GUID_WICPixelFormat24bppBGR &&
           SUCCEEDED(frame->WritePixels(48, 64 * 3, UINT(pixels.size()), reinterpret_cast<BYTE*>(pixels.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(e->Commit());
}

// The picture drawn at twice its size: a pixel of its top half and one of its bottom half.
std::pair<COLORREF, COLORREF> TopAndBottom(CBackgroundPicture& picture) {
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    const GdiObject<HBITMAP> bitmap(CreateBitmap(128, 96, 1, 32, nullptr));
    const SelectedObject selected(dc.Get(), bitmap.Get());
    picture.Render(dc.Get(), {0, 0, 128, 96});
    return {GetPixel(dc.Get(), 64, 10), GetPixel(dc.Get(), 64, 86)};
}

TEST(PictureLoad, CommonFormatsLoadUprightAtTheirSize) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CBackgroundPicture picture;
    for (const auto& [name, container] : {std::pair{L"lumivar-pic.png", GUID_ContainerFormatPng},
                                          {L"lumivar-pic.jpg", GUID_ContainerFormatJpeg},
                                          {L"lumivar-pic.bmp", GUID_ContainerFormatBmp}}) {
        SCOPED_TRACE(Utf8(name));
        ASSERT_TRUE(WritePicture((kTemp / name).wstring(), container));
        ASSERT_TRUE(picture.Load(Utf8((kTemp / name).wstring())));
        EXPECT_EQ(picture.GetImageSize(), (Size{64, 48}));
        const auto [top, bottom] = TopAndBottom(picture);
        EXPECT_TRUE(GetRValue(top) > 200 && GetBValue(top) < 60) << std::hex << top;
        EXPECT_TRUE(GetBValue(bottom) > 200 && GetRValue(bottom) < 60) << std::hex << bottom;
    }
    // Damaged files do not load and drop the old picture; a huge one is refused unread.
    std::string bytes;
    ASSERT_TRUE(Win32Files().ReadFile(Utf8((kTemp / L"lumivar-pic.png").wstring()), bytes));
    const std::pair<const wchar_t*, std::string> bad[] = {
        {L"lumivar-cut.png", bytes.substr(0, bytes.size() / 3)}, {L"lumivar-text.jpg", "not a picture"}};
    for (const auto& [name, content] : bad) {
        ASSERT_TRUE(Win32Files().WriteFileAtomic(Utf8((kTemp / name).wstring()), content));
        EXPECT_FALSE(picture.Load(Utf8((kTemp / name).wstring()))) << Utf8(name);
        EXPECT_EQ(picture.GetImageSize(), (Size{0, 0}));
    }
    const std::filesystem::path huge = kTemp / L"lumivar-huge.jpg";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, 100ull << 20);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(picture.Load(Utf8(huge.wstring())));
    EXPECT_LT(GetTickCount() - start, 2000u);
    std::filesystem::remove(huge);
}

RegistryValue Dword(uint32_t v) { return {true, true, REG_DWORD, std::string(reinterpret_cast<char*>(&v), 4)}; }

// The lock sets the policy and must put back whatever it found, even no key at all.
TEST(Win32System, EveryPriorTaskManagerPolicyIsPutBackExactly) {
    Win32MainWindow wnd;
    Win32System sys(wnd);
    const RegistryValue saved = sys.ReadTaskMgrPolicy();
    const RegistryValue text{true, true, REG_SZ, std::string("1\0\0\0", 4)}, keyAbsent{}, valueAbsent{true, false, 0, ""};
    int checked = 0;
    for (const RegistryValue& before : {keyAbsent, valueAbsent, Dword(1), Dword(0), text}) {
        sys.WriteTaskMgrPolicy(Dword(7));
        sys.WriteTaskMgrPolicy({before.keyExists, false, 0, ""});
        if (before.exists) sys.WriteTaskMgrPolicy(before);
        const RegistryValue found = sys.ReadTaskMgrPolicy();
        if (!before.keyExists && found.keyExists) continue;  // the key holds other values on this machine
        EXPECT_EQ(found, before);
        sys.WriteTaskMgrPolicy(Dword(1));
        EXPECT_EQ(sys.ReadTaskMgrPolicy(), Dword(1));
        sys.WriteTaskMgrPolicy(found);
        EXPECT_EQ(sys.ReadTaskMgrPolicy(), before);
        ++checked;
    }
    EXPECT_GE(checked, 4);
    sys.WriteTaskMgrPolicy(saved);
}

TEST(ShellHelpers, ACommandLineStartsAsWinExecWouldWithItsWideName) {
    const std::filesystem::path made = kTemp / L"眸安星-started.txt";
    std::filesystem::remove(made);
    const int started = StartCommandLine("cmd.exe /c echo started> \"" + Utf8(made.wstring()) + "\"", SW_HIDE);
    EXPECT_GT(started, 31);
    for (int i = 0; i < 100 && !std::filesystem::exists(made); ++i) Sleep(50);  // it runs on its own
    EXPECT_TRUE(std::filesystem::exists(made)) << Utf8(made.wstring());
    std::filesystem::remove(made);

    EXPECT_EQ(StartCommandLine("lumivar-no-such-program-anywhere.exe", SW_SHOWNORMAL), 2);
}

}  // namespace
}  // namespace lumivar
