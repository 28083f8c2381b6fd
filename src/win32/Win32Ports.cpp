#include "win32/Win32Ports.h"

#include <commdlg.h>
#include <direct.h>
#include <io.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <stdlib.h>

#include <vector>

#include "../../res/resource.h"
#include "tasks/RemindDlg.h"
#include "win32/DialogColours.h"
#include "win32/OnFirstUse.h"
#include "win32/Wide.h"

namespace lumivar {

namespace {

RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---- main window ---------------------------------------------------------------------------

void Win32MainWindow::SetTimer(int id, uint32_t ms) { ::SetTimer(m_hwnd, UINT_PTR(id), ms, nullptr); }
void Win32MainWindow::KillTimer(int id) { ::KillTimer(m_hwnd, UINT_PTR(id)); }

void Win32MainWindow::SetIcon(int iconResource) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconResource));
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, LPARAM(icon));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, LPARAM(icon));
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
void Win32MainWindow::FocusPassword() { SetFocus(Password()); }
HWND Win32MainWindow::Password() const { return GetDlgItem(m_hwnd, IDC_PASSWORD); }

std::string Win32MainWindow::PasswordText() {
    HWND edit = Password();
    std::wstring text(size_t(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(edit, text.data(), int(text.size()))));
    return Utf8(text);
}

void Win32MainWindow::SetPasswordText(const std::string& text) { SetWindowTextW(Password(), Wide(text).c_str()); }

Rect Win32MainWindow::PasswordRect() {
    RECT rc{};
    GetWindowRect(Password(), &rc);
    return FromScreen(rc);
}

void Win32MainWindow::MovePasswordBox(int x, int y) {
    SetWindowPos(Password(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void Win32MainWindow::ShowPasswordBox(bool on) {
    ShowWindow(Password(), on ? SW_SHOW : SW_HIDE);
    EnableWindow(Password(), on);
}

// The main window runs in its own message loop, which ends when the window is gone.
void Win32MainWindow::EndDialog(int /*result*/) { DestroyWindow(m_hwnd); }
void Win32MainWindow::PostScreenSaver() { PostMessageW(m_hwnd, WM_SYSCOMMAND, SC_SCREENSAVE, 0); }

// ---- tray ----------------------------------------------------------------------------------

void Win32Tray::Notify(TrayOp op, const TrayIcon& icon) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = m_owner.Handle();
    nid.uID = UINT(icon.id);
    if (op != TrayOp::Delete) {
        nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        nid.uCallbackMessage = icon.callbackMessage;
        nid.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon.iconResource));
        lstrcpynW(nid.szTip, Wide(icon.tip).c_str(), int(std::size(nid.szTip)));
    }
    Shell_NotifyIconW(op == TrayOp::Add ? NIM_ADD : op == TrayOp::Modify ? NIM_MODIFY : NIM_DELETE, &nid);
}

void Win32Tray::PopupMenu(int menuResource, int defaultCommand, int checkCommand, bool checked) {
    HWND owner = m_owner.Handle();
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuResource));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    POINT pt{};
    GetCursorPos(&pt);
    SetForegroundWindow(owner);
    if (defaultCommand) SetMenuDefaultItem(popup, UINT(defaultCommand), FALSE);
    if (checkCommand) CheckMenuItem(popup, UINT(checkCommand), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    TrackPopupMenu(popup, TPM_RIGHTALIGN | TPM_RIGHTBUTTON, pt.x + 20, pt.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

// ---- system --------------------------------------------------------------------------------

std::time_t Win32System::Now() { return std::time(nullptr); }
uint32_t Win32System::TickCount() { return GetTickCount(); }

uint32_t Win32System::LastInputTick() {
    LASTINPUTINFO info{sizeof info, 0};
    return GetLastInputInfo(&info) ? info.dwTime : GetTickCount();
}

bool Win32System::IsWin9x() { return (GetVersion() & 0x80000000u) != 0; }

std::string Win32System::ModuleFileName() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    return Utf8(std::wstring_view(path, n));
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

void Win32System::RunCommandLine(const std::string& cmd) {
    // What WinExec does, without its ANSI-only command line.
    std::wstring line = Wide(cmd);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

void Win32System::SetRunValue(const std::string& name, const std::string* path) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE,
                      &key) != ERROR_SUCCESS)
        return;
    const std::wstring wname = Wide(name);
    if (path) {
        const std::wstring value = Wide(*path);
        RegSetValueExW(key, wname.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD((value.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key, wname.c_str());
    }
    RegCloseKey(key);
}

bool Win32System::EnableShutdownPrivilege() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES tp{};
    LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid);
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    SetLastError(ERROR_SUCCESS);
    AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
    const bool ok = GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
}

bool Win32System::ExitSession(unsigned flags) { return ExitWindowsEx(flags, 0) != 0; }

// ---- files ---------------------------------------------------------------------------------

bool Win32Files::ReadFile(const std::string& path, std::string& bytes) {
    HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < (64LL << 20);  // no settings file is that large
    if (ok) {
        bytes.assign(size_t(size.QuadPart), '\0');
        DWORD got = 0;
        ok = bytes.empty() || (::ReadFile(f, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
    }
    CloseHandle(f);
    return ok;
}

bool Win32Files::WriteFileAtomic(const std::string& path, const std::string& bytes) {
    const std::wstring target = Wide(path);
    // Replacing by rename would get past a read-only file, which the user set to keep it as it is.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const std::wstring temp = target + L".tmp";
    HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    ok = FlushFileBuffers(f) && ok;
    CloseHandle(f);
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
}

bool Win32Files::FullPath(const std::string& path, std::string& full) {
    wchar_t buf[MAX_PATH * 4];
    if (!_wfullpath(buf, Wide(path).c_str(), std::size(buf))) return false;
    full = Utf8(buf);
    return true;
}

bool Win32Files::ChangeDir(const std::string& dir) { return _wchdir(Wide(dir).c_str()) == 0; }

namespace {
FindEntry Entry(const _wfinddata64_t& d) { return {Utf8(d.name), (d.attrib & _A_SUBDIR) != 0}; }
}  // namespace

intptr_t Win32Files::FindFirst(const std::string& pattern, FindEntry& entry) {
    _wfinddata64_t data;
    const intptr_t h = _wfindfirst64(Wide(pattern).c_str(), &data);
    if (h != -1) entry = Entry(data);
    return h;
}

bool Win32Files::FindNext(intptr_t handle, FindEntry& entry) {
    _wfinddata64_t data;
    if (_wfindnext64(handle, &data) != 0) return false;
    entry = Entry(data);
    return true;
}

void Win32Files::FindClose(intptr_t handle) { _findclose(handle); }

// ---- notice box ----------------------------------------------------------------------------

namespace {

class RemindView : public IRemindView {
public:
    RemindView(HWND hwnd, CRemindDlg& dlg) : m_hwnd(hwnd), m_dlg(dlg) {}
    void SetTitle(const std::string& t) override { SetWindowTextW(m_hwnd, Wide(t).c_str()); }
    void SetOkText(const std::string& t) override { SetDlgItemTextW(m_hwnd, IDOK, Wide(t).c_str()); }
    void SetSmallIcon(int res) override {
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL,
                     LPARAM(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(res))));
    }
    void SetTimer(int id, uint32_t ms) override { ::SetTimer(m_hwnd, UINT_PTR(id), ms, nullptr); }
    void KillTimer(int id) override { ::KillTimer(m_hwnd, UINT_PTR(id)); }
    void CaretToStart() override {
        HWND edit = GetDlgItem(m_hwnd, IDC_REMIND_TEXT);
        SendMessageW(edit, EM_SETSEL, 0, 0);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
    void Animate(uint32_t ms, uint32_t effect) override { AnimateWindow(m_hwnd, ms, effect); }
    void InvalidateErase() override { InvalidateRect(m_hwnd, nullptr, TRUE); }
    void End(int result) override { EndDialog(m_hwnd, result); }

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* view = reinterpret_cast<RemindView*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (INT_PTR brush = GreyDialogColour(msg, wp, lp)) return brush;
        switch (msg) {
        case WM_INITDIALOG: {
            auto* dlg = reinterpret_cast<CRemindDlg*>(lp);
            view = new RemindView(hwnd, *dlg);
            SetWindowLongPtrW(hwnd, DWLP_USER, LONG_PTR(view));
            SetDlgItemTextW(hwnd, IDC_REMIND_TEXT, Wide(dlg->m_strMessage).c_str());
            // Focus the text ourselves: the dialog manager would select all of it.
            SetFocus(GetDlgItem(hwnd, IDC_REMIND_TEXT));
            dlg->OnInitDialog(*view);
            return FALSE;
        }
        case WM_TIMER:
            if (view) view->m_dlg.OnTimer(*view);
            return TRUE;
        case WM_COMMAND:
            if (!view) break;
            if (LOWORD(wp) == IDOK) view->m_dlg.OnOK(*view);
            if (LOWORD(wp) == IDCANCEL) view->m_dlg.OnCancel(*view);
            return TRUE;
        case WM_DESTROY:
            if (view) {
                view->m_dlg.OnDestroy(*view);
                SetWindowLongPtrW(hwnd, DWLP_USER, 0);
                delete view;
            }
            return TRUE;
        }
        return FALSE;
    }

private:
    HWND m_hwnd;
    CRemindDlg& m_dlg;
};

}  // namespace

int Win32Dialogs::RunRemind(CRemindDlg& dlg) {
    const INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_REMIND), nullptr,
                                      RemindView::Proc, LPARAM(&dlg));
    return r == IDOK ? IDOK : IDCANCEL;
}

bool Win32Dialogs::OpenFile(const OpenFileRequest& request, std::string& path) {
    return ChooseFileToOpen(m_owner.Handle(), request, path);
}

bool ChooseFileToOpen(HWND owner, const OpenFileRequest& request, std::string& path) {
    std::wstring filter;
    for (const auto& [label, pattern] : request.filters) filter += Wide(label) + L'\0' + Wide(pattern) + L'\0';
    filter += L'\0';
    const std::wstring title = Wide(request.title);
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = DWORD(request.filterIndex);
    ofn.lpstrFile = file;
    ofn.nMaxFile = DWORD(std::size(file));
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return false;
    path = Utf8(file);
    return true;
}

// ---- painting ------------------------------------------------------------------------------

GdiPainter::GdiPainter(HDC dc, CBackgroundPicture* picture) : m_dc(dc), m_picture(picture) {
    m_textFont = CreateFontW(40, 20, 0, 0, 0, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, 0, L"Brush Script MT");
    m_defaultFont = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
}

GdiPainter::~GdiPainter() {
    SelectObject(m_dc, m_defaultFont);
    DeleteObject(m_textFont);
}

void GdiPainter::Select(Font font) { SelectObject(m_dc, font == Font::Text ? HGDIOBJ(m_textFont) : m_defaultFont); }

void GdiPainter::FillRect(const Rect& rc, Colorref color) {
    HBRUSH brush = CreateSolidBrush(color);
    const RECT r = ToRECT(rc);
    ::FillRect(m_dc, &r, brush);
    DeleteObject(brush);
}

Size GdiPainter::MeasureText(Font font, const std::string& text) {
    Select(font);
    const std::wstring w = Wide(text);
    SIZE sz{};
    GetTextExtentPoint32W(m_dc, w.c_str(), int(w.size()), &sz);
    return {sz.cx, sz.cy};
}

void GdiPainter::DrawString(Font font, int x, int y, const std::string& text, Colorref color) {
    Select(font);
    SetTextColor(m_dc, color);
    const std::wstring w = Wide(text);
    TextOutW(m_dc, x, y, w.c_str(), int(w.size()));
}

void GdiPainter::DrawPicture(const Rect& rc) {
    if (m_picture) m_picture->Render(m_dc, rc);
}

}  // namespace lumivar
