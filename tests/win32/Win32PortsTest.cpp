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

// Leaves the registry of the machine that runs the tests as it found it.
class PolicyRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = m_sys.ReadTaskMgrPolicy();
        m_hadRecord = m_sys.ReadLockRecord(m_savedRecord);
    }
    void TearDown() override {
        m_sys.WriteTaskMgrPolicy(m_saved);
        m_sys.WriteLockRecord(m_hadRecord ? &m_savedRecord : nullptr);
    }
    static RegistryValue Dword(uint32_t v) { return {true, true, REG_DWORD, std::string(reinterpret_cast<char*>(&v), 4)}; }
    static bool KeyExists(const wchar_t* path) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    Win32MainWindow m_wnd;
    Win32System m_sys{m_wnd};
    RegistryValue m_saved, m_savedRecord;
    bool m_hadRecord = false;
};

TEST_F(PolicyRegistry, EveryPriorStateIsPutBackExactly) {
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
    const RegistryValue text{true, true, REG_SZ, std::string("1\0\0\0", 4)};
    const RegistryValue keyAbsent{}, valueAbsent{true, false, 0, ""};
    int checked = 0;
    for (const RegistryValue& before : {keyAbsent, valueAbsent, Dword(1), Dword(0), text}) {
        // Set up the prior state: an absent key only when nothing else lives in it on this machine.
        m_sys.WriteTaskMgrPolicy(Dword(7));
        m_sys.WriteTaskMgrPolicy({before.keyExists, false, 0, ""});
        if (before.exists) m_sys.WriteTaskMgrPolicy(before);
        const RegistryValue found = m_sys.ReadTaskMgrPolicy();
        if (!before.keyExists && found.keyExists) continue;  // the key holds other values here
        ASSERT_EQ(found, before);

        m_sys.WriteTaskMgrPolicy(Dword(1));
        EXPECT_EQ(m_sys.ReadTaskMgrPolicy(), Dword(1));
        m_sys.WriteTaskMgrPolicy(found);
        EXPECT_EQ(m_sys.ReadTaskMgrPolicy(), before);
        EXPECT_EQ(KeyExists(key), before.keyExists);
        ++checked;
    }
    EXPECT_GE(checked, 4);
}

TEST_F(PolicyRegistry, TheLockRecordSurvivesAndIsRemoved) {
    const RegistryValue records[] = {{}, {true, false, 0, ""}, Dword(0), {true, true, REG_SZ, std::string("x\0y\0\0\0", 6)}};
    for (const RegistryValue& r : records) {
        m_sys.WriteLockRecord(&r);
        RegistryValue back;
        ASSERT_TRUE(m_sys.ReadLockRecord(back));
        EXPECT_EQ(back, r);
    }
    m_sys.WriteLockRecord(nullptr);
    RegistryValue none;
    EXPECT_FALSE(m_sys.ReadLockRecord(none));
    EXPECT_FALSE(KeyExists(L"Software\\Lumivar"));
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
