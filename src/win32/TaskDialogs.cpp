#include "win32/TaskDialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <cwchar>

#include "base/Strings.h"
#include "resource.h"
#include "tasks/RemindDlg.h"
#include "tasks/TaskDialogs.h"
#include "tasks_ids.h"
#include "win32/DialogColours.h"
#include "win32/OnFirstUse.h"
#include "win32/ShellHelpers.h"
#include "win32/Wide.h"
#include "win32/Win32Ports.h"

namespace lumivar {

namespace {

std::wstring ItemText(HWND dialog, int id) { return WindowTextWide(GetDlgItem(dialog, id)); }

void SetItemText(HWND dialog, int id, const std::string& text) { SetDlgItemTextW(dialog, id, Wide(text).c_str()); }

// The notice box is an edit control, which breaks lines only at CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

// Anything but a whole integer reads as -1, which no range of the dialogs accepts.
int ReadInt(const std::wstring& text) {
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    const long long value = std::wcstoll(begin, &end, 10);
    while (*end == L' ' || *end == L'\t') ++end;
    if (end == begin || *end || errno == ERANGE || value < INT_MIN || value > INT_MAX) return -1;
    return int(value);
}

SYSTEMTIME ToSystemTime(const std::tm& t) {
    SYSTEMTIME st{};
    st.wYear = WORD(t.tm_year + 1900);
    st.wMonth = WORD(t.tm_mon + 1);
    st.wDayOfWeek = WORD(t.tm_wday);
    st.wDay = WORD(t.tm_mday);
    st.wHour = WORD(t.tm_hour);
    st.wMinute = WORD(t.tm_min);
    st.wSecond = WORD(t.tm_sec);
    return st;
}

std::tm FromSystemTime(const SYSTEMTIME& st) {
    std::tm t{};
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay;
    t.tm_wday = st.wDayOfWeek;
    t.tm_hour = st.wHour;
    t.tm_min = st.wMinute;
    t.tm_sec = st.wSecond;
    t.tm_isdst = -1;
    return t;
}

void ReadPicker(HWND picker, std::tm& into) {
    SYSTEMTIME st{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, LPARAM(&st)) == GDT_VALID) into = FromSystemTime(st);
}

void SetPicker(HWND picker, const std::tm& t) {
    SYSTEMTIME st = ToSystemTime(t);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st));
}

void InitControls() {
    UseCommonControls(ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_DATE_CLASSES);
}

// ---- task editor ---------------------------------------------------------------------------

class EditView : public ITaskEditUi {
public:
    EditView(HINSTANCE module, CTaskEditDlg& dlg) : m_module(module), m_dlg(dlg) {}

    void ShowMessage(const std::string& text) override {
        MessageBoxW(m_hwnd, Wide(text).c_str(), AppTitle().c_str(), MB_OK);
    }

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<EditView*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
            self = reinterpret_cast<EditView*>(lp);
            self->m_hwnd = hwnd;
            self->OnInitDialog();
            return TRUE;
        }
        if (INT_PTR brush = GreyDialogColour(msg, wp, lp)) return brush;
        if (msg != WM_COMMAND || !self) return FALSE;
        const int id = LOWORD(wp);
        switch (id) {
        case IDOK: self->OnOK(); return TRUE;
        case IDCANCEL: EndDialog(hwnd, IDCANCEL); return TRUE;
        case IDC_EDIT_DAILY: self->OnDailyClick(); return TRUE;
        case IDC_EDIT_TASK_MENU: self->OnTaskMenu(); return TRUE;
        case ID_TASK_BROWSE: self->OnBrowseFile(); return TRUE;
        }
        if (HIWORD(wp) == 0 && CommandWordOf(id)) {
            self->Take();
            self->m_dlg.OnPickCommand(id);
            self->Show();
            return TRUE;
        }
        return FALSE;
    }

private:
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }

    void OnInitDialog() {
        m_dlg.OnInitDialog(std::time(nullptr));
        SYSTEMTIME range[2] = {};
        range[0].wYear = WORD(CTaskEditDlg::kFirstYear);
        range[0].wMonth = 12;
        range[0].wDay = 21;
        range[1].wYear = WORD(CTaskEditDlg::kLastYear);
        range[1].wMonth = 12;
        range[1].wDay = 31;
        range[1].wHour = 23;
        range[1].wMinute = 59;
        range[1].wSecond = 59;
        SendMessageW(Item(IDC_EDIT_DATE), DTM_SETRANGE, GDTR_MIN | GDTR_MAX, LPARAM(range));
        SetPicker(Item(IDC_EDIT_DATE), m_dlg.m_date);
        Show();
        SetPicker(Item(IDC_EDIT_TIME), m_dlg.m_time);
        SendMessageW(Item(IDC_EDIT_TIME), DTM_SETFORMATW, 0, LPARAM(L"HH:mm"));
    }

    // Controls into the model.
    void Take() {
        m_dlg.m_strNote = Utf8(ItemText(m_hwnd, IDC_EDIT_NOTE));
        m_dlg.m_strTask = Utf8(ItemText(m_hwnd, IDC_EDIT_TASK));
        m_dlg.m_bDaily = IsDlgButtonChecked(m_hwnd, IDC_EDIT_DAILY) == BST_CHECKED;
        ReadPicker(Item(IDC_EDIT_DATE), m_dlg.m_date);
        ReadPicker(Item(IDC_EDIT_TIME), m_dlg.m_time);
    }

    // The model into the edits and the check box; the pickers keep what the user set.
    void Show() {
        SetItemText(m_hwnd, IDC_EDIT_NOTE, m_dlg.m_strNote);
        SetItemText(m_hwnd, IDC_EDIT_TASK, m_dlg.m_strTask);
        CheckDlgButton(m_hwnd, IDC_EDIT_DAILY, m_dlg.m_bDaily ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(Item(IDC_EDIT_DATE), m_dlg.DateEnabled());
    }

    void OnDailyClick() {
        m_dlg.OnDailyClick();
        CheckDlgButton(m_hwnd, IDC_EDIT_DAILY, m_dlg.m_bDaily ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(Item(IDC_EDIT_DATE), m_dlg.DateEnabled());
    }

    void OnTaskMenu() {
        Take();
        PopupMenuAtCursor(m_module, IDR_TASK_EDIT_MENU, m_hwnd, nullptr);
    }

    void OnBrowseFile() {
        Take();
        static const wchar_t filter[] = L"可执行文件(*.exe)\0*.exe\0用shell打开(*.*)\0*.*\0";
        wchar_t file[MAX_PATH] = {};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = m_hwnd;
        ofn.lpstrFilter = filter;
        ofn.nFilterIndex = 2;
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrTitle = L"请选择要运行的程序或者要打开的文档";
        ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameW(&ofn)) return;
        m_dlg.m_strTask = Utf8(file);
        Show();
    }

    void OnOK() {
        Take();
        if (m_dlg.OnOK(*this)) EndDialog(m_hwnd, IDOK);
    }

    HINSTANCE m_module;
    CTaskEditDlg& m_dlg;
    HWND m_hwnd = nullptr;
};

// ---- task list -----------------------------------------------------------------------------

class ListView : public ITaskListUi {
public:
    ListView(HINSTANCE module, CTaskListDlg& dlg, const NoticeRunner& notice)
        : m_module(module), m_dlg(dlg), m_notice(notice) {}

    int Confirm(const std::string& message) override {
        m_confirm.m_strTitle = "操作确认";
        m_confirm.m_nCountdown = 0;
        m_confirm.m_bAnimated = 0;
        m_confirm.m_strMessage = WithCrLf(message);
        // The box has no owner: keep the list out of reach while it is up.
        EnableWindow(m_hwnd, FALSE);
        const int result = m_notice ? m_notice(m_confirm) : IDCANCEL;
        EnableWindow(m_hwnd, TRUE);
        SetActiveWindow(m_hwnd);
        return result;
    }

    bool Edit(CTaskEditDlg& editor) override { return RunTaskEditDialog(m_module, m_hwnd, editor) == IDOK; }

    void RangeError(int low, int high) override {
        MessageBoxW(m_hwnd, Wide(RangeMessage(low, high)).c_str(), AppTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
        SendMessageW(m_hwnd, WM_NEXTDLGCTL, WPARAM(Item(IDC_TASK_PROMPT_SECONDS)), TRUE);
    }

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<ListView*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (INT_PTR brush = GreyDialogColour(msg, wp, lp)) return brush;
        switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
            self = reinterpret_cast<ListView*>(lp);
            self->m_hwnd = hwnd;
            self->OnInitDialog();
            return TRUE;
        case WM_NOTIFY: {
            const auto* nm = reinterpret_cast<const NMHDR*>(lp);
            if (!self || nm->idFrom != IDC_TASK_LIST) return FALSE;
            if (nm->code == NM_RCLICK) self->OnListRightClick();
            if (nm->code == NM_DBLCLK && reinterpret_cast<const NMITEMACTIVATE*>(lp)->iItem >= 0)
                self->Call(&CTaskListDlg::OnModify);
            return FALSE;
        }
        case WM_COMMAND:
            if (!self) return FALSE;
            switch (LOWORD(wp)) {
            case IDOK: self->OnOK(); return TRUE;
            case IDCANCEL: EndDialog(hwnd, IDCANCEL); return TRUE;
            case IDC_TASK_ENABLE:
                self->m_dlg.OnEnableClick();
                self->ShowEnabled();
                return TRUE;
            case IDC_TASK_ADD:
            case ID_LIST_ADD: self->Call(&CTaskListDlg::OnAdd); return TRUE;
            case IDC_TASK_MODIFY:
            case ID_LIST_MODIFY: self->Call(&CTaskListDlg::OnModify); return TRUE;
            case IDC_TASK_DELETE:
            case ID_LIST_DELETE: self->Call(&CTaskListDlg::OnDelete); return TRUE;
            }
            return FALSE;
        }
        return FALSE;
    }

private:
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }

    void OnInitDialog() {
        m_dlg.OnInitDialog();
        SetDlgItemInt(m_hwnd, IDC_TASK_PROMPT_SECONDS, UINT(m_dlg.m_nPromptSeconds), TRUE);
        CheckDlgButton(m_hwnd, IDC_TASK_ENABLE, m_dlg.m_bEnable ? BST_CHECKED : BST_UNCHECKED);
        SendMessageW(Item(IDC_TASK_PROMPT_SPIN), UDM_SETRANGE32, 1, 240);
        ShowEnabled();

        // Widths are shares of the list, so the columns fill it at any DPI without a scroll bar.
        struct Column {
            const wchar_t* heading;
            int share;
            int format;
        };
        static const Column columns[] = {
            {L"日期", 110, LVCFMT_CENTER}, {L"时间", 50, LVCFMT_CENTER},
            {L"提醒内容", 220, LVCFMT_LEFT}, {L"程序/命令", 210, LVCFMT_LEFT}};
        HWND list = Item(IDC_TASK_LIST);
        RECT client{};
        GetClientRect(list, &client);
        const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
        int left = width;
        for (int i = 0; i < 4; ++i) {
            LVCOLUMNW col{};
            col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            col.fmt = columns[i].format;
            col.cx = i < 3 ? MulDiv(width, columns[i].share, 590) : left;
            left -= col.cx;
            col.pszText = const_cast<wchar_t*>(columns[i].heading);
            col.iSubItem = i;
            SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&col));
        }
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
        ShowRows();
    }

    void ShowEnabled() {
        for (int id : {IDC_TASK_DELETE, IDC_TASK_ADD, IDC_TASK_MODIFY, IDC_TASK_LIST})
            EnableWindow(Item(id), m_dlg.m_bEnable);
    }

    // The list's selection into the model; its rows always mirror m_rows.
    void ReadSelection() {
        HWND list = Item(IDC_TASK_LIST);
        m_dlg.m_selected.assign(m_dlg.m_rows.size(), false);
        for (size_t i = 0; i < m_dlg.m_rows.size(); ++i)
            m_dlg.m_selected[i] = SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED;
    }

    void ShowRows() {
        HWND list = Item(IDC_TASK_LIST);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        for (size_t i = 0; i < m_dlg.m_rows.size(); ++i) {
            const TaskItem& row = m_dlg.m_rows[i];
            std::wstring cells[4] = {Wide(row.date), Wide(CTaskListDlg::TimeText(row)), Wide(row.note), Wide(row.task)};
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_STATE;
            item.iItem = int(i);
            item.pszText = cells[0].data();
            item.stateMask = LVIS_SELECTED;
            item.state = i < m_dlg.m_selected.size() && m_dlg.m_selected[i] ? LVIS_SELECTED : 0;
            const auto at = SendMessageW(list, LVM_INSERTITEMW, 0, LPARAM(&item));
            for (int c = 1; c < 4; ++c) {
                LVITEMW sub{};
                sub.iSubItem = c;
                sub.pszText = cells[c].data();
                SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(at), LPARAM(&sub));
            }
        }
    }

    void Call(void (CTaskListDlg::*handler)(ITaskListUi&)) {
        ReadSelection();
        (m_dlg.*handler)(*this);
        ShowRows();
    }

    void OnListRightClick() {
        ReadSelection();
        PopupMenuAtCursor(m_module, IDR_TASK_LIST_MENU, m_hwnd, [this](HMENU popup) {
            EnableMenuItem(popup, ID_LIST_MODIFY, MF_BYCOMMAND | (m_dlg.CanModify() ? MF_ENABLED : MF_GRAYED));
            EnableMenuItem(popup, ID_LIST_DELETE, MF_BYCOMMAND | (m_dlg.CanDelete() ? MF_ENABLED : MF_GRAYED));
        });
    }

    void OnOK() {
        m_dlg.m_nPromptSeconds = ReadInt(ItemText(m_hwnd, IDC_TASK_PROMPT_SECONDS));
        m_dlg.m_bEnable = IsDlgButtonChecked(m_hwnd, IDC_TASK_ENABLE) == BST_CHECKED;
        ReadSelection();
        if (m_dlg.OnOK(*this)) EndDialog(m_hwnd, IDOK);
    }

    HINSTANCE m_module;
    CTaskListDlg& m_dlg;
    const NoticeRunner& m_notice;
    CRemindDlg m_confirm;
    HWND m_hwnd = nullptr;
};

// ---- password prompt -----------------------------------------------------------------------

struct PasswordRun {
    HINSTANCE module;
    std::string typed;
};

INT_PTR CALLBACK PasswordProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* run = reinterpret_cast<PasswordRun*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (INT_PTR brush = GreyDialogColour(msg, wp, lp)) return brush;
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        run = reinterpret_cast<PasswordRun*>(lp);
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, LPARAM(LoadIconW(run->module, MAKEINTRESOURCEW(IDI_APP))));
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        if (LOWORD(wp) == IDOK) {
            run->typed = Utf8(ItemText(hwnd, IDC_PASSWORD_INPUT));
            EndDialog(hwnd, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

int RunTaskListDialog(HINSTANCE module, HWND owner, CTaskListDlg& dlg, const NoticeRunner& notice) {
    InitControls();
    ListView view(module, dlg, notice);
    const INT_PTR r =
        DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_TASK_LIST), owner, ListView::Proc, LPARAM(&view));
    return r == IDOK ? IDOK : IDCANCEL;
}

int RunTaskEditDialog(HINSTANCE module, HWND owner, CTaskEditDlg& dlg) {
    InitControls();
    EditView view(module, dlg);
    const INT_PTR r =
        DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_TASK_EDIT), owner, EditView::Proc, LPARAM(&view));
    return r == IDOK ? IDOK : IDCANCEL;
}

bool RunPasswordDialog(HINSTANCE module, HWND owner, std::string& typed) {
    PasswordRun run{module, {}};
    const INT_PTR r = DialogBoxParamW(module, MAKEINTRESOURCEW(IDD_PASSWORD), owner, PasswordProc, LPARAM(&run));
    if (r != IDOK) return false;
    typed = run.typed;
    return true;
}

// The list has no parent, as the main window is often hidden or showing the rest screen.
int Win32Dialogs::RunTaskList(CTaskListDlg& dlg) {
    return RunTaskListDialog(GetModuleHandleW(nullptr), nullptr, dlg,
                             [this](CRemindDlg& box) { return RunRemind(box); });
}

bool Win32Dialogs::AskPassword(std::string& typed) {
    return RunPasswordDialog(GetModuleHandleW(nullptr), m_owner.Handle(), typed);
}

void Win32Dialogs::ShowMessage(const std::string& text, const std::string& title) {
    MessageBoxW(m_owner.Handle(), Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

}  // namespace lumivar
