// The least a tray program can be under the same Wine: a hidden window and one icon.
// It gives the floor that Lumivar.exe's footprint is read against.
#include <windows.h>
#include <shellapi.h>

namespace {
constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BareTray";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"BareTray", L"BareTray", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = kTrayMessage;
    nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(nid.szTip, L"BareTray", 64);
    Shell_NotifyIconW(NIM_ADD, &nid);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    Shell_NotifyIconW(NIM_DELETE, &nid);
    return 0;
}
