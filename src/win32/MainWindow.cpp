// The main window procedure: every message goes to the core's handler.
#include "win32/MainWindow.h"

#include <memory>

#include "app/MainDlg.h"
#include "net/HttpClient.h"
#include "net/SystemIcmp.h"
#include "resource.h"
#include "win32/Win32Ports.h"

#include <wtsapi32.h>  // after <windows.h>, which it needs

namespace lumivar {

namespace {

struct Shell {
    Win32MainWindow window;
    Win32Tray tray{window};
    Win32System system{window};
    Win32Files files;
    Win32Dialogs dialogs{window};
    CBackgroundPicture picture;
    Win32Background background{window};
    CSystemIcmp icmp;
    std::unique_ptr<CMainDlg> dlg;
};

INT_PTR Result(HWND hwnd, LONG_PTR result) {
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK MainDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* shell = reinterpret_cast<Shell*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        shell = reinterpret_cast<Shell*>(lp);
        SetWindowLongPtrW(hwnd, DWLP_USER, LONG_PTR(shell));
        shell->window.Attach(hwnd);
        const auto tcp = SystemTcp();
        shell->dlg = std::make_unique<CMainDlg>(
            Ports{shell->window, shell->tray, shell->system, shell->files, shell->dialogs, shell->picture,
                  shell->background, shell->icmp, std::make_shared<CHttpClient>(tcp, SystemProxy()), tcp});
        // Windows' own lock is told only to windows that ask for it.
        WTSRegisterSessionNotification(hwnd, NOTIFY_FOR_THIS_SESSION);
        return shell->dlg->OnInitDialog();
    }
    if (!shell || !shell->dlg) return FALSE;
    CMainDlg& dlg = *shell->dlg;
    switch (msg) {
    case WM_TIMER:
        dlg.OnTimer(int(wp));
        return TRUE;
    case WM_HOTKEY:
        dlg.OnHotKey(int(wp));
        return TRUE;
    case WM_COMMAND:
        dlg.OnCommand(LOWORD(wp));
        return TRUE;
    case WM_KEYDOWN:
        // A swallowed key gets no default handling either.
        return dlg.OnKeyDown(unsigned(wp)) ? FALSE : TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (IsIconic(hwnd)) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            DrawIcon(dc, (rc.right - GetSystemMetrics(SM_CXICON) + 1) / 2,
                     (rc.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2,
                     LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP)));
        } else {
            GdiPainter painter(dc, &shell->picture, shell->window.Dpi());
            dlg.OnPaint(painter);
        }
        EndPaint(hwnd, &ps);
        return TRUE;
    }
    case WM_ERASEBKGND: {
        GdiPainter painter{HDC(wp), &shell->picture};
        return Result(hwnd, dlg.OnEraseBkgnd(painter));
    }
    case WM_QUERYDRAGICON:
        return INT_PTR(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP)));
    case WM_QUERYENDSESSION:
        return Result(hwnd, dlg.OnQueryEndSession(true));
    case WM_ENDSESSION:
        dlg.OnEndSession(wp != FALSE);
        return Result(hwnd, 0);
    case WM_DISPLAYCHANGE:
        dlg.OnDisplayChange();
        return TRUE;
    case WM_POWERBROADCAST:
        if (wp == PBT_APMSUSPEND) dlg.OnSuspend();
        if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) dlg.OnResume();
        return Result(hwnd, TRUE);
    case WM_WTSSESSION_CHANGE:
        if (wp == WTS_SESSION_LOCK || wp == WTS_SESSION_UNLOCK) dlg.OnSessionLock(wp == WTS_SESSION_LOCK);
        return TRUE;
    case WM_TIMECHANGE:
        dlg.OnTimeChange();
        return TRUE;
    case WM_TRAYNOTIFY:
    case WM_MAILNOTIFY:
        // Wine's tray sends its clicks and waits for the answer: a dialog opened right there would
        // run inside the tray's call. Taken again from our own queue, it runs as any command.
        if (InSendMessage()) {
            PostMessageW(hwnd, msg, wp, lp);
            return TRUE;
        }
        if (msg == WM_TRAYNOTIFY)
            dlg.OnTrayNotify(unsigned(wp), unsigned(lp));
        else
            dlg.OnMailTrayNotify(unsigned(wp), unsigned(lp));
        return TRUE;
    case WM_BACKGROUND_DONE:
        Win32Background::Deliver(lp);
        return TRUE;
    case WM_DESTROY:
        WTSUnRegisterSessionNotification(hwnd);
        dlg.OnDestroy();
        return TRUE;
    case WM_NCDESTROY:
        PostQuitMessage(0);
        return FALSE;
    default:
        break;
    }
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    if (msg == taskbarCreated && taskbarCreated) {
        dlg.OnTaskbarCreated();
        return TRUE;
    }
    return FALSE;
}

}  // namespace

// Our own loop rather than DialogBox's: that one shows a hidden dialog when its queue first
// runs empty, which would bring up the full-screen window at start-up.
int RunMainWindow() {
    Shell shell;
    HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDlgProc,
                                   LPARAM(&shell));
    if (!hwnd) return -1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsWindow(hwnd) && IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}

}  // namespace lumivar
