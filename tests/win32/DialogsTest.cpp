// The program's dialogs from its own resources, driven from a second thread as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "../../res/about_ids.h"
#include "../../res/tasks_ids.h"
#include "app/Strings.h"
#include "win32/AboutDlg.h"
#include "tasks/RemindDlg.h"
#include "tasks/TaskDialogs.h"
#include "win32/TaskDialogs.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

template <class Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 100; ++i, Sleep(50))
        if (done()) return true;
    return false;
}

// A visible dialog of this process (other programs on the desktop may show the same caption).
HWND FindDialog(const wchar_t* caption) {
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"#32770", caption));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

HWND WaitDialog(const wchar_t* caption) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindDialog(caption)) != nullptr; });
    return found;
}

void Click(HWND dlg, int id) { PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dlg, id))); }

std::string TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return Utf8(text);
}

int Rows(HWND list) { return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
std::string Row(HWND list, int row) {
    std::string cells;
    for (int c = 0; c < 4; ++c) {
        wchar_t buf[256] = {};
        LVITEMW item{};
        item.iSubItem = c, item.pszText = buf, item.cchTextMax = 256;
        SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
        cells += (c ? "|" : "") + Utf8(buf);
    }
    return cells;
}

// Runs `run` here while `script` acts from a second thread; whatever the script leaves open is cancelled.
template <class Run, class Script>
auto Drive(Run run, Script script) {
    std::thread driver([&] {
        script();
        for (const wchar_t* caption : {L"任务编辑器", L"提醒任务配置器", L"关于眸安星"})
            if (HWND h = FindDialog(caption)) PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
    });
    const auto result = run();
    driver.join();
    return result;
}

struct Dialogs : ::testing::Test {
    HMODULE exe = LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    void SetUp() override { ASSERT_NE(exe, nullptr); }
    ~Dialogs() override { FreeLibrary(exe); }
};

std::string TooltipText(HWND dlg, HWND link) {
    struct Tip { HWND link; std::string text; } tip{link, "<no tool>"};
    EnumThreadWindows(GetWindowThreadProcessId(dlg, nullptr), [](HWND h, LPARAM p) {
        auto& t = *reinterpret_cast<Tip*>(p);
        wchar_t buf[256] = {};
        if (!GetClassNameW(h, buf, 256) || _wcsicmp(buf, TOOLTIPS_CLASSW) != 0) return TRUE;
        buf[0] = 0;
        TTTOOLINFOW ti{TTTOOLINFOW_V2_SIZE, 0, t.link, 1};
        ti.lpszText = buf;
        SendMessageW(h, TTM_GETTEXTW, 256, LPARAM(&ti));
        if (buf[0]) t.text = Utf8(buf);
        return BOOL(!buf[0]);
    }, LPARAM(&tip));
    return tip.text;
}

TEST_F(Dialogs, AboutShowsBothVersionsThePictureAndLinksFittedToTheirTextThatTipTheirTarget) {
    const int result = Drive([&] { return RunAboutDialog(exe, "V1.25 2004贺岁版 Build12.18", "V1.30 Build05.01"); }, [&] {
        HWND dlg = WaitDialog(L"关于眸安星");
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_CUR_VERSION)), "V1.25 2004贺岁版 Build12.18");
        EXPECT_EQ(TextOf(GetDlgItem(dlg, IDC_NEW_VERSION)), "V1.30 Build05.01");
        EXPECT_NE(SendDlgItemMessageW(dlg, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        for (const auto& [id, target] : {std::pair{IDC_LINK_HOMEPAGE1, kStrHomepageB},
                                         {IDC_LINK_HOMEPAGE2, kStrHomepageA}, {IDC_LINK_EMAIL, kStrEmail}}) {
            SCOPED_TRACE(id);
            HWND link = GetDlgItem(dlg, id);
            const HFONT font = HFONT(SendMessageW(link, WM_GETFONT, 0, 0));
            LOGFONTW lf{};
            ASSERT_NE(GetObjectW(font, sizeof lf, &lf), 0);
            EXPECT_TRUE(lf.lfUnderline);
            EXPECT_NE(GetWindowLongPtrW(link, GWL_STYLE) & SS_NOTIFY, 0);
            EXPECT_EQ(TooltipText(dlg, link), target);

            HDC dc = GetDC(link);
            const HGDIOBJ old = SelectObject(dc, font);
            const std::wstring text = Wide(TextOf(link));
            SIZE ext{};
            GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &ext);
            SelectObject(dc, old);
            RECT rc{};
            GetClientRect(link, &rc);
            EXPECT_EQ(rc.right, ext.cx);  // fitted to its text
            EXPECT_EQ(rc.bottom, ext.cy);

            ReleaseDC(link, dc);
        }
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(Dialogs, TheTaskListShowsAddsDeletesRefusesABadCountdownAndHandsBackItsRows) {
    CTaskListDlg dlg;
    dlg.m_nItemCount = 2;
    dlg.m_items[0] = {"每天", "喝水", "", 10, 30};
    dlg.m_items[1] = {"2030年01月02日", "开会", "lock", 9, 5};
    dlg.m_nPromptSeconds = 15;
    dlg.m_bEnable = 1;
    int confirmations = 0;
    const NoticeRunner notice = [&](CRemindDlg&) { return ++confirmations, IDOK; };

    const int result = Drive([&] { return RunTaskListDialog(exe, nullptr, dlg, notice); }, [&] {
        HWND list = WaitDialog(L"提醒任务配置器");
        ASSERT_NE(list, nullptr);
        HWND rows = GetDlgItem(list, IDC_TASK_LIST);
        ASSERT_EQ(Rows(rows), 2);
        EXPECT_EQ(Row(rows, 0), "每天|10:30|喝水|");
        EXPECT_EQ(Row(rows, 1), "2030年01月02日|09:05|开会|lock");
        EXPECT_EQ(GetDlgItemInt(list, IDC_TASK_PROMPT_SECONDS, nullptr, FALSE), 15u);
        EXPECT_EQ(IsDlgButtonChecked(list, IDC_TASK_ENABLE), BST_CHECKED);

        Click(list, IDC_TASK_ADD);
        HWND editor = WaitDialog(L"任务编辑器");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(IsDlgButtonChecked(editor, IDC_EDIT_DAILY), BST_CHECKED);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_EDIT_DATE)));
        SetDlgItemTextW(editor, IDC_EDIT_NOTE, L"带伞");
        Click(editor, IDOK);
        ASSERT_TRUE(WaitFor([&] { return Rows(rows) == 3; }));
        EXPECT_EQ(Row(rows, 0).substr(0, 7) + Row(rows, 0).substr(13), "每天|带伞|");  // at the time it was added

        LVITEMW select{};
        select.stateMask = select.state = LVIS_SELECTED;
        SendMessageW(rows, LVM_SETITEMSTATE, 2, LPARAM(&select));
        Click(list, IDC_TASK_DELETE);
        ASSERT_TRUE(WaitFor([&] { return Rows(rows) == 2; }));

        // Switched off, the rows are out of reach, but OK still checks the countdown.
        SendDlgItemMessageW(list, IDC_TASK_ENABLE, BM_CLICK, 0, 0);
        for (int id : {IDC_TASK_LIST, IDC_TASK_ADD, IDC_TASK_MODIFY, IDC_TASK_DELETE})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, id))) << id;
        SetDlgItemTextW(list, IDC_TASK_PROMPT_SECONDS, L"3601");
        Click(list, IDOK);
        HWND box = WaitDialog(L"wine_tests");  // titled after the running program's file
        ASSERT_NE(box, nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        GUITHREADINFO gui{sizeof gui};
        EXPECT_TRUE(WaitFor([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(list, nullptr), &gui) &&
                   gui.hwndFocus == GetDlgItem(list, IDC_TASK_PROMPT_SECONDS);
        }));
        SetDlgItemTextW(list, IDC_TASK_PROMPT_SECONDS, L"3600");
        Click(list, IDOK);
    });

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(confirmations, 1);
    ASSERT_EQ(dlg.m_nItemCount, 2);
    EXPECT_EQ(dlg.m_items[0].note, "带伞");
    EXPECT_EQ(dlg.m_items[1], (TaskItem{"每天", "喝水", "", 10, 30}));
    EXPECT_EQ(dlg.m_nPromptSeconds, 3600);
    EXPECT_EQ(dlg.m_bEnable, 0);
}

}  // namespace
}  // namespace lumivar
