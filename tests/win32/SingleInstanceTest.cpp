// The real program: one copy only, and its exit saves the settings.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "win32/Wide.h"

namespace lumivar {
namespace {

struct Program {
    PROCESS_INFORMATION pi{};
    bool Start(const std::wstring& exe) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + exe + L"\"";
        return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    bool Ended(DWORD ms) const { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    ~Program() {
        if (!pi.hProcess) return;
        if (!Ended(0)) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
};

BOOL CALLBACK PostExit(HWND hwnd, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == DWORD(pid)) PostMessageW(hwnd, WM_COMMAND, 32775, 0);  // 退出
    return TRUE;
}

bool WaitForMutex(const wchar_t* name, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, name)) {
            CloseHandle(m);
            return true;
        }
        Sleep(100);
    }
    return false;
}

TEST(SingleInstance, SecondCopyEndsAtOnceAndTheFirstSavesOnExit) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"lumivar-single\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring exe = dir + L"Lumivar.exe";
    ASSERT_TRUE(CopyFileW(Wide(LUMIVAR_EXE).c_str(), exe.c_str(), FALSE));
    const std::wstring ini = dir + L"Lumivar.ini";
    DeleteFileW(ini.c_str());

    Program first;
    ASSERT_TRUE(first.Start(exe));
    ASSERT_TRUE(WaitForMutex(L"Lumivar", 20000));

    Program second;
    ASSERT_TRUE(second.Start(exe));
    ASSERT_TRUE(second.Ended(20000)) << "the second copy kept running";
    DWORD code = 99;
    GetExitCodeProcess(second.pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(first.Ended(0)) << "the first copy ended too";
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is saved before exit";

    EnumWindows(PostExit, LPARAM(first.pi.dwProcessId));
    ASSERT_TRUE(first.Ended(20000)) << "exit did not end the program";
    char section[64] = {};
    GetPrivateProfileStringA("SCREEN", "WORKTIME", "", section, sizeof section, Utf8(ini).c_str());
    EXPECT_STREQ(section, "5");
    GetPrivateProfileStringA("HOSTSTATUS", "HOSTNAME", "", section, sizeof section, Utf8(ini).c_str());
    EXPECT_STREQ(section, "localhost");
}

}  // namespace
}  // namespace lumivar
