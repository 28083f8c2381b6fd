// The real ports against the Windows API, and the real program: one copy only, saving on exit.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {
namespace {

std::wstring TempDir() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return tmp;
}

TEST(Win32Files, AtomicWritesReplaceTheWholeFileLeaveNoTemporaryAndSpareReadOnlyFiles) {
    const std::string path = Utf8(TempDir()) + "设置.ini", readOnly = Utf8(TempDir()) + "lumivar-ro.ini";
    Win32Files files;
    std::string bytes;
    ASSERT_TRUE(files.WriteFileAtomic(path, std::string(5000, 'x')));
    ASSERT_TRUE(files.WriteFileAtomic(path, "[SCREEN]\r\nWORKTIME=5\r\n"));
    EXPECT_TRUE(files.ReadFile(path, bytes) && bytes == "[SCREEN]\r\nWORKTIME=5\r\n") << bytes;
    EXPECT_EQ(GetFileAttributesW(Wide(path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(files.ReadFile(path + ".missing", bytes));
    SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(files.WriteFileAtomic(readOnly, "old"));
    SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
    files.WriteFileAtomic(readOnly, "new");
    SetFileAttributesW(Wide(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(files.ReadFile(readOnly, bytes) && bytes == "old") << bytes;
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
        HKEY key;
        const bool keyExists = RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                                             0, KEY_READ, &key) == ERROR_SUCCESS && !RegCloseKey(key);
        EXPECT_EQ(keyExists, before.keyExists);
        ++checked;
    }
    EXPECT_GE(checked, 4);
    sys.WriteTaskMgrPolicy(saved);
}

struct Program {
    PROCESS_INFORMATION pi{};
    explicit Program(std::wstring exe) {
        STARTUPINFOW si{sizeof si};
        std::wstring cmd = L"\"" + exe + L"\"";
        CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    bool Ended(DWORD ms) const { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
    ~Program() {
        if (pi.hProcess && !Ended(0)) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
};

TEST(SingleInstance, ASecondCopyEndsAtOnceAndTheFirstSavesOnExit) {
    const std::wstring dir = TempDir() + L"lumivar-single\\", exe = dir + L"Lumivar.exe", ini = dir + L"Lumivar.ini";
    CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Wide(LUMIVAR_EXE).c_str(), exe.c_str(), FALSE));
    DeleteFileW(ini.c_str());
    Program first(exe);
    HANDLE mutex = nullptr;
    for (int i = 0; i < 200 && first.pi.hProcess && !(mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Lumivar")); ++i) Sleep(100);
    ASSERT_NE(mutex, nullptr) << "the first copy never took its mutex";
    CloseHandle(mutex);

    Program second(exe);
    ASSERT_TRUE(second.Ended(20000)) << "the second copy kept running";
    DWORD code = 99;
    GetExitCodeProcess(second.pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(first.Ended(0)) << "the first copy ended too";
    EXPECT_EQ(GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is saved before exit";

    EnumWindows([](HWND hwnd, LPARAM pid) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == DWORD(pid)) PostMessageW(hwnd, WM_COMMAND, 32775, 0);  // 退出
        return TRUE;
    }, LPARAM(first.pi.dwProcessId));
    ASSERT_TRUE(first.Ended(20000)) << "exit did not end the program";
    char value[64] = {};
    GetPrivateProfileStringA("HOSTSTATUS", "HOSTNAME", "", value, sizeof value, Utf8(ini).c_str());
    EXPECT_STREQ(value, "localhost");
}

}  // namespace
}  // namespace lumivar
