// The task list and editor rules, the notice box, and the task list command.
#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "app/AppFixture.h"
#include "tasks/RemindDlg.h"
#include "tasks/TaskDialogs.h"

namespace lumivar {
namespace {

// The user, as the list's model meets them: answers to notices and what they do in the editor.
struct ScriptedUi : ITaskListUi, ITaskEditUi {
    std::vector<std::string> notices, messages;
    std::deque<int> answers;
    std::function<bool(CTaskEditDlg&)> edit = [](CTaskEditDlg&) { return false; };
    int rangeErrors = 0;
    int Confirm(const std::string& m) override {
        notices.push_back(m);
        const int a = answers.empty() ? IDCANCEL : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    bool Edit(CTaskEditDlg& e) override { return edit(e); }
    void RangeError(int, int) override { ++rangeErrors; }
    void ShowMessage(const std::string& t) override { messages.push_back(t); }
};

CTaskListDlg ListOf(const std::vector<std::string>& notes) {
    CTaskListDlg dlg;
    dlg.m_nItemCount = int(notes.size());
    for (size_t i = 0; i < notes.size(); ++i) dlg.m_items[i] = {"每天", notes[i], "", int(i) + 8, 5};
    dlg.OnInitDialog();
    return dlg;
}

TEST(TaskListDlg, AddAndModifyPutTheEntryAtTheTopAndOkTakesTheRows) {
    CTaskListDlg dlg = ListOf({"一", "二"});
    EXPECT_EQ(CTaskListDlg::TimeText(dlg.m_rows[1]), "09:05");
    ScriptedUi ui;
    ui.edit = [](CTaskEditDlg& e) {
        e.m_strNote = e.m_strNote.empty() ? "三" : e.m_strNote + "!";
        return true;
    };
    dlg.OnAdd(ui);
    dlg.m_selected = {false, false, true};
    dlg.OnModify(ui);
    ASSERT_TRUE(dlg.OnOK(ui));
    ASSERT_EQ(dlg.m_nItemCount, 3);
    EXPECT_EQ(dlg.m_items[0], (TaskItem{"每天", "二!", "", 9, 5}));
    EXPECT_EQ(dlg.m_items[1].note, "三");
    EXPECT_EQ(dlg.m_items[2].note, "一");
}

TEST(TaskListDlg, SelectionRulesTwentyEntriesAtMostAndTheCountdownRange) {
    CTaskListDlg dlg = ListOf({"a", "b", "c"});
    ScriptedUi ui;
    dlg.OnModify(ui);
    dlg.OnDelete(ui);
    dlg.m_selected = {true, false, true};
    dlg.OnModify(ui);
    ui.answers = {IDCANCEL, IDOK};
    dlg.OnDelete(ui);  // cancelled: nothing goes
    dlg.OnDelete(ui);  // one question for both rows
    EXPECT_EQ(ui.notices, (std::vector<std::string>{"请先选中目标任务再进行编辑!", "请先选中目标任务再进行删除!",
                                                    "请选择单一的任务进行编辑!", "确认要删除所选定的任务提醒吗?",
                                                    "确认要删除所选定的任务提醒吗?"}));
    ASSERT_EQ(dlg.m_rows.size(), 1u);
    EXPECT_EQ(dlg.m_rows[0].note, "b");

    CTaskListDlg full = ListOf(std::vector<std::string>(20, "x"));
    ScriptedUi adds;
    adds.edit = [](CTaskEditDlg&) { return true; };
    full.OnAdd(adds);
    EXPECT_EQ(full.m_rows.size(), 20u);
    EXPECT_EQ(adds.notices.at(0).rfind("很抱歉，本软件最多只能有20条提醒.", 0), 0u);
    full.m_nPromptSeconds = 3601;
    EXPECT_FALSE(full.OnOK(adds));
    EXPECT_EQ(adds.rangeErrors, 1);
}

std::time_t At(int y, int mo, int d, int h, int mi) {
    std::tm tm{};
    tm.tm_year = y - 1900, tm.tm_mon = mo - 1, tm.tm_mday = d, tm.tm_hour = h, tm.tm_min = mi, tm.tm_isdst = -1;
    return std::mktime(&tm);
}

TEST(TaskEditDlg, OpensOnNowRefusesAnEmptyEntryAndFormatsTheDate) {
    ScriptedUi ui;
    CTaskEditDlg e;
    e.OnInitDialog(At(2026, 12, 7, 14, 25));
    EXPECT_TRUE(e.m_bDaily);
    EXPECT_EQ(e.m_time.tm_hour * 60 + e.m_time.tm_min, 14 * 60 + 25);
    e.m_strNote = "  \r\n ";
    EXPECT_FALSE(e.OnOK(ui));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"请输入提示信息或选择要定时执行的任务！"});
    e.m_strNote = "  喝水  ";
    e.OnDailyClick();
    e.m_date.tm_year = 2027 - 1900, e.m_date.tm_mon = 0, e.m_date.tm_mday = 8;
    e.m_time.tm_hour = 7, e.m_time.tm_min = 5;
    ASSERT_TRUE(e.OnOK(ui));
    EXPECT_EQ(e.m_strDate, "2027年01月08日");
    EXPECT_EQ(e.m_strNote, "  喝水  ");
    EXPECT_EQ(e.m_nHour * 100 + e.m_nMinute, 705);
    e.OnPickCommand(32805);
    e.OnPickCommand(32811);  // the caption, not a command
    EXPECT_EQ(e.m_strTask, "shutdownex");
}

// A notice box view that only records.
struct RecordingRemindView : IRemindView {
    std::vector<std::string> okTexts;
    int timer = 0, ended = -1;
    void SetTitle(const std::string&) override {}
    void SetOkText(const std::string& t) override { okTexts.push_back(t); }
    void SetSmallIcon(int) override {}
    void SetTimer(int, uint32_t ms) override { timer = int(ms); }
    void KillTimer(int) override { timer = 0; }
    void CaretToStart() override {}
    void Animate(uint32_t, uint32_t) override {}
    void InvalidateErase() override {}
    void End(int r) override { ended = r; }
};

TEST(RemindDlg, CountsDownOnItsButtonAndConfirmsItselfAfterZero) {
    CRemindDlg dlg;
    dlg.m_nCountdown = 2;
    RecordingRemindView view;
    dlg.OnInitDialog(view);
    EXPECT_EQ(view.timer, 1000);
    dlg.OnTimer(view);
    EXPECT_EQ(view.ended, -1);
    dlg.OnTimer(view);
    EXPECT_EQ(view.okTexts, (std::vector<std::string>{"确定", "确定(2)", "确定(1)", "确定(0)"}));
    EXPECT_EQ(view.ended, IDOK);
}

}  // namespace

namespace test {
namespace {

TEST_F(AppTest, TaskListShowsDueOrderAndAppliesOnlyOnOk) {
    WriteIni("[NOTES AND TASKS]\nTOTALITEM=2\nDate0=每天\nTIME0=18:0\nNOTE0=晚\nDate1=每天\nTIME1=16:0\nNOTE1=早\n");
    StartWorking();
    std::vector<std::string> shown;
    shell.dialogs.taskList = [&](CTaskListDlg& d) {
        for (int i = 0; i < d.m_nItemCount; ++i) shown.push_back(d.m_items[i].note);
        d.m_nItemCount = 0;   // the user deletes both ...
        dlg->OnCommand(32792);  // ... and a second request is refused meanwhile
        return IDCANCEL;
    };
    dlg->OnCommand(32792);
    EXPECT_EQ(shown, (std::vector<std::string>{"早", "晚"}));
    EXPECT_EQ(shell.dialogs.taskLists, 1);
    EXPECT_EQ(dlg->m_nTaskCount, 2);
    EXPECT_EQ(shell.files.writes, 0);

    shell.dialogs.taskList = [](CTaskListDlg& d) {
        d.m_nItemCount = 1;
        d.m_items[0] = {"每天", "新", "", 15, 30};
        d.m_nPromptSeconds = 9;
        return IDOK;
    };
    dlg->OnTaskList();
    EXPECT_EQ(dlg->m_nTaskCount, 1);
    EXPECT_EQ(dlg->m_nRemindTimeout, 9);
    EXPECT_EQ(dlg->m_strCurNote, "新");
    EXPECT_EQ(shell.window.Period(TIMER_TASK), 1800000u);
    EXPECT_NE(IniText().find("NOTE0=新"), std::string::npos);
    EXPECT_EQ(IniText().find("NOTE1="), std::string::npos);
}

}  // namespace
}  // namespace test
}  // namespace lumivar
