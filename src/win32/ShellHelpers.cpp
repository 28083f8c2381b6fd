#include "win32/ShellHelpers.h"

#include "win32/Handles.h"
#include "win32/Wide.h"

namespace lumivar {

std::wstring WindowTextWide(HWND hwnd) {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return text;
}

std::string WindowTextUtf8(HWND hwnd) { return Utf8(WindowTextWide(hwnd)); }

int StartCommandLine(const std::string& cmd, int showCmd) {
    std::wstring line = Wide(cmd);  // CreateProcessW may write into the command line
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = WORD(showCmd);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        KernelHandle process(pi.hProcess), thread(pi.hThread);
        return 33;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return 2;
    case ERROR_PATH_NOT_FOUND: return 3;
    case ERROR_BAD_EXE_FORMAT: return 11;
    default: return 0;
    }
}

void PopupMenuAtCursor(HINSTANCE module, int menuId, HWND window, const std::function<void(HMENU)>& prepare) {
    const Menu menu(LoadMenuW(module, MAKEINTRESOURCEW(menuId)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.Get(), 0);
    if (prepare) prepare(popup);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    POINT pt{};
    GetCursorPos(&pt);
    TrackPopupMenu(popup, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, pt.x + 20, pt.y, 0, window, nullptr);
    // A message of our own after the menu makes the task switch without which the next menu
    // shown from the same window would close as soon as it opened.
    PostMessageW(window, WM_NULL, 0, 0);
}

}  // namespace lumivar
