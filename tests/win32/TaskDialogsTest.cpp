// The task list, the task editor and the password prompt from the program's own resources,
// driven from a second thread the way a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "../../res/tasks_ids.h"
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

using Cells = std::vector<std::string>;
Cells Row(HWND list, int row) {
    Cells cells;
    for (int c = 0; c < 4; ++c) {
        wchar_t buf[256] = {};
        LVITEMW item{};
        item.iSubItem = c;
        item.pszText = buf;
        item.cchTextMax = 256;
        SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
        cells.push_back(Utf8(buf));
    }
    return cells;
}
int Rows(HWND list) { return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// Runs `run` here while `script` acts from a second thread; whatever the script leaves open is cancelled.
template <class Run, class Script>
auto Drive(Run run, Script script) {
    std::thread driver([&] {
        script();
        for (const wchar_t* caption : {L"任务编辑器", L"提醒任务配置器", L"本操作需要输入系统密码"})
            if (HWND h = FindDialog(caption)) PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
    });
    const auto result = run();
    driver.join();
    return result;
}

struct TaskDialogs : ::testing::Test {
    HMODULE exe = LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    void SetUp() override { ASSERT_NE(exe, nullptr); }
    ~TaskDialogs() override { FreeLibrary(exe); }
};

TEST_F(TaskDialogs, ListAddsOnTopDeletesOnConfirmRefusesABadCountdownAndHandsTheRowsBack) {
    CTaskListDlg dlg;
    dlg.m_nItemCount = 2;
    dlg.m_items[0] = {"每天", "喝水", "", 10, 30};
    dlg.m_items[1] = {"2030年01月02日", "开会", "lock", 9, 5};
    dlg.m_nPromptSeconds = 15;
    dlg.m_bEnable = 1;
    std::vector<CRemindDlg> asked;
    const NoticeRunner notice = [&](CRemindDlg& box) { return asked.push_back(box), IDOK; };

    const int result = Drive([&] { return RunTaskListDialog(exe, nullptr, dlg, notice); }, [&] {
        HWND list = WaitDialog(L"提醒任务配置器");
        ASSERT_NE(list, nullptr);
        HWND rows = GetDlgItem(list, IDC_TASK_LIST);
        ASSERT_EQ(Rows(rows), 2);
        EXPECT_EQ(Row(rows, 0), (Cells{"每天", "10:30", "喝水", ""}));
        EXPECT_EQ(Row(rows, 1), (Cells{"2030年01月02日", "09:05", "开会", "lock"}));
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
        EXPECT_EQ(Row(rows, 0)[0] + Row(rows, 0)[2], "每天带伞");

        LVITEMW select{};
        select.stateMask = select.state = LVIS_SELECTED;
        SendMessageW(rows, LVM_SETITEMSTATE, 2, LPARAM(&select));
        Click(list, IDC_TASK_DELETE);
        ASSERT_TRUE(WaitFor([&] { return Rows(rows) == 2; }));

        // Switched off: the rows and their buttons are out of reach, but OK still takes the countdown.
        SendDlgItemMessageW(list, IDC_TASK_ENABLE, BM_CLICK, 0, 0);
        for (int id : {IDC_TASK_LIST, IDC_TASK_ADD, IDC_TASK_MODIFY, IDC_TASK_DELETE})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, id)));
        SetDlgItemTextW(list, IDC_TASK_PROMPT_SECONDS, L"3601");
        Click(list, IDOK);
        // Titled after the program showing it, here this test binary, not a fixed name.
        HWND box = WaitDialog(L"wine_tests");
        ASSERT_NE(box, nullptr);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        EXPECT_TRUE(WaitFor([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(list, nullptr), &gui) &&
                   gui.hwndFocus == GetDlgItem(list, IDC_TASK_PROMPT_SECONDS);
        }));
        SetDlgItemTextW(list, IDC_TASK_PROMPT_SECONDS, L"3600");
        Click(list, IDOK);
    });

    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].m_strTitle + asked[0].m_strMessage, "操作确认确认要删除所选定的任务提醒吗?");
    EXPECT_EQ(asked[0].m_nCountdown, 0);
    EXPECT_FALSE(asked[0].m_bAnimated);
    ASSERT_EQ(dlg.m_nItemCount, 2);
    EXPECT_EQ(dlg.m_items[0].note, "带伞");
    EXPECT_EQ(dlg.m_items[1], (TaskItem{"每天", "喝水", "", 10, 30}));
    EXPECT_EQ(dlg.m_nPromptSeconds, 3600);
    EXPECT_EQ(dlg.m_bEnable, 0);
}

TEST_F(TaskDialogs, PasswordPromptGivesBackWhatWasTypedOnlyOnOK) {
    for (int button : {IDOK, IDCANCEL}) {
        std::string typed = "unchanged";
        const bool ok = Drive([&] { return RunPasswordDialog(exe, nullptr, typed); }, [&] {
            HWND prompt = WaitDialog(L"本操作需要输入系统密码");
            ASSERT_NE(prompt, nullptr);
            EXPECT_NE(GetWindowLongW(GetDlgItem(prompt, IDC_PASSWORD_INPUT), GWL_STYLE) & ES_PASSWORD, 0);
            SetDlgItemTextW(prompt, IDC_PASSWORD_INPUT, L" 密码 Ab ");
            Click(prompt, button);
        });
        EXPECT_EQ(ok, button == IDOK);
        EXPECT_EQ(typed, button == IDOK ? " 密码 Ab " : "unchanged");
    }
}

}  // namespace
}  // namespace lumivar
