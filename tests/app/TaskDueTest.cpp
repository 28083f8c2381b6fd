// Choosing the next entry, arming timer 2 and running an entry when it is due.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

class TaskDueTest : public AppTest {
protected:
    void Entries(const std::string& entries, int count) {
        WriteIni("[NOTES AND TASKS]\nTOTALITEM=" + std::to_string(count) + "\n" + entries);
        StartWorking();
    }
    void Due(const std::string& task) {
        dlg->SetItem(0, {"每天", "", task, 15, 1});
        dlg->m_nTaskCount = 1;
        dlg->SelectNextTask();
        dlg->OnTaskDue();
    }
};

// Timer 2 waits for the nearest entry; 0: not armed.
TEST_F(TaskDueTest, WhichEntryArmsTimerTwo) {
    const struct {
        const char* entries;
        uint32_t period;
        const char* current;  // the note, or the task when there is no note
    } rows[] = {
        {"TOTALITEM=0\n", 0, "No message!"},
        {"TOTALITEM=1\nDate0=每天\nTIME0=16:0\nNOTE0=x\n", 3600000, "x"},
        {"TOTALITEM=1\nDate0=每天\nTIME0=15:1\nNOTE0=x\nREMIND=0\n", 0, "x"},  // the service is off
        {"TOTALITEM=1\nDate0=2025年01月30日\nTIME0=15:0\nNOTE0=远\n", kMaxTimerMs, "远"},  // 60 days ahead
        // Passed dated entries alone arm nothing; the most overdue one is the current one.
        {"TOTALITEM=2\nDate0=2024年11月30日\nTIME0=9:0\nTASK0=shutdown\nDate1=2024年12月01日\nTIME1=14:0\nNOTE1=x\n", 0,
         "shutdown"},
    };
    for (const auto& r : rows) {
        App app;
        app.WriteIni(std::string("[NOTES AND TASKS]\n") + r.entries);
        app.StartWorking();
        EXPECT_EQ(app.shell.window.Period(TIMER_TASK), r.period) << r.entries;
        EXPECT_EQ(app.dlg->m_strCurNote.empty() ? app.dlg->m_strCurTask : app.dlg->m_strCurNote, r.current);
        app.shell.Advance(3 * 86400000ull);
        EXPECT_TRUE(app.shell.system.exitWindows.empty()) << r.entries;
    }
}

// A note alone prompts, a task alone runs at once, both ask first; the alert sounds with the
// prompt whenever the sound is on.
TEST_F(TaskDueTest, WhatADueEntryDoes) {
    const struct {
        const char* entry;
        const char* sound;
        int answer;
        const char* message;  // of the prompt; none when empty
        int beeps;
        std::vector<std::string> commandLines, opened;
    } rows[] = {
        {"NOTE0=喝水 100%s %d\n", "1", IDOK, "喝水 100%s %d", 5, {}, {}},
        {"TASK0=C:\\tools\\backup.exe /full\n", "0", IDOK, "", 0, {"C:\\tools\\backup.exe /full"}, {}},
        {"NOTE0=备份\nTASK0=D:\\报告.doc\n", "0", IDCANCEL, "\r\n备份\r\n\r\n是否执行下列任务?\r\nD:\\报告.doc", 0, {}, {}},
        {"NOTE0=备份\nTASK0=D:\\报告.doc\n", "0", IDOK, "\r\n备份\r\n\r\n是否执行下列任务?\r\nD:\\报告.doc", 0, {},
         {"D:\\报告.doc"}},  // confirmed, or the countdown ran out
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.entry);
        App app;
        app.WriteIni(std::string("[NOTES AND TASKS]\nTOTALITEM=1\nDate0=每天\nTIME0=15:1\n") + r.entry +
                     "[SOUND]\nPLAYSOUND=" + r.sound + "\n");
        app.StartWorking();
        app.shell.dialogs.answers = {r.answer};
        app.Minutes(1);
        ASSERT_EQ(app.Prompts(), *r.message ? 1u : 0u);
        if (*r.message) {
            const CRemindDlg& box = app.shell.dialogs.shown[0];
            EXPECT_EQ(std::tie(box.m_strTitle, box.m_strMessage, box.m_nCountdown),
                      std::make_tuple("时间到了(15:01)", r.message, 50));
            EXPECT_TRUE(box.m_bAnimated);
        }
        EXPECT_EQ(app.shell.system.beeps, r.beeps);
        using Sounds = std::vector<std::pair<std::string, uint32_t>>;
        EXPECT_EQ(app.shell.system.sounds, r.beeps ? Sounds({{"remind.wav", 0x22001}}) : Sounds());
        EXPECT_EQ(app.shell.system.commandLines, r.commandLines);
        EXPECT_EQ(app.shell.system.opened, r.opened);
        EXPECT_EQ(app.dlg->m_nTaskDue[0], r.beeps ? 86399 : 86400) << "tomorrow; the alert takes a second";
    }
}

TEST_F(TaskDueTest, CommandWordsIgnoreCaseAndProgramsNeedAnExactExtension) {
    StartWorking();
    for (const char* task : {"SHUTDOWN", "ShutDownEx", "reboot", "LogOff", "ScreenSaver", "notepad.EXE a.txt",
                             "setup.Exe", "shutdown now"})
        Due(task);
    EXPECT_EQ(shell.system.exitWindows, (std::vector<unsigned>{8, 12, 2, 2, 0, 0}));
    EXPECT_EQ(shell.window.screenSavers, 1);
    EXPECT_EQ(shell.system.commandLines, std::vector<std::string>{"notepad.EXE a.txt"});
    EXPECT_EQ(shell.system.opened, (std::vector<std::string>{"setup.Exe", "shutdown now"}));
}

TEST_F(TaskDueTest, LockAndUnlockWordsNeedNoPassword) {
    StartWorking();
    dlg->m_bLockPass = 1;
    Due("unlock");
    EXPECT_FALSE(dlg->m_bLocked);
    Due("Lock");
    EXPECT_TRUE(dlg->m_bLocked);
    Due("UNLOCK");
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_FALSE(shell.system.Restricted());
    EXPECT_TRUE(shell.system.opened.empty());
}

TEST_F(TaskDueTest, EntriesDueAtTheSameMinuteAllFire) {
    Entries("Date0=每天\nTIME0=15:2\nNOTE0=一\nDate1=每天\nTIME1=15:2\nNOTE1=二\nDate2=每天\nTIME2=15:3\nNOTE2=三\n", 3);
    Minutes(2);
    ASSERT_EQ(Prompts(), 2u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "一");
    EXPECT_EQ(shell.dialogs.shown[1].m_strMessage, "二");
    Minutes(1);
    ASSERT_EQ(Prompts(), 3u);
    EXPECT_EQ(shell.dialogs.shown[2].m_strMessage, "三");
}

TEST_F(TaskDueTest, AFarEntryIsReachedInStepsNeverEarly) {
    Entries("Date0=2025年01月30日\nTIME0=15:0\nNOTE0=远\n", 1);  // 60 days ahead
    shell.Advance(60ull * 86400000 - 1000);
    EXPECT_EQ(Prompts(), 0u);
    shell.Advance(2000);  // due times are whole seconds: at most a second late
    EXPECT_EQ(Prompts(), 1u);
}

TEST_F(TaskDueTest, AClockChangeReschedules) {
    Entries("Date0=每天\nTIME0=16:0\nNOTE0=x\n", 1);
    shell.clock.epoch += 1800;
    dlg->OnTimeChange();
    EXPECT_EQ(shell.window.Period(TIMER_TASK), 1800000u);
}

}  // namespace
}  // namespace lumivar::test
