// What a Windows session does to a running program, played by a small program of its own:
//   session_probe end cancel|yes   asks Lumivar's main window whether the session may end, then
//                                  tells it the end was cancelled (or came); prints the answer
//   session_probe keys FILE        a keyboard hook of its own: each key it is let see, a line in FILE
//   session_probe send VK...       presses the keys (hexadecimal codes) in order, lets them go backwards
//   session_probe taskbar          a second monitor's task bar appears and the shell says it started;
//                                  prints whether the bar is still visible three seconds later
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "resource.h"

namespace {

FILE* g_keys = nullptr;

BOOL CALLBACK FindLumivar(HWND w, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process) {
        QueryFullProcessImageNameW(process, 0, image, &size);
        CloseHandle(process);
    }
    const wchar_t* name = wcsrchr(image, L'\\');
    if (!wcscmp(cls, L"#32770") && GetDlgItem(w, IDC_PASSWORD) && name && !_wcsicmp(name + 1, L"Lumivar.exe")) {
        *reinterpret_cast<HWND*>(lp) = w;
        return FALSE;
    }
    return TRUE;
}

int EndSession(bool ends) {
    HWND main = nullptr;
    EnumWindows(FindLumivar, LPARAM(&main));
    if (!main) return std::puts("no main window"), 2;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer))
        return std::puts("no answer"), 2;
    SendMessageTimeoutW(main, WM_ENDSESSION, ends, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, nullptr);
    std::printf("may end: %d\n", int(answer != 0));
    return 0;
}

LRESULT CALLBACK Record(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && (wp == WM_KEYDOWN || wp == WM_SYSKEYDOWN)) {
        std::fprintf(g_keys, "%02lx\n", reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp)->vkCode);
        std::fflush(g_keys);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

int WatchKeys(const wchar_t* file) {
    g_keys = _wfopen(file, L"w");
    if (!g_keys || !SetWindowsHookExW(WH_KEYBOARD_LL, Record, GetModuleHandleW(nullptr), 0)) return 2;
    std::fputs("ready\n", g_keys);
    std::fflush(g_keys);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    }
    return 0;
}

int Send(int count, wchar_t** codes) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = WORD(wcstoul(codes[i], nullptr, 16));
        inputs.push_back(in);
    }
    for (int i = count - 1; i >= 0; --i) {
        INPUT up = inputs[i];
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size() ? 0 : 2;
}

int NewTaskBar(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"Shell_SecondaryTrayWnd";
    RegisterClassW(&wc);
    HWND bar = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 728, 400, 40,
                               nullptr, nullptr, instance, nullptr);
    if (!bar) return 2;
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    const DWORD until = GetTickCount() + 3000;
    MSG msg;
    while (GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    std::puts(IsWindowVisible(bar) ? "visible" : "hidden");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && !wcscmp(argv[1], L"end")) return EndSession(!wcscmp(argv[2], L"yes"));
    if (argc == 3 && !wcscmp(argv[1], L"keys")) return WatchKeys(argv[2]);
    if (argc >= 3 && !wcscmp(argv[1], L"send")) return Send(argc - 2, argv + 2);
    if (argc == 2 && !wcscmp(argv[1], L"taskbar")) return NewTaskBar(GetModuleHandleW(nullptr));
    std::puts("usage: session_probe end cancel|yes | keys FILE | send VK... | taskbar");
    return 2;
}
