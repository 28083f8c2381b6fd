// The built program as Windows reads it before it starts: its manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace lumivar
