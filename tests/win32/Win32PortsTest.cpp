// The real ports against the Windows API, under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "../../res/resource.h"
#include "app/Strings.h"
#include "settings/Settings.h"
#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {
namespace {

std::wstring TempDir(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring dir = std::wstring(tmp) + name;
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\";
}

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    Win32Files().ReadFile(Utf8(path), bytes);
    return bytes;
}

TEST(Win32Files, AtomicWriteReplacesTheWholeFileAndLeavesNoTemporary) {
    const std::wstring dir = TempDir(L"lumivar-files");
    const std::wstring path = dir + L"设置.ini";
    Win32Files files;
    ASSERT_TRUE(files.WriteFileAtomic(Utf8(path), std::string(5000, 'x')));
    ASSERT_TRUE(files.WriteFileAtomic(Utf8(path), "[SCREEN]\r\nWORKTIME=5\r\n"));
    EXPECT_EQ(ReadAll(path), "[SCREEN]\r\nWORKTIME=5\r\n");
    EXPECT_EQ(GetFileAttributesW((path + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    std::string none;
    EXPECT_FALSE(files.ReadFile(Utf8(dir + L"missing.ini"), none));
}

TEST(Win32Files, ReadOnlyTargetKeepsItsContent) {
    const std::wstring path = TempDir(L"lumivar-files") + L"ro.ini";
    Win32Files files;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(files.WriteFileAtomic(Utf8(path), "old"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    files.WriteFileAtomic(Utf8(path), "new");
    EXPECT_EQ(ReadAll(path), "old");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::wstring RunValue() {
    wchar_t buf[1024] = {};
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", L"Lumivar2003",
                     RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return L"<none>";
    return buf;
}

TEST(Win32System, RunValueIsWrittenAndDeleted) {
    Win32MainWindow wnd;
    Win32System sys(wnd);
    const std::string path = "C:\\程序\\Lumivar.exe";
    sys.SetRunValue("Lumivar2003", &path);
    EXPECT_EQ(RunValue(), L"C:\\程序\\Lumivar.exe");
    sys.SetRunValue("Lumivar2003", nullptr);
    EXPECT_EQ(RunValue(), L"<none>");
}

TEST(Win32System, LockRestrictionsAreLiftedEvenIfSetBefore) {
    Win32MainWindow wnd;
    Win32System sys(wnd);
    auto policy = [] {
        DWORD v = 0, size = sizeof v;
        const LSTATUS s = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                       L"DisableTaskMgr", RRF_RT_REG_DWORD, nullptr, &v, &size);
        return s == ERROR_SUCCESS ? int(v) : -1;
    };
    sys.SetShellRestrictions(true);
    EXPECT_EQ(policy(), 1);
    sys.SetShellRestrictions(false);
    EXPECT_EQ(policy(), -1);
}

TEST(Win32System, IdleTimeIsMeasuredFromRealInput) {
    Win32MainWindow wnd;
    Win32System sys(wnd);
    EXPECT_LE(sys.TickCount() - sys.LastInputTick(), sys.TickCount());
    EXPECT_FALSE(sys.IsWin9x());
    EXPECT_NE(sys.ModuleFileName().find(".exe"), std::string::npos);
}

TEST(Resources, StringTableAgreesWithTheProgramsTexts) {
    HMODULE exe = LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    auto str = [&](int id) {
        wchar_t buf[512] = {};
        LoadStringW(exe, UINT(id), buf, 512);
        return Utf8(buf);
    };
    EXPECT_EQ(str(IDS_VERSION), kVersionText);
    EXPECT_EQ(str(IDS_NO_UPDATE_YET), kStrNoUpdateYet);
    EXPECT_EQ(str(IDS_IS_LATEST), kStrIsLatest);
    EXPECT_EQ(str(IDS_HOMEPAGE_B), kStrHomepageB);
    EXPECT_EQ(str(IDS_HOMEPAGE_A), kStrHomepageA);
    EXPECT_EQ(str(IDS_UPDATE_FILE_A), kStrUpdateFileA);
    EXPECT_EQ(str(IDS_UPDATE_FILE_B), kStrUpdateFileB);
    EXPECT_EQ(str(IDS_EMAIL), kStrEmail);
    for (int icon : {IDI_APP, IDI_TRAY_START, IDI_EYE_OFF, IDI_EYE_ON, IDI_EYE_ON_NOHOST, IDI_EYE_OFF_NOHOST, IDI_MAIL})
        EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(icon), MAKEINTRESOURCEW(14)), nullptr) << icon;  // RT_GROUP_ICON
    for (int dlg : {IDD_MAIN, IDD_REMIND}) EXPECT_NE(FindResourceW(exe, MAKEINTRESOURCEW(dlg), RT_DIALOG), nullptr);
    FreeLibrary(exe);
}

}  // namespace
}  // namespace lumivar
