// What a Windows session does to a running program, played by a small program of its own:
//   session_probe end cancel|yes   asks Lumivar whether the session may end (printed), then it is cancelled or ends
//   session_probe keys FILE        a keyboard hook of its own: each key it is let see, a line in FILE
//   session_probe send VK...       presses the keys (hexadecimal codes) in order, lets them go backwards
//   session_probe taskbar          a new shell's second task bar: visible or hidden three seconds later?
//   session_probe power suspend|resume   what Windows tells the program when it sleeps and wakes
//   session_probe fullscreen SECONDS     a film: a window over the whole monitor, in front, for a while
//   session_probe shell gone|back        the shell's restart: the program's tray icons lost, then
//                                        TaskbarCreated as a new shell sends it
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "resource.h"

namespace {

FILE* g_keys = nullptr;

// Its main window: the dialog without a caption that Lumivar.exe made (its prompts have one).
BOOL CALLBACK FindLumivar(HWND w, LPARAM lp) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (wcscmp(cls, L"#32770") || (GetWindowLongW(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool ours = process && QueryFullProcessImageNameW(process, 0, path, &size) &&
                      size >= 11 && !_wcsicmp(path + size - 11, L"Lumivar.exe");
    if (process) CloseHandle(process);
    if (!ours) return TRUE;
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
}

HWND Lumivar() {
    HWND main = nullptr;
    EnumWindows(FindLumivar, LPARAM(&main));
    return main;
}

int Power(bool wakes) {
    HWND main = Lumivar();
    if (!main) return std::puts("no main window"), 2;
    SendMessageTimeoutW(main, WM_POWERBROADCAST, wakes ? PBT_APMRESUMEAUTOMATIC : PBT_APMSUSPEND, 0,
                        SMTO_ABORTIFHUNG, 10000, nullptr);
    return 0;
}

// Pumps this thread's messages for a while.
void Pump(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

int FullScreen(HINSTANCE instance, int seconds) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 160));
    wc.lpszClassName = L"FilmProbe";
    RegisterClassW(&wc);
    HWND film = CreateWindowExW(0, wc.lpszClassName, L"film probe", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                instance, nullptr);
    if (!film) return 2;
    SetForegroundWindow(film);
    Pump(DWORD(seconds) * 1000);
    DestroyWindow(film);
    return 0;
}

int EndSession(bool ends) {
    HWND main = Lumivar();
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
    Pump(3000);
    std::puts(IsWindowVisible(bar) ? "visible" : "hidden");
    return 0;
}

// A shell that dies takes the icons with it; the new one announces itself and knows none.
int Shell(bool back) {
    if (back) return PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0) ? 0 : 2;
    HWND main = Lumivar();
    if (!main) return std::puts("no main window"), 2;
    for (UINT id : {0u, 1u}) {  // the main icon, the mail one
        NOTIFYICONDATAW nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = main;
        nid.uID = id;
        Shell_NotifyIconW(NIM_DELETE, &nid);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && !wcscmp(argv[1], L"end")) return EndSession(!wcscmp(argv[2], L"yes"));
    if (argc == 3 && !wcscmp(argv[1], L"keys")) return WatchKeys(argv[2]);
    if (argc >= 3 && !wcscmp(argv[1], L"send")) return Send(argc - 2, argv + 2);
    if (argc == 2 && !wcscmp(argv[1], L"taskbar")) return NewTaskBar(GetModuleHandleW(nullptr));
    if (argc == 3 && !wcscmp(argv[1], L"power")) return Power(!wcscmp(argv[2], L"resume"));
    if (argc == 3 && !wcscmp(argv[1], L"shell")) return Shell(!wcscmp(argv[2], L"back"));
    if (argc == 3 && !wcscmp(argv[1], L"fullscreen")) return FullScreen(GetModuleHandleW(nullptr), _wtoi(argv[2]));
    std::puts("usage: session_probe end cancel|yes | keys FILE | send VK... | taskbar | power suspend|resume | "
              "fullscreen SECONDS");
    return 2;
}
