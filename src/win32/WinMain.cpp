// Lumivar: one hidden window in the tray that keeps the work/rest cycle.
#include <windows.h>

#include <string>

#include "win32/MainWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The mutex is named after the program file, so only one copy of it runs.
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    std::wstring name(path, n);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    if (const size_t dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);

    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    const bool running = GetLastError() == ERROR_ALREADY_EXISTS;
    if (mutex) ReleaseMutex(mutex);
    if (running) return 0;

    lumivar::RunMainWindow();
    return 0;
}
