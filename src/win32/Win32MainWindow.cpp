// The main window, hidden until a rest or the lock covers the screens with it, and its password box.
#include "win32/Win32Ports.h"

#include <tuple>
#include <vector>

#include "resource.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"

namespace lumivar {

namespace {
// Enter in the password box is the unlock attempt, and the box takes the key itself: while a
// dialog or a message box of ours runs its own loop, the main window's dialog manager never
// sees it, and the lock could not be left until that window closed, which the lock hides.
LRESULT CALLBACK PasswordBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
    const auto base = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_USERDATA));
    switch (msg) {
    case WM_GETDLGCODE:
        if (wp == VK_RETURN) return CallWindowProcW(base, box, msg, wp, lp) | DLGC_WANTALLKEYS;
        break;
    case WM_KEYDOWN:
        if (wp != VK_RETURN) break;
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(box));
        return 0;
    case WM_CHAR:
        if (wp == '\r' || wp == '\n') return 0;  // already taken as the unlock attempt
        break;
    default:
        break;
    }
    return CallWindowProcW(base, box, msg, wp, lp);
}
}  // namespace

void Win32MainWindow::Attach(HWND hwnd) { m_hwnd = hwnd; }

// Made at the first lock: with the manifest an edit box brings in the common controls and their
// theme, which a day without a lock never needs.
HWND Win32MainWindow::PasswordBox() {
    if (HWND box = Password()) return box;
    RECT size{0, 0, 60, 12};  // dialog units of the main window's font
    MapDialogRect(m_hwnd, &size);
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_DISABLED | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, 0, 0, size.right,
                               size.bottom, m_hwnd, HMENU(INT_PTR(IDC_PASSWORD)), GetModuleHandleW(nullptr), nullptr);
    if (!box) return nullptr;
    SendMessageW(box, WM_SETFONT, WPARAM(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)), FALSE);
    SetWindowLongPtrW(box, GWLP_USERDATA, GetWindowLongPtrW(box, GWLP_WNDPROC));
    SetWindowLongPtrW(box, GWLP_WNDPROC, LONG_PTR(PasswordBoxProc));
    return box;
}

void Win32MainWindow::SetTimer(int id, uint32_t ms) { ::SetTimer(m_hwnd, UINT_PTR(id), ms, nullptr); }
void Win32MainWindow::KillTimer(int id) { ::KillTimer(m_hwnd, UINT_PTR(id)); }

void Win32MainWindow::SetIcon(int iconResource) {
    for (const auto& [kind, cx, cy] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                 GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED);
        SendMessageW(m_hwnd, WM_SETICON, WPARAM(kind), LPARAM(icon));
    }
}

namespace {
RECT VirtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Over every monitor: a rest or a lock that left one monitor free would be neither.
void Cover(HWND hwnd, UINT flags) {
    const RECT v = VirtualScreen();
    SetWindowPos(hwnd, HWND_TOPMOST, v.left, v.top, v.right - v.left, v.bottom - v.top, flags);
}
}  // namespace

void Win32MainWindow::PlaceOnDesktop() { Cover(m_hwnd, SWP_HIDEWINDOW); }
void Win32MainWindow::ShowMinimized() { ShowWindow(m_hwnd, SW_MINIMIZE); }

// The start-up leaves the window minimised; placing or animating an iconic window does nothing.
void Win32MainWindow::LeaveIconic() {
    if (!IsIconic(m_hwnd)) return;
    ShowWindow(m_hwnd, SW_RESTORE);
    ShowWindow(m_hwnd, SW_HIDE);
}

void Win32MainWindow::ShowFullScreen() {
    LeaveIconic();
    Cover(m_hwnd, SWP_SHOWWINDOW);
}

void Win32MainWindow::Hide() { ShowWindow(m_hwnd, SW_HIDE); }

void Win32MainWindow::Animate(uint32_t ms, uint32_t effect) {
    if (!(effect & AW_HIDE)) {
        LeaveIconic();
        Cover(m_hwnd, SWP_NOACTIVATE);
    }
    AnimateWindow(m_hwnd, ms, effect);
}

Rect Win32MainWindow::FromScreen(const RECT& rc) const {
    POINT pts[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    MapWindowPoints(nullptr, m_hwnd, pts, 2);
    return {pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}

Rect Win32MainWindow::WindowRect() {
    RECT rc{};
    GetClientRect(m_hwnd, &rc);
    return FromRECT(rc);
}

Rect Win32MainWindow::PrimaryRect() {
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    return FromScreen(mi.rcMonitor);
}

// Per monitor where Windows knows it (8.1 on), else the system's.
int Win32MainWindow::Dpi() {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto forMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        // Through void (*)(), the one cast from FARPROC the compiler takes without a warning.
        auto* found = shcore ? reinterpret_cast<void (*)()>(GetProcAddress(shcore, "GetDpiForMonitor")) : nullptr;
        return reinterpret_cast<GetDpiForMonitorFn>(found);
    }();
    UINT x = 0, y = 0;
    HMONITOR primary = MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (forMonitor && forMonitor(primary, 0, &x, &y) == S_OK && y) return int(y);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void Win32MainWindow::Invalidate() { InvalidateRect(m_hwnd, nullptr, FALSE); }
void Win32MainWindow::Invalidate(const Rect& rc) {
    const RECT r = ToRECT(rc);
    InvalidateRect(m_hwnd, &r, FALSE);
}

// Windows hands the foreground only to the process the user last gave input to, which a rest
// started by a timer is not. While our thread shares the foreground thread's input state,
// the call counts as theirs. No input is faked, so the idle time stays true.
void Win32MainWindow::BringToFront() {
    HWND front = GetForegroundWindow();
    const DWORD self = GetCurrentThreadId();
    const DWORD other = front ? GetWindowThreadProcessId(front, nullptr) : 0;
    const bool attached = other && other != self && AttachThreadInput(self, other, TRUE);
    SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(m_hwnd);
    SetActiveWindow(m_hwnd);
    if (attached) AttachThreadInput(self, other, FALSE);
}

void Win32MainWindow::KeepTopmost() { Cover(m_hwnd, SWP_NOACTIVATE | SWP_SHOWWINDOW); }

namespace {
struct HideRun {
    HWND self;
    std::vector<HWND>* hidden;
};

BOOL CALLBACK HideIfOurs(HWND w, LPARAM lp) {
    auto& run = *reinterpret_cast<HideRun*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && w != run.self && IsWindowVisible(w)) {
        ShowWindow(w, SW_HIDE);
        run.hidden->push_back(w);
    }
    return TRUE;
}
}  // namespace

void Win32MainWindow::HideOtherWindows(bool hide) {
    if (hide) {
        EndMenu();
        HideRun run{m_hwnd, &m_hidden};
        EnumWindows(HideIfOurs, LPARAM(&run));
        // A modal box owned by the main window disables it, and with it the password box.
        if (!IsWindowEnabled(m_hwnd)) {
            m_wasDisabled = true;
            EnableWindow(m_hwnd, TRUE);
        }
        return;
    }
    bool ownedModalLeft = false;
    for (HWND w : m_hidden) {
        if (!IsWindow(w)) continue;
        ShowWindow(w, SW_SHOWNA);
        ownedModalLeft = ownedModalLeft || GetWindow(w, GW_OWNER) == m_hwnd;
    }
    m_hidden.clear();
    if (m_wasDisabled && ownedModalLeft) EnableWindow(m_hwnd, FALSE);
    m_wasDisabled = false;
}

void Win32MainWindow::ActivateForegroundWindow() { SetActiveWindow(GetForegroundWindow()); }

IMainWindow::Focus Win32MainWindow::FocusOwner() {
    HWND f = GetFocus();
    if (f == m_hwnd) return Focus::Main;
    if (f && f == Password()) return Focus::Password;
    return Focus::Other;
}

void Win32MainWindow::FocusMain() { SetFocus(m_hwnd); }
void Win32MainWindow::FocusPassword() { SetFocus(PasswordBox()); }
HWND Win32MainWindow::Password() const { return GetDlgItem(m_hwnd, IDC_PASSWORD); }

std::string Win32MainWindow::PasswordText() { return WindowTextUtf8(Password()); }

void Win32MainWindow::SetPasswordText(const std::string& text) {
    if (HWND box = Password()) SetWindowTextW(box, Wide(text).c_str());
}

Rect Win32MainWindow::PasswordRect() {
    RECT rc{};
    GetWindowRect(PasswordBox(), &rc);
    return FromScreen(rc);
}

void Win32MainWindow::MovePasswordBox(int x, int y) {
    SetWindowPos(PasswordBox(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void Win32MainWindow::ShowPasswordBox(bool on) {
    HWND box = on ? PasswordBox() : Password();
    if (!box) return;
    ShowWindow(box, on ? SW_SHOW : SW_HIDE);
    EnableWindow(box, on);
}

// The main window runs in its own message loop, which ends when the window is gone.
void Win32MainWindow::EndDialog(int /*result*/) { DestroyWindow(m_hwnd); }
void Win32MainWindow::PostScreenSaver() { PostMessageW(m_hwnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0); }

}  // namespace lumivar
