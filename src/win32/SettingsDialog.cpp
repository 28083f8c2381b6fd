// The settings dialog's window: the tab strip with its five child pages. Each page's view
// only moves values between its controls and its model and forwards clicks.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "base/Strings.h"
#include "resource.h"
#include "settings/SettingsDlg.h"
#include "settings_ids.h"
#include "win32/DialogColours.h"
#include "win32/Handles.h"
#include "win32/OnFirstUse.h"
#include "win32/SettingsPages.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {

// ---- helpers shared by the page views ------------------------------------------------------

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

std::string Text(HWND page, int id) { return WindowTextUtf8(GetDlgItem(page, id)); }

void SetText(HWND page, int id, const std::string& text) { SetDlgItemTextW(page, id, Wide(text).c_str()); }

void Show(HWND page, const std::vector<Field>& fields) {
    for (const Field& f : fields) {
        if (auto on = std::get_if<int*>(&f.member)) Check(page, f.id, **on);
        else SetText(page, f.id, *std::get<std::string*>(f.member));
    }
}

void Read(HWND page, const std::vector<Field>& fields) {
    for (const Field& f : fields) {
        if (auto on = std::get_if<int*>(&f.member)) **on = Checked(page, f.id);
        else *std::get<std::string*>(f.member) = Text(page, f.id);
    }
}

void Enable(HWND page, std::initializer_list<int> ids, bool on) {
    for (int id : ids) EnableWindow(GetDlgItem(page, id), on);
}

void SetSpin(HWND page, int spin, int low, int high, int value) {
    SendDlgItemMessageW(page, spin, UDM_SETRANGE32, WPARAM(low), LPARAM(high));
    SendDlgItemMessageW(page, spin, UDM_SETPOS32, 0, LPARAM(value));
}

int SpinValue(HWND page, int buddy) { return int(GetDlgItemInt(page, buddy, nullptr, TRUE)); }

void PageMessage(HWND page, const std::string& text) {
    MessageBoxW(page, Wide(text).c_str(), AppTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

namespace {

// The pickers show a time of day; their date plays no part.
SYSTEMTIME ToSystemTime(const PickerTime& t) {
    return {2000, 1, 6, 1, WORD(t.hour), WORD(t.minute), WORD(t.second), 0};
}

PickerTime PickerValue(HWND page, int id) {
    SYSTEMTIME st{};
    if (SendDlgItemMessageW(page, id, DTM_GETSYSTEMTIME, 0, LPARAM(&st)) != GDT_VALID) return {};
    return {st.wHour, st.wMinute, st.wSecond};
}

void SetPicker(HWND page, int id, const PickerTime& first, const PickerTime& value) {
    SYSTEMTIME range[2] = {ToSystemTime(first), ToSystemTime(CGeneralPage::kLast)};
    SendDlgItemMessageW(page, id, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, LPARAM(range));
    SYSTEMTIME st = ToSystemTime(value);
    SendDlgItemMessageW(page, id, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st));
}

// What the pages ask of the user, owned by the page that asks.
class PageUi : public ISettingsUi {
public:
    explicit PageUi(HWND page) : m_page(page) {}
    bool PickColor(Colorref& color) override {
        COLORREF custom[16];
        for (COLORREF& c : custom) c = RGB(255, 255, 255);
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = m_page;
        cc.rgbResult = color;
        cc.lpCustColors = custom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
        if (!::ChooseColorW(&cc)) return false;
        color = cc.rgbResult;
        return true;
    }
    bool ChooseFile(const OpenFileRequest& request, std::string& path) override {
        return ChooseFileToOpen(m_page, request, path);
    }
    void RangeError(int low, int high) override {
        PageMessage(m_page, RangeMessage(low, high));
    }
    void ShowMessage(const std::string& text) override { PageMessage(m_page, text); }

private:
    HWND m_page;
};

// ---- the general page ----------------------------------------------------------------------

class GeneralView : public PageView {
public:
    explicit GeneralView(CGeneralPage& model) : m_model(model) {}

    void Init(HWND page) override {
        m_model.OnInitDialog();
        Put(page);
        SetPicker(page, IDC_GEN_WORK, CGeneralPage::kWorkFirst, m_model.m_workPicker);
        SetPicker(page, IDC_GEN_REST, CGeneralPage::kRestFirst, m_model.m_restPicker);
        // The spin wraps within the range the page accepts.
        SetSpin(page, IDC_GEN_LOCKSPIN, CGeneralPage::kAutoLockMin, CGeneralPage::kAutoLockMax,
                m_model.m_nAutoLockTimeout);
        SetDlgItemInt(page, IDC_GEN_LOCKMINUTES, UINT(m_model.m_nAutoLockTimeout), TRUE);
        Refresh(page);
    }

    void Put(HWND page) { Show(page, m_fields); }

    void Take(HWND page) override {
        Read(page, m_fields);
        m_model.m_nAutoLockTimeout = SpinValue(page, IDC_GEN_LOCKMINUTES);
        m_model.m_workPicker = PickerValue(page, IDC_GEN_WORK);
        m_model.m_restPicker = PickerValue(page, IDC_GEN_REST);
    }

    void Command(HWND page, int id) override {
        PageUi ui(page);
        Take(page);
        switch (id) {
        case IDC_GEN_BACKCOLOR:
        case IDC_GEN_TEXTCOLOR:
            m_model.OnColorButton(id == IDC_GEN_BACKCOLOR, ui);
            InvalidateRect(page, nullptr, TRUE);
            break;
        case IDC_GEN_BREAKBROWSE: m_model.OnSoundButton(CGeneralPage::BreakSound, ui); break;
        case IDC_GEN_WORKBROWSE: m_model.OnSoundButton(CGeneralPage::WorkSound, ui); break;
        case IDC_GEN_REMINDBROWSE: m_model.OnSoundButton(CGeneralPage::RemindSound, ui); break;
        case IDC_GEN_PICBROWSE: m_model.OnPictureButton(ui); break;
        default: break;
        }
        Put(page);
        Refresh(page);
    }

    // The preview shows the rest screen's colours.
    INT_PTR Colour(HWND, HDC dc, HWND control) override {
        if (GetDlgCtrlID(control) != IDC_GEN_PREVIEW) return 0;
        // Kept until the next paint asks again, as the control paints with it after we return.
        m_previewBrush.Reset(CreateSolidBrush(m_model.m_crBackColor));
        SetTextColor(dc, m_model.m_crTextColor);
        SetBkColor(dc, m_model.m_crBackColor);
        return INT_PTR(m_previewBrush.Get());
    }

private:
    void Refresh(HWND page) {
        Enable(page, {IDC_GEN_TEXT}, m_model.TextEnabled());
        SetText(page, IDC_GEN_PREVIEW, m_model.PreviewText());
        Enable(page, {IDC_GEN_PICFILE, IDC_GEN_PICBROWSE, IDC_GEN_STRETCH, IDC_GEN_ALTPIC}, m_model.PictureEnabled());
        Enable(page,
               {IDC_GEN_BREAKWAV, IDC_GEN_WORKWAV, IDC_GEN_REMINDWAV, IDC_GEN_BREAKBROWSE, IDC_GEN_WORKBROWSE,
                IDC_GEN_REMINDBROWSE},
               m_model.SoundsEnabled());
        Enable(page, {IDC_GEN_LOCKMINUTES, IDC_GEN_LOCKSPIN}, m_model.AutoLockEnabled());
    }

    CGeneralPage& m_model;
    GdiObject<HBRUSH> m_previewBrush;
    const std::vector<Field> m_fields{
        {IDC_GEN_SHOWTEXT, &m_model.m_bDisplayTxt}, {IDC_GEN_TEXT, &m_model.m_strText},
        {IDC_GEN_ANIMATE, &m_model.m_bAnimate},     {IDC_GEN_PICTURE, &m_model.m_bPicture},
        {IDC_GEN_STRETCH, &m_model.m_bStretch},     {IDC_GEN_ALTPIC, &m_model.m_bAltPic},
        {IDC_GEN_PICFILE, &m_model.m_strPicFile},   {IDC_GEN_SOUND, &m_model.m_bPlaySound},
        {IDC_GEN_BREAKWAV, &m_model.m_strBreakWav}, {IDC_GEN_WORKWAV, &m_model.m_strWorkWav},
        {IDC_GEN_REMINDWAV, &m_model.m_strRemindWav}, {IDC_GEN_BACKKEY, &m_model.m_bBackKey},
        {IDC_GEN_STARTUP, &m_model.m_bStartup},     {IDC_GEN_UPDATE, &m_model.m_bAutoCheckNewVersion},
        {IDC_GEN_AUTOLOCK, &m_model.m_bAutoLock}};
};

// ---- the password page ---------------------------------------------------------------------

class PasswordView : public PageView {
public:
    explicit PasswordView(CPasswordPage& model) : m_model(model) {}
    void Init(HWND page) override { Show(page, m_fields); }
    void Take(HWND page) override { Read(page, m_fields); }

private:
    CPasswordPage& m_model;
    const std::vector<Field> m_fields{{IDC_PWD_LOCK, &m_model.m_bLockPass},   {IDC_PWD_CONFIG, &m_model.m_bConfigPass},
                                      {IDC_PWD_EXIT, &m_model.m_bExitPass},   {IDC_PWD_NEW, &m_model.m_strPassword},
                                      {IDC_PWD_CONFIRM, &m_model.m_strConfirm}};
};

// ---- the day's page ------------------------------------------------------------------------

// Typed values are checked on OK, as in the other number boxes; the spins stay in range.
class DayView : public PageView {
public:
    explicit DayView(CDayPage& model) : m_model(model) {}
    void Init(HWND page) override {
        for (int i = 0; i < 3; ++i) {
            SetSpin(page, kBoxes[i] + 1, CDayPage::kBoxes[i].low, CDayPage::kBoxes[i].high, m_model.m_values[i]);
            SetDlgItemInt(page, kBoxes[i], UINT(m_model.m_values[i]), TRUE);
        }
    }
    void Take(HWND page) override {
        for (int i = 0; i < 3; ++i) {
            BOOL ok = FALSE;
            const int v = int(GetDlgItemInt(page, kBoxes[i], &ok, TRUE));
            m_model.m_values[i] = ok ? v : -1;  // empty or too long for a number: out of range
        }
    }

private:
    static constexpr int kBoxes[3] = {IDC_DAY_BREAK, IDC_DAY_WAIT, IDC_DAY_WARN};  // each spin is box + 1
    CDayPage& m_model;
};

// ---- the dialog ----------------------------------------------------------------------------

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    auto* view = reinterpret_cast<PageView*>(GetWindowLongPtrW(page, DWLP_USER));
    if (msg == WM_CTLCOLORSTATIC && view)
        if (INT_PTR brush = view->Colour(page, HDC(wp), HWND(lp))) return brush;
    if (INT_PTR brush = GreyDialogColour(msg, wp, lp)) return brush;
    switch (msg) {
    case WM_INITDIALOG:
        view = reinterpret_cast<PageView*>(lp);
        SetWindowLongPtrW(page, DWLP_USER, LONG_PTR(view));
        view->Init(page);
        return TRUE;
    case WM_COMMAND:
        // Enter and Esc in a page close nothing: Enter only takes the values in.
        if (!view) return FALSE;
        if (LOWORD(wp) == IDOK) view->Take(page);
        else if (LOWORD(wp) != IDCANCEL && HIWORD(wp) == BN_CLICKED) view->Command(page, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

struct SettingsRun {
    CSettingsDlg& model;
    std::vector<std::unique_ptr<PageView>> views;
    std::vector<HWND> pages;
    HWND dialog = nullptr, tab = nullptr;
    HHOOK hook = nullptr;
};

thread_local SettingsRun* t_run = nullptr;

void ShowPage(SettingsRun& run, int index) {
    for (size_t i = 0; i < run.pages.size(); ++i) ShowWindow(run.pages[i], int(i) == index ? SW_SHOW : SW_HIDE);
    // The highlighted tab follows the page, whichever way it was chosen.
    if (TabCtrl_GetCurSel(run.tab) != index) TabCtrl_SetCurSel(run.tab, index);
}

// The keyboard follows: a focus left on the page now hidden goes to the new page's first box.
void Select(SettingsRun& run, int index) {
    if (!run.model.m_tab.SelectPage(index)) return;
    HWND focus = GetFocus();
    ShowPage(run, index);
    HWND page = run.pages[size_t(index)];
    if (focus && !IsWindowVisible(focus) && !IsChild(page, focus))
        if (HWND first = GetNextDlgTabItem(page, nullptr, FALSE)) SetFocus(first);
}

bool InOurPage(SettingsRun& run, HWND w) {
    for (HWND p : run.pages)
        if (w == p || IsChild(p, w)) return true;
    return false;
}

// The dialog manager knows nothing of pages: Ctrl+Tab turns them, and Enter and Esc inside
// one reach that page, not the dialog's own buttons.
LRESULT CALLBACK KeyFilter(int code, WPARAM wp, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == MSGF_DIALOGBOX && t_run && msg->message == WM_KEYDOWN) {
        SettingsRun& run = *t_run;
        // The top bit of a key's state: held down.
        if (msg->wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000)) {
            const int n = run.model.m_tab.Count();
            const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? n - 1 : 1;  // back one, with Shift
            Select(run, (run.model.m_tab.Current() + step) % n);
            return 1;
        }
        if ((msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) && InOurPage(run, msg->hwnd)) {
            wchar_t cls[16] = {};
            GetClassNameW(msg->hwnd, cls, 16);
            const bool button = lstrcmpiW(cls, L"Button") == 0;
            if (msg->wParam == VK_RETURN && button) {
                SendMessageW(msg->hwnd, BM_CLICK, 0, 0);
            } else {
                HWND page = msg->hwnd;
                while (page && std::find(run.pages.begin(), run.pages.end(), page) == run.pages.end())
                    page = GetParent(page);
                if (page) SendMessageW(page, WM_COMMAND, msg->wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
            }
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    auto* run = reinterpret_cast<SettingsRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (INT_PTR brush = GreyDialogColour(msg, wp, lp)) return brush;
    switch (msg) {
    case WM_INITDIALOG: {
        run = reinterpret_cast<SettingsRun*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(run));
        SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                     LPARAM(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))));
        run->dialog = dialog;
        run->tab = GetDlgItem(dialog, IDC_SETTINGS_TAB);
        // Tab and the arrow keys reach the pages' controls only through a control parent.
        SetWindowLongPtrW(run->tab, GWL_EXSTYLE, GetWindowLongPtrW(run->tab, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
        CSettingsDlg& model = run->model;
        model.OnInitDialog();
        run->views = MakePageViews(model);
        for (int i = 0; i < model.m_tab.Count(); ++i) {
            std::wstring title = Wide(model.m_tab.Title(i));
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = title.data();
            TabCtrl_InsertItem(run->tab, i, &item);
            run->pages.push_back(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(model.m_tab.Resource(i)),
                                                    run->tab, PageProc, LPARAM(run->views[size_t(i)].get())));
        }
        RECT client, first;
        GetClientRect(run->tab, &client);
        TabCtrl_GetItemRect(run->tab, 0, &first);
        const Rect r = CSettingsTab::PageRect({client.left, client.top, client.right, client.bottom},
                                              {first.left, first.top, first.right, first.bottom});
        for (HWND page : run->pages)
            SetWindowPos(page, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_NOACTIVATE);
        ShowPage(*run, model.m_tab.Current());
        t_run = run;
        run->hook = SetWindowsHookExW(WH_MSGFILTER, KeyFilter, nullptr, GetCurrentThreadId());
        return TRUE;
    }
    case WM_NOTIFY:
        if (run && reinterpret_cast<NMHDR*>(lp)->hwndFrom == run->tab &&
            reinterpret_cast<NMHDR*>(lp)->code == TCN_SELCHANGE)
            Select(*run, TabCtrl_GetCurSel(run->tab));
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        if (LOWORD(wp) == IDOK) {
            for (size_t i = 0; i < run->pages.size(); ++i) run->views[i]->Take(run->pages[i]);
            // The pages check their values in tab order; the first that fails is shown.
            PageUi ui(dialog);
            if (run->model.OnOK(ui))
                EndDialog(dialog, IDOK);
            else
                ShowPage(*run, run->model.m_tab.Current());
        } else if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    case WM_DESTROY:
        if (run) {
            if (run->hook) UnhookWindowsHookEx(run->hook);
            t_run = nullptr;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

std::vector<std::unique_ptr<PageView>> MakeGeneralAndPasswordViews(CSettingsDlg& model) {
    std::vector<std::unique_ptr<PageView>> views;
    views.push_back(std::make_unique<GeneralView>(model.m_general));
    views.push_back(std::make_unique<PasswordView>(model.m_password));
    return views;
}

std::unique_ptr<PageView> MakeDayView(CDayPage& model) { return std::make_unique<DayView>(model); }

int Win32Dialogs::RunSettings(CSettingsDlg& dlg) {
    UseCommonControls(ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES);
    SettingsRun run{dlg, {}, {}};
    const INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), m_owner.Handle(),
                                      SettingsProc, LPARAM(&run));
    return r == IDOK ? IDOK : IDCANCEL;
}

}  // namespace lumivar
