// The task list from the program's own resources, driven from a second thread
// as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "../../res/tasks_ids.h"
#include "tasks/RemindDlg.h"
#include "tasks/TaskDialogs.h"
#include "win32/Handles.h"
#include "win32/TaskDialogs.h"
#include "win32/Wide.h"

namespace lumivar {
namespace {

template <class Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 100; ++i, Sleep(50)) if (done()) return true;
    return false;
}

// A visible dialog of this process (other programs on the desktop may show the same caption),
// looked for every 50 ms.
HWND WaitDialog(const wchar_t* caption, int tries = 100) {
    for (int i = 0; i < tries; ++i, Sleep(50))
        for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"#32770", caption));) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(h)) return h;
        }
    return nullptr;
}

void Click(HWND dlg, int id) { PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dlg, id))); }

int Rows(HWND list) { return ListView_GetItemCount(list); }
std::string Row(HWND list, int row) {
    std::string cells;
    for (int c = 0; c < 4; ++c) {
        wchar_t buf[256] = {};
        ListView_GetItemText(list, row, c, buf, 256);
        cells += (c ? "|" : "") + Utf8(buf);
    }
    return cells;
}

TEST(TaskDialogs, TheListShowsDeletesOnConfirmRefusesABadCountdownAndHandsBackItsRows) {
    const Library exe(LoadLibraryExW(Wide(LUMIVAR_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(exe);
    CTaskListDlg dlg;
    dlg.m_nItemCount = 2, dlg.m_nPromptSeconds = 15, dlg.m_bEnable = 1;
    dlg.m_items[0] = {"每天", "喝水", "", 10, 30};
    dlg.m_items[1] = {"2030年01月02日", "开会", "lock", 9, 5};
    int confirmations = 0;
    const NoticeRunner notice = [&](CRemindDlg&) { return ++confirmations, IDOK; };

    // The user's part, from a second thread; whatever it leaves open is cancelled.
    const auto script = [&] {
        HWND list = WaitDialog(L"提醒任务配置器");
        ASSERT_NE(list, nullptr);
        HWND rows = GetDlgItem(list, IDC_TASK_LIST);
        ASSERT_EQ(Rows(rows), 2);
        EXPECT_EQ(Row(rows, 0), "每天|10:30|喝水|");
        EXPECT_EQ(Row(rows, 1), "2030年01月02日|09:05|开会|lock");
        EXPECT_EQ(GetDlgItemInt(list, IDC_TASK_PROMPT_SECONDS, nullptr, FALSE), 15u);
        EXPECT_EQ(IsDlgButtonChecked(list, IDC_TASK_ENABLE), BST_CHECKED);

        ListView_SetItemState(rows, 1, LVIS_SELECTED, LVIS_SELECTED);
        Click(list, IDC_TASK_DELETE);
        ASSERT_TRUE(WaitFor([&] { return Rows(rows) == 1; }));  // once confirmed

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
    };
    std::thread driver([&] {
        script();
        for (const wchar_t* caption : {L"wine_tests", L"提醒任务配置器"})
            if (HWND h = WaitDialog(caption, 1)) PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(RunTaskListDialog(exe.Get(), nullptr, dlg, notice), IDOK);
    driver.join();
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(dlg.m_nItemCount, 1);
    EXPECT_EQ(dlg.m_items[0], (TaskItem{"每天", "喝水", "", 10, 30}));
    EXPECT_EQ(dlg.m_nPromptSeconds, 3600);
    EXPECT_EQ(dlg.m_bEnable, 0);
}

}  // namespace
}  // namespace lumivar
