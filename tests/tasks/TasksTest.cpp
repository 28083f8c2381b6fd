// When entries fall due and in which order; the task list and editor rules, the notice box,
// and the task list command.
#include <chrono>
#include <climits>

#include "app/AppFixture.h"
#include "tasks_ids.h"
#include "tasks/TaskDialogs.h"
#include "tasks/TaskSchedule.h"

namespace lumivar {
namespace {

using namespace std::chrono;

// Expected instants come from calendar arithmetic, not from the C library conversion under
// test. The suite runs with TZ=Asia/Shanghai (UTC+8, no DST).
std::time_t Utc(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
    return (sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s}).time_since_epoch().count();
}
std::time_t Shanghai(int y, unsigned mo, unsigned d, int h = 0, int mi = 0, int s = 0) {
    return Utc(y, mo, d, h, mi, s) - 8 * 3600;
}

struct Entry { std::string date; int hour, minute; };

TaskList List(const std::vector<Entry>& entries) {
    TaskList list;
    for (const Entry& e : entries) list.push_back({e.date, "note", "", e.hour, e.minute});
    return list;
}
TaskSchedule Schedule(const std::vector<Entry>& entries, std::time_t now) { return ComputeTaskSchedule(List(entries), now); }

TEST(TaskScheduleParseDate, LocalDateAtTheGivenTimeWithOverflowingDaysRolledOn) {
    const struct { const char* text; int y; unsigned mo, d; } valid[] = {
        {" \t2003年12月08日\r\n ", 2003, 12, 8}, {"2004年1月5日", 2004, 1, 5}, {"2003年2月30日", 2003, 3, 2},
        {"2004年2月30日", 2004, 3, 1}, {"2003年4月31日", 2003, 5, 1}, {"2038年12月31日", 2038, 12, 31}};
    for (const auto& c : valid) {
        std::time_t at = 0;
        EXPECT_EQ(ParseTaskDate(c.text, 8, 30, at) ? at : -1, Shanghai(c.y, c.mo, c.d, 8, 30)) << c.text;
    }
    for (const char* text : {"每天", "2003年13月1日", "2003年1月0日", "2003年1月32日", "2003年1月1", "2003-01-01",
                             "99999999999年1月1日"}) {
        std::time_t out = 0;
        EXPECT_FALSE(ParseTaskDate(text, 8, 0, out)) << '"' << text << '"';
    }
}

TEST(TaskScheduleDue, SecondsFromNowForDailyAndDatedEntries) {
    const std::time_t morning = Shanghai(2003, 12, 8, 7, 59, 30);
    const struct { Entry entry; std::time_t now; int due; } cases[] = {
        {{kDaily, 8, 0}, morning, 30},
        // At or past the minute: tomorrow's.
        {{kDaily, 8, 0}, Shanghai(2003, 12, 8, 8, 0, 0), 86400}, {{kDaily, 8, 0}, Shanghai(2003, 12, 8, 8, 0, 1), 86399},
        {{kDaily, 0, 0}, Shanghai(2003, 12, 31, 23, 59, 0), 60},  // over the year's end
        {{"2003年12月08日", 7, 0}, Shanghai(2003, 12, 8, 7, 0, 0), 0},
        {{"2003年12月07日", 7, 0}, Shanghai(2003, 12, 8, 7, 0, 0), -86400},
        {{"2038年12月31日", 23, 59}, 0, INT_MAX},  // saturates instead of wrapping negative
        {{"2039年1月1日", 8, 0}, morning, 30},     // a date that does not parse is daily
    };
    for (const auto& c : cases) EXPECT_EQ(Schedule({c.entry}, c.now).due[0], c.due) << c.entry.date << " " << c.due;
}

TEST(TaskScheduleOrder, PassedDatedEntriesSortFirstButAreNotChosenWhileOneIsAhead) {
    const std::time_t noon = Shanghai(2003, 12, 8, 12, 0, 0);
    // Due 3600, 86400, -86400, 82800 (tomorrow), -3600 and 0 (this very second, so passed).
    const std::vector<Entry> entries = {{kDaily, 13, 0}, {"2003年12月09日", 12, 0}, {"2003年12月07日", 12, 0},
                                        {kDaily, 11, 0}, {"2003年12月08日", 11, 0}, {"2003年12月08日", 12, 0}};
    const TaskSchedule t = Schedule(entries, noon);
    EXPECT_EQ(t.order, (std::vector<int>{2, 4, 5, 0, 3, 1}));
    EXPECT_EQ(ChooseNextTask(t), 0);
    EXPECT_EQ(ChooseNextTask(Schedule({}, noon)), -1);
    // Due 120, 120, 60: the exchange sort's swap with slot 2 carries slot 0 behind slot 1.
    const std::time_t early = Shanghai(2003, 12, 8, 7, 58, 0);
    EXPECT_EQ(Schedule({{kDaily, 8, 0}, {kDaily, 8, 0}, {kDaily, 7, 59}}, early).order, (std::vector<int>{2, 1, 0}));
    // Entries beyond the table's size are not scheduled.
    const TaskSchedule cut = Schedule(std::vector<Entry>(MAX_TASKS + 5, {kDaily, 1, 0}), noon);
    EXPECT_EQ(cut.order.size(), std::size_t(MAX_TASKS));
    EXPECT_EQ(ChooseNextTask(cut), 0);
    // What came due in (from, to]: each entry once, at its latest time there, in the schedule's order.
    const struct { int from, to; const char* due; } spans[] = {
        {-2 * 86400, 86400, "2@-86400 4@-3600 5@0 0@3600 3@82800 1@86400 "}, {0, 3600, "0@3600 "}, {3600, 0, ""}};
    for (const auto& span : spans) {
        std::string due;
        for (const DueEntry& d : DueBetween(List(entries), noon + span.from, noon + span.to))
            due += std::to_string(d.index) + "@" + std::to_string(d.at - noon) + " ";
        EXPECT_EQ(due, span.due) << span.from << ".." << span.to;
    }
}

TEST(TaskScheduleDst, DailyTimeTomorrowKeepsTheWallClockAcrossTheSpringChange) {
    const std::string saved = std::getenv("TZ") ? std::getenv("TZ") : "";
    setenv("TZ", "America/New_York", 1);  // 2024-03-10: 02:00 EST jumps to 03:00 EDT
    tzset();
    // 09:00 EST the day before: 08:00 EDT next morning is 22 hours away, not 23.
    const int due = Schedule({{kDaily, 8, 0}}, Utc(2024, 3, 9, 14, 0)).due[0];
    saved.empty() ? unsetenv("TZ") : setenv("TZ", saved.c_str(), 1);
    tzset();
    EXPECT_EQ(due, 22 * 3600);
}

// The user, as the list's model meets them: answers to notices and what they do in the editor.
struct ScriptedUi : ITaskListUi, ITaskEditUi {
    std::vector<std::string> notices, messages;
    std::deque<int> answers;
    std::function<bool(CTaskEditDlg&)> edit = [](CTaskEditDlg&) { return false; };
    int Confirm(const std::string& m) override {
        notices.push_back(m);
        return fake::Next(answers, IDCANCEL);
    }
    bool Edit(CTaskEditDlg& e) override { return edit(e); }
    void RangeError(int, int) override {}
    void ShowMessage(const std::string& t) override { messages.push_back(t); }
};

TEST(TaskListDlg, EditingNeedsOneSelectedRowPutsTheEntryAtTheTopAndDeletingAsksOnceForAll) {
    CTaskListDlg dlg;
    dlg.m_nItemCount = 3;
    dlg.m_items[0] = {"每天", "一", "", 8, 5}, dlg.m_items[1] = {"每天", "二", "", 9, 5}, dlg.m_items[2] = {"每天", "c", "", 10, 5};
    dlg.OnInitDialog();
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
    ui.edit = [](CTaskEditDlg& e) {
        e.m_strNote = e.m_strNote.empty() ? "三" : e.m_strNote + "!";
        return true;
    };
    dlg.OnAdd(ui);
    dlg.m_selected = {false, true};
    dlg.OnModify(ui);
    ASSERT_TRUE(dlg.OnOK(ui));
    ASSERT_EQ(dlg.m_nItemCount, 2);
    EXPECT_EQ(dlg.m_items[0], (TaskItem{"每天", "二!", "", 9, 5}));
    EXPECT_EQ(dlg.m_items[1].note, "三");
}

TEST(TaskEditDlg, OpensOnNowRefusesAnEmptyEntryAndFormatsTheDate) {
    ScriptedUi ui;
    CTaskEditDlg e;
    e.OnInitDialog(Shanghai(2026, 12, 7, 14, 25));
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
    EXPECT_EQ(e.m_nHour * 100 + e.m_nMinute, 705);
    e.OnPickCommand(ID_TASK_SHUTDOWNEX);
    e.OnPickCommand(32811);  // the caption, not a command
    EXPECT_EQ(e.m_strTask, "shutdownex");
}

}  // namespace

namespace test {
namespace {

TEST_F(AppTest, TaskListShowsDueOrderAndAppliesOnlyOnOk) {
    StartWorking("[NOTES AND TASKS]\nTOTALITEM=2\nDate0=每天\nTIME0=18:0\nNOTE0=晚\nDate1=每天\nTIME1=16:0\nNOTE1=早\n");
    std::vector<std::string> shown;
    shell.dialogs.taskList = [&](CTaskListDlg& d) {
        for (int i = 0; i < d.m_nItemCount; ++i) shown.push_back(d.m_items[i].note);
        d.m_nItemCount = 0;   // the user deletes both ...
        dlg->OnCommand(ID_TASK_LIST);  // ... and a second request is refused meanwhile
        return IDCANCEL;
    };
    dlg->OnCommand(ID_TASK_LIST);
    EXPECT_EQ(shown, (std::vector<std::string>{"早", "晚"}));
    EXPECT_EQ(shell.dialogs.taskLists, 1);
    EXPECT_EQ(dlg->Tasks().Entries().size(), 2);
    EXPECT_EQ(shell.files.writes, 0);

    Minutes(40);  // a new entry for a time already past is not one that was missed
    shell.dialogs.taskList = [](CTaskListDlg& d) {
        d.m_nItemCount = 1, d.m_items[0] = {"每天", "新", "", 15, 30}, d.m_nPromptSeconds = 9;
        return IDOK;
    };
    dlg->OnTaskList();
    EXPECT_EQ(dlg->Tasks().Entries().size(), 1);
    EXPECT_EQ(dlg->Config().m_nRemindTimeout, 9);
    EXPECT_EQ(dlg->Tasks().Current().note, "新");
    EXPECT_TRUE(TipHas("\n当前任务时间15:30")) << Tip();
    EXPECT_NE(IniText().find("NOTE0=新"), std::string::npos);
    EXPECT_EQ(shell.window.Period(TIMER_TASK), (86400 - 600) * 1000u);  // tomorrow's, not at once
}

}  // namespace
}  // namespace test
}  // namespace lumivar
