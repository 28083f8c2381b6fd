// Choosing the next entry, arming timer 2 and running an entry when it is due.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

std::string Entries(const std::string& entries, int count) {
    return "[NOTES AND TASKS]\nTOTALITEM=" + std::to_string(count) + "\n" + entries;
}

// Timer 2 waits for the nearest entry, in steps when it is far, never early; passed dated
// entries alone arm nothing, the most overdue being the current one.
TEST_F(AppTest, WhichEntryArmsTimerTwo) {
    // period 0: not armed; current: the note, or the task when there is no note; firesAfter: ms, 0: never.
    const struct { std::string ini; uint32_t period; const char* current; uint64_t firesAfter; } rows[] = {
        {Entries("", 0), 0, "No message!", 0},
        {Entries("Date0=每天\nTIME0=16:0\nNOTE0=x\n", 1), 3600000, "x", 3600000},
        {Entries("Date0=每天\nTIME0=15:1\nNOTE0=x\nREMIND=0\n", 1), 0, "x", 0},  // the service is off
        {Entries("Date0=2025年01月30日\nTIME0=15:0\nNOTE0=远\n", 1), kMaxTimerMs, "远", 60ull * 86400000},
        {Entries("Date0=2024年11月30日\nTIME0=9:0\nTASK0=shutdown\nDate1=2024年12月01日\nTIME1=14:0\nNOTE1=x\n", 2),
         0, "shutdown", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.ini);
        App app(r.ini);
        EXPECT_EQ(app.shell.window.Period(TIMER_TASK), r.period);
        EXPECT_EQ(app.dlg->Tasks().Current().note.empty() ? app.dlg->Tasks().Current().task : app.dlg->Tasks().Current().note, r.current);
        app.shell.Advance((r.firesAfter ? r.firesAfter : 90ull * 86400000) - 1000);
        EXPECT_EQ(app.Prompts(), 0u);
        app.shell.Advance(2000);  // due times are whole seconds: at most a second late
        EXPECT_EQ(app.Prompts() + app.shell.system.exitWindows.size(), r.firesAfter ? 1u : 0u);
    }
}

// A note with a task asks first; with the sound on, the alert comes first and takes a second.
// A daily entry is armed again for tomorrow.
TEST_F(AppTest, ANoteWithATaskAsksBeforeRunningIt) {
    for (int sound : {0, 1}) {
        App app(Entries("Date0=每天\nTIME0=15:1\nNOTE0=备份 100%s\nTASK0=D:\\报告.doc\n", 1) +
                "[SOUND]\nPLAYSOUND=" + std::to_string(sound) + "\n");
        app.shell.dialogs.answers = {sound ? IDOK : IDCANCEL};
        app.Minutes(1);
        EXPECT_EQ(app.Seen(), "时间到了(15:01) (50): \r\n备份 100%s\r\n\r\n是否执行下列任务?\r\nD:\\报告.doc\n");
        EXPECT_EQ(app.shell.system.beeps, 5 * sound);
        EXPECT_EQ(app.shell.system.sounds, sound ? Sounds({{"remind.wav", 0x22001}}) : Sounds());
        EXPECT_EQ(app.shell.system.opened, sound ? Strings{"D:\\报告.doc"} : Strings{});
        EXPECT_EQ(app.dlg->Tasks().DueIn(0), 86400 - sound);
    }
}

TEST_F(AppTest, TaskWordsIgnoreCaseProgramsNeedAnExactExtensionAndUnlockNeedsNoPassword) {
    StartWorking();
    for (int m = 1; const char* task : {"SHUTDOWN", "ShutDownEx", "reboot", "LogOff", "ScreenSaver", "notepad.EXE a.txt",
                                        "setup.Exe", "shutdown now", "unlock", "Lock", "UNLOCK"}) {
        WriteIni("[Lumivar2003]\nLOCKPASS=1\n" + Entries("Date0=每天\nTIME0=15:" + std::to_string(m++) + "\nTASK0=" + task + "\n", 1));
        dlg->OnReloadSettings();  // the command is refused while locked
        Minutes(1);  // due in a minute
        EXPECT_EQ(dlg->Cycle().Locked(), std::string(task) == "Lock") << task;
    }
    EXPECT_EQ(shell.system.exitWindows, (std::vector<unsigned>{8, 12, 2, 2, 0, 0}));
    EXPECT_EQ(shell.window.screenSavers, 1);
    EXPECT_EQ(shell.system.commandLines, Strings{"notepad.EXE a.txt"});
    EXPECT_EQ(shell.system.opened, (Strings{"setup.Exe", "shutdown now"}));
    EXPECT_FALSE(shell.system.Restricted());
}

// Entries due while a prompt is open run right after those of its moment, in due order and however late,
// also behind a later prompt holding the clock again; none twice. Set back, the clock runs nothing.
TEST_F(AppTest, EntriesDueWhileAPromptIsOpenRunAfterIt) {
    App app(Entries("Date0=每天\nTIME0=15:2\nNOTE0=一\nDate1=每天\nTIME1=15:2\nNOTE1=又一\nDate2=每天\nTIME2=15:3\nTASK2=shutdown\n"
                    "Date3=2024年12月01日\nTIME3=15:3\nNOTE3=二\nDate4=每天\nTIME4=15:10\nTASK4=y.exe\n"
                    "Date5=每天\nTIME5=15:20\nNOTE5=三\nDate6=每天\nTIME6=15:40\nTASK6=x.exe\n", 7));
    std::map<std::string, uint64_t> holdMinutes{{"一", 3}, {"二", 20}};  // to 15:05, then to 15:25
    app.shell.dialogs.during = [&](CRemindDlg& d) { app.shell.clock.ms += holdMinutes[d.m_strMessage] * 60000; };
    app.Minutes(62);
    app.shell.clock.epoch -= 3600;  // from 16:02 back to 15:02
    app.dlg->OnTimeChange();
    EXPECT_EQ(app.Seen(), "时间到了(15:02) (50): 一\n时间到了(15:02) (50): 又一\n时间到了(15:03) (50): 二\n时间到了(15:20) (50): 三\n");
    EXPECT_EQ(app.shell.system.exitWindows, std::vector<unsigned>{8});
    EXPECT_EQ(app.shell.system.commandLines, (Strings{"y.exe", "x.exe"}));
    EXPECT_EQ(app.shell.window.Period(TIMER_TASK), 60000u);  // 15:03 again
}

// After a sleep (timer 2 fires late) or the clock set forward two days and three hours, each entry counts once, at
// its latest time: reminders are shown late, tasks over five minutes late listed, not run. Reminders off: nothing.
TEST_F(AppTest, EntriesMissedInASleepOrAClockJump) {
    const std::string ini = Entries("Date0=每天\nTIME0=15:2\nNOTE0=喝水\nDate1=每天\nTIME1=15:3\nTASK1=shutdown\n"
                                    "Date2=2024年12月02日\nTIME2=9:0\nNOTE2=存档\nTASK2=D:\\a.doc\n"
                                    "Date3=每天\nTIME3=17:55\nTASK3=y.exe\nDate4=每天\nTIME4=17:58\nTASK4=x.exe\n", 5);
    const std::string missed = "以下任务的时间已过，没有执行：\r\n09:00 D:\\a.doc\r\n15:03 shutdown";
    const struct { std::string how; Strings ran; std::vector<std::pair<std::string, std::string>> notices; } rows[] = {
        {"sleep", {"x.exe"}, {{missed + "\r\n17:55 y.exe", "Lumivar"}}},  // at 18:02: y.exe is 7 minutes late
        {"set", {"y.exe", "x.exe"}, {{missed, "Lumivar"}}},                // at 18:00: 5 minutes
        {"reload", {"y.exe", "x.exe"}, {{missed, "Lumivar"}}},             // before the late timer fires
        {"off", {}, {}}};
    for (const auto& r : rows) {
        App app(ini + (r.how == "off" ? "REMIND=0\n" : ""));
        app.shell.clock.epoch += 2 * 86400 + 3 * 3600;
        if (r.how == "sleep") app.Minutes(2);
        else if (r.how == "reload") app.dlg->OnCommand(ID_RELOAD_SETTINGS);
        else app.dlg->OnTimeChange();
        if (r.how == "off") app.WriteIni(ini), app.dlg->OnCommand(ID_RELOAD_SETTINGS);
        app.Minutes(10);
        EXPECT_EQ(app.Seen(), r.how == "off" ? "" : "时间到了(15:02) (50): 喝水\n") << r.how;
        EXPECT_EQ(app.shell.system.commandLines, r.ran) << r.how;
        EXPECT_TRUE(app.shell.system.exitWindows.empty()) << r.how;
        EXPECT_EQ(app.shell.dialogs.messages, r.notices) << r.how;
    }
}

}  // namespace
}  // namespace lumivar::test
