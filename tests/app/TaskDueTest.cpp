// Choosing the next entry, arming timer 2 and running an entry when it is due.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

// The fake clock starts on 2024-12-01 at 15:00:00 local time.
class TaskDueTest : public AppTest {
protected:
    void Entries(const std::string& entries, int count, const std::string& extra = "") {
        WriteIni("[NOTES AND TASKS]\nTOTALITEM=" + std::to_string(count) + "\n" + entries + extra);
    }
};

TEST_F(TaskDueTest, EmptyTableArmsNothing) {
    StartWorking();
    EXPECT_EQ(dlg->m_strCurNote, "No message!");
    EXPECT_FALSE(shell.window.Running(TIMER_TASK));
    EXPECT_EQ(dlg->SelectNextTask(), -1);
}

TEST_F(TaskDueTest, ReminderOnlyShowsThePromptAndRunsNothing) {
    Entries("Date0=每天\nTIME0=15:1\nNOTE0=喝水 100%s %d\n", 1);
    StartWorking();
    EXPECT_EQ(shell.window.Period(TIMER_TASK), 60000u);
    shell.dialogs.answers = {IDOK};
    shell.Advance(60000);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    const CRemindDlg& box = shell.dialogs.shown[0];
    EXPECT_EQ(box.m_strTitle, "时间到了(15:01)");
    EXPECT_EQ(box.m_strMessage, "喝水 100%s %d");
    EXPECT_EQ(box.m_nCountdown, 50);
    EXPECT_TRUE(box.m_bAnimated);
    EXPECT_EQ(shell.system.beeps, 5);
    EXPECT_EQ(shell.system.sounds.back(), std::make_pair(std::string("remind.wav"), 0x22001u));
    EXPECT_TRUE(shell.system.opened.empty());
    EXPECT_TRUE(shell.system.commandLines.empty());
    // The daily entry is armed again for tomorrow.
    EXPECT_EQ(dlg->m_nTaskDue[0], 86400 - 1);
}

TEST_F(TaskDueTest, TaskOnlyRunsAtOnceWithoutAsking) {
    Entries("Date0=每天\nTIME0=15:1\nTASK0=C:\\tools\\backup.exe /full\n", 1, "[SOUND]\nPLAYSOUND=0\n");
    StartWorking();
    shell.Advance(60000);
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_EQ(shell.system.beeps, 0);
    EXPECT_EQ(shell.system.commandLines, std::vector<std::string>{"C:\\tools\\backup.exe /full"});
}

TEST_F(TaskDueTest, BothRunOnConfirmationOrCountdownNotOnCancel) {
    Entries("Date0=每天\nTIME0=15:1\nNOTE0=备份\nTASK0=D:\\报告.doc\n", 1);
    StartWorking();
    shell.dialogs.answers = {IDCANCEL};
    shell.Advance(60000);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "\r\n备份\r\n\r\n是否执行下列任务?\r\nD:\\报告.doc");
    EXPECT_TRUE(shell.system.opened.empty());

    shell.dialogs.answers = {IDOK};  // confirmed, or the countdown ran out
    shell.Advance(86400000);
    EXPECT_EQ(shell.system.opened, std::vector<std::string>{"D:\\报告.doc"});
}

TEST_F(TaskDueTest, CommandWordsIgnoreCaseAndProgramsNeedAnExactExtension) {
    StartWorking();
    auto due = [&](const std::string& task) {
        dlg->SetItem(0, {"每天", "", task, 15, 1});
        dlg->m_nTaskCount = 1;
        dlg->SelectNextTask();
        dlg->OnTaskDue();
    };
    due("SHUTDOWN");
    due("ShutDownEx");
    due("reboot");
    due("LogOff");
    EXPECT_EQ(shell.system.exitWindows, (std::vector<unsigned>{8, 12, 2, 2, 0, 0}));
    due("ScreenSaver");
    EXPECT_EQ(shell.window.screenSavers, 1);
    due("notepad.EXE a.txt");
    due("setup.Exe");
    due("shutdown now");
    EXPECT_EQ(shell.system.commandLines, std::vector<std::string>{"notepad.EXE a.txt"});
    EXPECT_EQ(shell.system.opened, (std::vector<std::string>{"setup.Exe", "shutdown now"}));
}

TEST_F(TaskDueTest, ShutdownWithoutPrivilegeDoesNothingButRebootTriesOnce) {
    StartWorking();
    shell.system.hasShutdownPrivilege = false;
    EXPECT_FALSE(dlg->ShutdownComputer());
    EXPECT_TRUE(shell.system.exitWindows.empty());
    EXPECT_FALSE(dlg->RebootComputer());
    EXPECT_EQ(shell.system.exitWindows, std::vector<unsigned>{2});
}

TEST_F(TaskDueTest, LockAndUnlockWords) {
    StartWorking();
    dlg->SetItem(0, {"每天", "", "unlock", 15, 1});
    dlg->m_nTaskCount = 1;
    dlg->SelectNextTask();
    dlg->OnTaskDue();
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_TRUE(shell.system.opened.empty());

    dlg->SetItem(0, {"每天", "", "Lock", 15, 1});
    dlg->SelectNextTask();
    dlg->OnTaskDue();
    EXPECT_TRUE(dlg->m_bLocked);
    dlg->m_bLockPass = 1;  // a due unlock needs no password
    dlg->SetItem(0, {"每天", "", "UNLOCK", 15, 1});
    dlg->SelectNextTask();
    dlg->OnTaskDue();
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_FALSE(shell.system.Restricted());
}

TEST_F(TaskDueTest, EntriesDueAtTheSameMinuteAllFire) {
    Entries("Date0=每天\nTIME0=15:2\nNOTE0=一\nDate1=每天\nTIME1=15:2\nNOTE1=二\nDate2=每天\nTIME2=15:3\nNOTE2=三\n", 3);
    StartWorking();
    shell.dialogs.answers = {IDOK, IDOK, IDOK};
    shell.Advance(120000);
    ASSERT_EQ(shell.dialogs.shown.size(), 2u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "一");
    EXPECT_EQ(shell.dialogs.shown[1].m_strMessage, "二");
    shell.Advance(60000);
    ASSERT_EQ(shell.dialogs.shown.size(), 3u);
    EXPECT_EQ(shell.dialogs.shown[2].m_strMessage, "三");
}

TEST_F(TaskDueTest, PassedDatedEntriesAloneArmNothing) {
    Entries("Date0=2024年11月30日\nTIME0=9:0\nTASK0=shutdown\nDate1=2024年12月01日\nTIME1=14:0\nNOTE1=x\n", 2);
    StartWorking();
    EXPECT_FALSE(shell.window.Running(TIMER_TASK));
    // The most overdue entry is the current one, as the tip shows.
    EXPECT_EQ(dlg->m_strCurTask, "shutdown");
    shell.Advance(3 * 86400000ull);
    EXPECT_TRUE(shell.system.exitWindows.empty());
}

TEST_F(TaskDueTest, FarEntryIsReachedInStepsNeverEarly) {
    Entries("Date0=2025年01月30日\nTIME0=15:0\nNOTE0=远\n", 1);  // 60 days ahead
    StartWorking();
    EXPECT_EQ(shell.window.Period(TIMER_TASK), kMaxTimerMs);
    shell.dialogs.answers = {IDOK};
    shell.Advance(60ull * 86400000 - 1000);
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_TRUE(shell.window.Running(TIMER_TASK));
    shell.Advance(2000);  // due timers are computed from whole seconds: at most a second late
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "远");
}

TEST_F(TaskDueTest, ServiceOffChoosesButNeverFires) {
    Entries("Date0=每天\nTIME0=15:1\nNOTE0=x\nREMIND=0\n", 1);
    StartWorking();
    EXPECT_EQ(dlg->m_strCurNote, "x");
    EXPECT_FALSE(shell.window.Running(TIMER_TASK));
    EXPECT_NE(shell.tray.icons.at(0).tip.find("\n提醒服务未启动"), std::string::npos);
}

TEST_F(TaskDueTest, ClockChangeReschedules) {
    Entries("Date0=每天\nTIME0=16:0\nNOTE0=x\n", 1);
    StartWorking();
    EXPECT_EQ(shell.window.Period(TIMER_TASK), 3600000u);
    shell.clock.epoch += 1800;  // the user set the clock half an hour on
    dlg->OnTimeChange();
    EXPECT_EQ(shell.window.Period(TIMER_TASK), 1800000u);
}

}  // namespace
}  // namespace lumivar::test
