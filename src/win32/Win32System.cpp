// The system's clock, input, hot keys, sounds, programs and session; the lock's restrictions
// are in ShellRestrictions.cpp.
#include "win32/Win32Ports.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <iterator>

#include "win32/OnFirstUse.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"

namespace lumivar {

std::time_t Win32System::Now() { return std::time(nullptr); }
uint32_t Win32System::TickCount() { return GetTickCount(); }

uint32_t Win32System::LastInputTick() {
    LASTINPUTINFO info{sizeof info, 0};
    return GetLastInputInfo(&info) ? info.dwTime : GetTickCount();
}

// Windows 95, 98 and Me set the top bit of the version; the NT line never does.
bool Win32System::IsWin9x() { return (GetVersion() & 0x80000000u) != 0; }

std::string Win32System::ModuleFileName() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    return Utf8(std::wstring_view(path, n));
}

std::string Win32System::UserDataFolder() {
    wchar_t base[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableW(L"APPDATA", base, DWORD(std::size(base)));
    if (n == 0 || n >= std::size(base)) return {};
    const std::wstring folder = std::wstring(base, n) + L"\\Lumivar";
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return Utf8(folder);
}

void Win32System::RegisterHotKey(int id, unsigned modifiers, unsigned vk) {
    ::RegisterHotKey(m_owner.Handle(), id, modifiers, vk);
}
void Win32System::UnregisterHotKey(int id) { ::UnregisterHotKey(m_owner.Handle(), id); }

void Win32System::PlayWave(const std::string& file, uint32_t flags) {
    ::PlaySoundW(Wide(file).c_str(), nullptr, flags);
}

void Win32System::MessageBeep(uint32_t type) { ::MessageBeep(type); }
void Win32System::Sleep(uint32_t ms) { ::Sleep(ms); }

void Win32System::ShellOpen(const std::string& file) {
    UseCom();
    ShellExecuteW(nullptr, L"open", Wide(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32System::RunCommandLine(const std::string& cmd) { StartCommandLine(cmd, SW_SHOWNORMAL); }

namespace {
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}  // namespace

// A standard user may write only the per-user key; the machine-wide value an older version put
// there goes when this user may remove it, and stays otherwise.
bool Win32System::SetRunValue(const std::string& name, const std::string* path) {
    const std::wstring wname = Wide(name);
    {
        RegKey machine;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, machine.Put()) == ERROR_SUCCESS)
            RegDeleteValueW(machine.Get(), wname.c_str());
    }
    RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    if (!path) {
        const LSTATUS r = RegDeleteValueW(key.Get(), wname.c_str());
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    }
    // Quoted: a path with blanks ("C:\\Program Files\\...") would otherwise start another program.
    const std::wstring value = L"\"" + Wide(*path) + L"\"";
    return RegSetValueExW(key.Get(), wname.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Win32System::EnableShutdownPrivilege() {
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put())) return false;
    TOKEN_PRIVILEGES tp{};
    LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid);
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // It succeeds even when the privilege was not granted; only the last error tells.
    SetLastError(ERROR_SUCCESS);
    AdjustTokenPrivileges(token.Get(), FALSE, &tp, 0, nullptr, nullptr);
    return GetLastError() == ERROR_SUCCESS;
}

bool Win32System::ExitSession(unsigned flags) { return ExitWindowsEx(flags, 0) != 0; }

// The shell knows presentation mode and full-screen Direct3D; a window in front that covers its
// whole monitor (a film, a video call) is the rest, unless it is the desktop, a task bar or ours.
bool Win32System::FullScreenInFront() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (SUCCEEDED(SHQueryUserNotificationState(&state)) &&
        (state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE))
        return true;
    HWND front = GetForegroundWindow();
    DWORD pid = 0;
    if (!front || !IsWindowVisible(front) || IsIconic(front) || front == GetShellWindow() ||
        (GetWindowThreadProcessId(front, &pid), pid == GetCurrentProcessId()))
        return false;
    wchar_t cls[32] = {};
    GetClassNameW(front, cls, int(std::size(cls)));
    for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
        if (!lstrcmpW(cls, shell)) return false;
    RECT rc{};
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    if (!GetWindowRect(front, &rc) || !GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &mi))
        return false;
    const RECT& m = mi.rcMonitor;
    return rc.left <= m.left && rc.top <= m.top && rc.right >= m.right && rc.bottom >= m.bottom;
}

}  // namespace lumivar
