// The notice box and the open-file dialog; the other dialogs are in AboutDlg.cpp,
// TaskDialogs.cpp and SettingsDialog.cpp.
#include "win32/Win32Ports.h"

#include <commdlg.h>

#include <iterator>

#include "resource.h"
#include "tasks/RemindDlg.h"
#include "win32/DialogColours.h"
#include "win32/Wide.h"

namespace lumivar {

namespace {

// Lives for one run of the box; the window is known from WM_INITDIALOG on.
class RemindView : public IRemindView {
public:
    explicit RemindView(CRemindDlg& dlg) : m_dlg(dlg) {}
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
            view = reinterpret_cast<RemindView*>(lp);
            view->m_hwnd = hwnd;
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
            SetDlgItemTextW(hwnd, IDC_REMIND_TEXT, Wide(view->m_dlg.m_strMessage).c_str());
            // Focus the text ourselves: the dialog manager would select all of it.
            SetFocus(GetDlgItem(hwnd, IDC_REMIND_TEXT));
            view->m_dlg.OnInitDialog(*view);
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
                // After OnDestroy the model hears nothing more of this box.
                SetWindowLongPtrW(hwnd, DWLP_USER, 0);
            }
            return TRUE;
        }
        return FALSE;
    }

private:
    CRemindDlg& m_dlg;
    HWND m_hwnd = nullptr;
};

}  // namespace

int Win32Dialogs::RunRemind(CRemindDlg& dlg) {
    RemindView view(dlg);
    const INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_REMIND), nullptr,
                                      RemindView::Proc, LPARAM(&view));
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

}  // namespace lumivar
