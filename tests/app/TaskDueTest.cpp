// Choosing the next entry, arming timer 2 and running an entry when it is due.
#include "app/AppFixture.h"
#include "resource.h"

namespace lumivar::test {
namespace {

std::string Entries(const std::string& entries, int count) {
    return "[NOTES AND TASKS]\nTOTALITEM=" + std::to_string(count) + "\n" + entries;
}

// Timer 2 waits for the nearest entry, in steps when it is far, never early; passed dated
// entries alone arm nothing, the most overdue being the current one.
TEST_F(AppTest, WhichEntryArmsTimerTwo) {
    const struct {
        std::string ini;
        uint32_t period;       // 0: not armed
        const char* current;   // the note, or the task when there is no note
        uint64_t firesAfter;   // ms from the start; 0: never
    } rows[] = {
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
    for (const char* task : {"SHUTDOWN", "ShutDownEx", "reboot", "LogOff", "ScreenSaver", "notepad.EXE a.txt",
                             "setup.Exe", "shutdown now", "unlock", "Lock", "UNLOCK"}) {
        WriteIni("[Lumivar2003]\nLOCKPASS=1\n" + Entries(std::string("Date0=每天\nTIME0=15:1\nTASK0=") + task + "\n", 1));
        dlg->OnReloadSettings();  // the command is refused while locked
        dlg->OnTaskDue();
        EXPECT_EQ(dlg->Cycle().Locked(), std::string(task) == "Lock") << task;
    }
    EXPECT_EQ(shell.system.exitWindows, (std::vector<unsigned>{8, 12, 2, 2, 0, 0}));
    EXPECT_EQ(shell.window.screenSavers, 1);
    EXPECT_EQ(shell.system.commandLines, Strings{"notepad.EXE a.txt"});
    EXPECT_EQ(shell.system.opened, (Strings{"setup.Exe", "shutdown now"}));
    EXPECT_FALSE(shell.system.Restricted());
}

TEST_F(AppTest, EntriesDueAtTheSameMinuteAllFire) {
    App app(Entries("Date0=每天\nTIME0=15:2\nNOTE0=一\nDate1=每天\nTIME1=15:2\nNOTE1=二\nDate2=每天\nTIME2=15:3\nNOTE2=三\n", 3));
    app.Minutes(2);
    EXPECT_EQ(app.Seen(), "时间到了(15:02) (50): 一\n时间到了(15:02) (50): 二\n");
    app.Minutes(1);
    EXPECT_EQ(app.Prompts(), 3u);
}

TEST_F(AppTest, AClockChangeReschedules) {
    App app(Entries("Date0=每天\nTIME0=16:0\nNOTE0=x\n", 1));
    app.shell.clock.epoch += 1800;
    app.dlg->OnTimeChange();
    EXPECT_EQ(app.shell.window.Period(TIMER_TASK), 1800000u);
}

}  // namespace
}  // namespace lumivar::test
