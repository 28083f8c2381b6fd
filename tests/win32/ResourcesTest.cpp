// The built program as Windows reads it before it starts: its manifest and its icons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "resource.h"
#include "win32/Handles.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

std::string Manifest() {
    const Library exe(LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!exe) return {};
    HRSRC found = FindResourceW(exe.Get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    HGLOBAL data = found ? LoadResource(exe.Get(), found) : nullptr;
    if (!data) return {};
    return {static_cast<const char*>(LockResource(data)), SizeofResource(exe.Get(), found)};
}

TEST(Resources, TheManifestAsksForTheUsersRightsStylesPerMonitorDpiAndNamesWindows7To11) {
    const std::string manifest = Manifest();
    ASSERT_FALSE(manifest.empty());
    for (const char* says : {
             R"(requestedExecutionLevel level="asInvoker" uiAccess="false")",
             R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
             ">PerMonitorV2</dpiAwareness>",
             ">true</dpiAware>",  // system-aware before Windows 10
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(manifest.find(says), std::string::npos) << says;
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos) << "the code page stays the system's";
}

// Windows picks an image by the size its group lists, so an entry whose image is missing or
// of another size counts as -1.
std::multiset<int> IconWidths(HMODULE exe, int group) {
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(group), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    HGLOBAL data = found ? LoadResource(exe, found) : nullptr;
    if (!data) return {};
    const auto* dir = static_cast<const unsigned char*>(LockResource(data));
    const DWORD size = SizeofResource(exe, found);
    WORD count = 0;
    if (size < 6) return {};
    std::memcpy(&count, dir + 4, 2);
    std::multiset<int> widths;
    for (WORD i = 0; i < count && 6 + 14u * (i + 1) <= size; ++i) {
        const unsigned char* entry = dir + 6 + 14 * i;
        const int width = entry[0] ? entry[0] : 256;
        WORD image = 0;
        std::memcpy(&image, entry + 12, 2);
        HRSRC icon = FindResourceW(exe, MAKEINTRESOURCEW(image), MAKEINTRESOURCEW(3));  // RT_ICON
        HGLOBAL bits = icon ? LoadResource(exe, icon) : nullptr;
        BITMAPINFOHEADER header = {};  // ours are bitmaps, not PNG
        if (bits && SizeofResource(exe, icon) >= sizeof header)
            std::memcpy(&header, LockResource(bits), sizeof header);
        widths.insert(header.biSize == sizeof header && header.biWidth == width ? width : -1);
    }
    return widths;
}

TEST(Resources, EveryIconHoldsAnImageForEachSizeFrom16To48Px) {
    const Library exe(LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(exe);
    const struct {
        const char* name;
        int id;
    } icons[] = {{"IDI_APP", IDI_APP},
                 {"IDI_TRAY_START", IDI_TRAY_START},
                 {"IDI_EYE_OFF", IDI_EYE_OFF},
                 {"IDI_EYE_ON", IDI_EYE_ON},
                 {"IDI_EYE_ON_NOHOST", IDI_EYE_ON_NOHOST},
                 {"IDI_EYE_OFF_NOHOST", IDI_EYE_OFF_NOHOST},
                 {"IDI_MAIL", IDI_MAIL}};
    for (const auto& icon : icons) {
        const std::multiset<int> widths = IconWidths(exe.Get(), icon.id);
        EXPECT_EQ(widths.count(-1), 0u) << icon.name << ": an image missing or not the size listed";
        for (int px : {16, 20, 24, 32, 48})
            EXPECT_GE(widths.count(px), 1u) << icon.name << " at " << px << " px";
    }
}

}  // namespace
}  // namespace lumivar
