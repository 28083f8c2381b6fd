#include "win32/AboutDlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include "about/HyperLink.h"
#include "about_ids.h"
#include "base/Strings.h"
#include "win32/DialogColours.h"
#include "win32/Handles.h"
#include "win32/OnFirstUse.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {

namespace {

// A static text control that looks and behaves like a web link. The dialog
// forwards its WM_CTLCOLORSTATIC and click notifications here; the mouse and
// cursor messages come through a subclass of the control.
class CHyperLink {
public:
    CHyperLink() : m_crHover(GetSysColor(COLOR_HIGHLIGHT)) {}
    ~CHyperLink() { Release(); }
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    void SubclassDlgItem(HWND dialog, int id);
    HWND Handle() const { return m_hwnd; }

    void SetLinkTarget(const std::string& target);
    void MarkVisited(bool visited);
    HBRUSH CtlColor(HDC dc);
    void OnLinkClicked();

    static int OpenLink(const std::string& target, int showCmd);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LONG ReadClassesRootValue(HKEY key, const std::string& subKey, std::string& value);
    void ShowOpenError(int code);
    void FitToText();
    void LoadHandCursor();
    void OnMouseMove(POINT pt);
    void Redraw();
    void Release();

    Colorref m_crNormal = kLinkNormal;
    Colorref m_crVisited = kLinkVisited;
    Colorref m_crHover;
    bool m_bHover = false;
    bool m_bWasVisited = false;
    bool m_bUnderlined = true;
    bool m_bFitToText = true;
    std::string m_strTarget;
    GdiObject<HFONT> m_fontUnderline;
    HCURSOR m_hHandCursor = nullptr;
    bool m_bOwnCursor = false;  // a copy taken from winhlp32.exe, not a shared system cursor
    HWND m_tooltip = nullptr;
    HWND m_hwnd = nullptr;
};

void CHyperLink::SubclassDlgItem(HWND dialog, int id) {
    m_hwnd = GetDlgItem(dialog, id);
    if (!m_hwnd) return;
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, GetWindowLongPtrW(m_hwnd, GWL_STYLE) | SS_NOTIFY);

    const std::wstring text = WindowTextWide(m_hwnd);
    if (m_strTarget.empty()) m_strTarget = Utf8(text);
    if (text.empty()) SetWindowTextW(m_hwnd, Wide(m_strTarget).c_str());

    LOGFONTW lf{};
    GetObjectW(HFONT(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    lf.lfUnderline = m_bUnderlined;
    m_fontUnderline.Reset(CreateFontIndirectW(&lf));
    SendMessageW(m_hwnd, WM_SETFONT, WPARAM(m_fontUnderline.Get()), TRUE);

    FitToText();
    LoadHandCursor();

    m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, nullptr, nullptr);
    std::wstring tip = Wide(m_strTarget);
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every comctl32, with or without a manifest
    ti.uFlags = TTF_SUBCLASS;         // the tooltip sees the control's mouse messages by itself
    ti.hwnd = m_hwnd;
    ti.uId = 1;
    ti.lpszText = tip.data();
    GetClientRect(m_hwnd, &ti.rect);
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, LPARAM(&ti));

    SetWindowSubclass(m_hwnd, SubclassProc, 0, DWORD_PTR(this));
}

void CHyperLink::SetLinkTarget(const std::string& target) {
    m_strTarget = target;
    if (!m_hwnd) return;
    FitToText();
    std::wstring tip = Wide(m_strTarget);
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = m_hwnd;
    ti.uId = 1;
    ti.lpszText = tip.data();
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, LPARAM(&ti));
}

void CHyperLink::MarkVisited(bool visited) {
    m_bWasVisited = visited;
    if (m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
}

HBRUSH CHyperLink::CtlColor(HDC dc) {
    SetTextColor(dc, LinkTextColor(m_bHover, m_bWasVisited, m_crHover));
    SetBkMode(dc, TRANSPARENT);
    return HBRUSH(GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnLinkClicked() {
    const int result = OpenLink(m_strTarget, SW_SHOW);
    if (result > 32) {  // ShellExecute's and WinExec's success
        MarkVisited(true);
    } else {
        m_bWasVisited = false;
        MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(result);
    }
}

int CHyperLink::OpenLink(const std::string& target, int showCmd) {
    UseCom();
    const auto result = INT_PTR(ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, showCmd));
    if (UINT_PTR(result) > 32) return int(result);

    // No association for the target itself: hand it to whatever opens web pages.
    std::string type, command;
    if (ReadClassesRootValue(HKEY_CLASSES_ROOT, ".htm", type) != ERROR_SUCCESS) return int(result);
    if (ReadClassesRootValue(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", command) != ERROR_SUCCESS)
        return int(result);
    return StartCommandLine(FallbackCommandLine(command, target), showCmd);
}

LONG CHyperLink::ReadClassesRootValue(HKEY key, const std::string& subKey, std::string& value) {
    RegKey h;
    LONG status = RegOpenKeyExW(key, Wide(subKey).c_str(), 0, KEY_QUERY_VALUE, h.Put());
    if (status != ERROR_SUCCESS) return status;
    wchar_t buf[MAX_PATH] = {};
    LONG size = sizeof buf;
    status = RegQueryValueW(h.Get(), nullptr, buf, &size);
    if (status == ERROR_SUCCESS) value = Utf8(buf);
    return status;
}

void CHyperLink::ShowOpenError(int code) {
    MessageBoxW(GetParent(m_hwnd), Wide(OpenErrorText(code)).c_str(), AppTitle().c_str(), MB_ICONEXCLAMATION);
}

void CHyperLink::FitToText() {
    if (!m_hwnd || !m_bFitToText) return;
    RECT rc;
    GetWindowRect(m_hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(m_hwnd), reinterpret_cast<POINT*>(&rc), 2);

    const std::wstring text = WindowTextWide(m_hwnd);
    SIZE ext{};
    {
        const WindowDC dc(m_hwnd);
        const SelectedObject font(dc.Get(), m_fontUnderline.Get());
        GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &ext);
    }

    const Rect fit = lumivar::FitToText({rc.left, rc.top, rc.right, rc.bottom}, {ext.cx, ext.cy},
                                        unsigned(GetWindowLongPtrW(m_hwnd, GWL_STYLE)));
    SetWindowPos(m_hwnd, nullptr, fit.left, fit.top, fit.Width(), fit.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::LoadHandCursor() {
    if (m_hHandCursor) return;
    wchar_t dir[MAX_PATH] = {};
    GetWindowsDirectoryW(dir, MAX_PATH);
    const std::wstring path = std::wstring(dir) + L"\\winhlp32.exe";
    if (const Library help{LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)}) {
        // The help program's pointing hand; copied, as the module goes right after.
        if (HCURSOR hand = LoadCursorW(help.Get(), MAKEINTRESOURCEW(106))) {
            m_hHandCursor = CopyCursor(hand);
            m_bOwnCursor = m_hHandCursor != nullptr;
        }
    }
    // Systems without the old help program still have a hand of their own.
    if (!m_hHandCursor) m_hHandCursor = LoadCursorW(nullptr, IDC_HAND);
}

void CHyperLink::Redraw() { RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CHyperLink::OnMouseMove(POINT pt) {
    if (m_bHover) {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        if (!PtInRect(&rc, pt)) {
            m_bHover = false;
            ReleaseCapture();
            Redraw();
        }
    } else {
        m_bHover = true;
        Redraw();
        SetCapture(m_hwnd);
    }
}

void CHyperLink::Release() {
    m_fontUnderline.Reset();
    if (m_bOwnCursor) DestroyCursor(m_hHandCursor);
    m_hHandCursor = nullptr;
    m_bOwnCursor = false;
    m_hwnd = nullptr;
}

LRESULT CALLBACK CHyperLink::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<CHyperLink*>(ref);
    switch (msg) {
    case WM_SETCURSOR:
        if (self->m_hHandCursor) {
            SetCursor(self->m_hHandCursor);
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
        self->OnMouseMove({short(LOWORD(lp)), short(HIWORD(lp))});
        return r;
    }
    case WM_CAPTURECHANGED:
        // Capture taken away (a click that opened another window): the mouse is no longer ours.
        if (self->m_bHover && HWND(lp) != hwnd) {
            self->m_bHover = false;
            self->Redraw();
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, SubclassProc, 0);
        self->m_hwnd = nullptr;
        {
            const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
            self->Release();
            return r;
        }
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

class CAboutDlg {
public:
    INT_PTR DoModal(HINSTANCE module) {
        return DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_ABOUT), nullptr, Proc, LPARAM(this));
    }

    CHyperLink m_linkEmail;
    CHyperLink m_linkHomepage2;
    CHyperLink m_linkHomepage1;
    std::string m_strCurVersion;
    std::string m_strNewVersion;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    void DoDataExchange() {
        m_linkEmail.SubclassDlgItem(m_hwnd, IDC_LINK_EMAIL);
        m_linkHomepage2.SubclassDlgItem(m_hwnd, IDC_LINK_HOMEPAGE2);
        m_linkHomepage1.SubclassDlgItem(m_hwnd, IDC_LINK_HOMEPAGE1);
        SetDlgItemTextW(m_hwnd, IDC_CUR_VERSION, Wide(m_strCurVersion).c_str());
        SetDlgItemTextW(m_hwnd, IDC_NEW_VERSION, Wide(m_strNewVersion).c_str());
    }

    BOOL OnInitDialog() {
        DoDataExchange();
        m_linkHomepage1.SetLinkTarget(kStrHomepageB);
        m_linkHomepage2.SetLinkTarget(kStrHomepageA);
        m_linkEmail.SetLinkTarget(kStrEmail);
        return TRUE;
    }

    void OnVisitHomepage() {
        UseCom();
        ShellExecuteW(nullptr, L"open", Wide(kStrHomepageB).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }

    CHyperLink* LinkOf(HWND control) {
        for (CHyperLink* link : {&m_linkEmail, &m_linkHomepage2, &m_linkHomepage1})
            if (control && link->Handle() == control) return link;
        return nullptr;
    }

    HWND m_hwnd = nullptr;
};

INT_PTR CALLBACK CAboutDlg::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CAboutDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self = reinterpret_cast<CAboutDlg*>(lp);
        self->m_hwnd = hwnd;
        return self->OnInitDialog();
    case WM_CTLCOLORSTATIC:
        if (CHyperLink* link = self ? self->LinkOf(HWND(lp)) : nullptr) return INT_PTR(link->CtlColor(HDC(wp)));
        return GreyDialogColour(msg, wp, lp);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
        return GreyDialogColour(msg, wp, lp);
    case WM_COMMAND:
        if (!self) return FALSE;
        switch (LOWORD(wp)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(hwnd, LOWORD(wp));
            return TRUE;
        case IDC_ABOUT_PICTURE:
        case IDC_VISIT_HOMEPAGE:
            if (HIWORD(wp) == STN_CLICKED) self->OnVisitHomepage();  // BN_CLICKED has the same value
            return TRUE;
        default:
            if (CHyperLink* link = self->LinkOf(HWND(lp)); link && HIWORD(wp) == STN_CLICKED) {
                link->OnLinkClicked();
                return TRUE;
            }
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunAboutDialog(HINSTANCE module, const std::string& currentVersion, const std::string& latestVersion) {
    UseCommonControls(ICC_BAR_CLASSES);
    CAboutDlg dlg;
    dlg.m_strCurVersion = currentVersion;
    dlg.m_strNewVersion = latestVersion;
    return dlg.DoModal(module);
}

void Win32Dialogs::RunAbout(const std::string& currentVersion, const std::string& latestVersion) {
    RunAboutDialog(GetModuleHandleW(nullptr), currentVersion, latestVersion);
}

}  // namespace lumivar
