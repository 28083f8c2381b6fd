// Another program's topmost window for the lock story: a plain red 300x200 pop-up in the
// middle of the primary monitor that stays until it is killed, and pushes itself back to the
// top every few seconds, as a rude program would. Red, so a screenshot tells at once whether
// it is above the lock.
#include <windows.h>

static LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    wc.lpszClassName = L"TopmostProbe";
    if (!RegisterClassW(&wc)) return 1;
    const int w = 300, h = 200;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND wnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"topmost probe", WS_POPUP | WS_VISIBLE, x, y, w, h,
                               nullptr, nullptr, instance, nullptr);
    if (!wnd) return 1;
    SetTimer(wnd, 1, 4000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
