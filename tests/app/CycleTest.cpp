// The work/rest cycle and the idle lock on virtual time.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

// To a person still at work, with a warning half a minute before.
TEST_F(AppTest, DefaultCycleRestsSixSecondsEveryFiveMinutes) {
    StartWorking();
    shell.Advance(270000);
    EXPECT_EQ(shell.tray.balloons.size(), 1u);
    shell.system.UserInput();
    shell.Advance(30000 - 1);
    EXPECT_FALSE(dlg->Cycle().Resting());
    shell.Advance(1);
    ASSERT_TRUE(dlg->Cycle().Resting());
    EXPECT_EQ(shell.window.show, Show::FullScreen);
    EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Main);
    shell.window.invalidated.clear();
    Seconds(1);
    EXPECT_EQ(shell.window.invalidated, (std::vector<Rect>{dlg->Screen().CountdownRect(), dlg->Screen().ClockRect()}));
    Seconds(5);
    EXPECT_FALSE(dlg->Cycle().Resting());
    EXPECT_EQ(shell.window.animations, (std::vector<std::pair<uint32_t, uint32_t>>{{1500, 0x80000}, {1500, 0x90000}}));
    EXPECT_EQ(shell.system.sounds, (Sounds{{"break.wav", 0x22001}, {"backwork.wav", 0x22001}}));
}

// A rest of 0 s still lasts a second, and neither a second start nor Esc changes it; W or F8
// end a rest only when the back key is allowed, and other keys are swallowed.
TEST_F(AppTest, WhatEndsARest) {
    App app("[SCREEN]\nBREAKTIME=0\nANIMATE=0\n");
    app.dlg->OnHotKey(IDH_REST_A);
    app.dlg->OnCommand(ID_REST_NOW);
    EXPECT_TRUE(app.dlg->OnCommand(2));
    EXPECT_EQ(app.shell.system.sounds.size(), 1u);
    app.shell.Advance(999);
    EXPECT_TRUE(app.dlg->Cycle().Resting());
    app.shell.Advance(1);
    EXPECT_FALSE(app.dlg->Cycle().Resting() || !app.shell.window.animations.empty());
    app.dlg->StartRest();
    EXPECT_TRUE(app.dlg->OnKeyDown(0x41) && app.dlg->Cycle().Resting()) << "A is swallowed";
    EXPECT_TRUE(app.dlg->OnKeyDown(0x77) && !app.dlg->Cycle().Resting()) << "F8 ends the rest";
    app.WriteIni("[SCREEN]\nBACKKEY=0\n");
    app.dlg->OnCommand(ID_RELOAD_SETTINGS);
    app.dlg->StartRest();
    EXPECT_FALSE(app.dlg->OnKeyDown(0x57) || !app.dlg->Cycle().Resting()) << "W without the back key";
}

// Timer 7 fires with the user idle for so long; a minute is the limit. A tick counter that
// wrapped meanwhile is no idleness.
TEST_F(AppTest, IdleTimeAgainstTheLimit) {
    const struct {
        uint32_t idle, tickBase;
        int win9x;
        bool locked;
        uint32_t period;  // of timer 7 afterwards
    } rows[] = {{60000, 5000, 0, true, 0}, {59999, 5000, 0, false, 6}, {0, 5000, 1, false, 0},
                {1000, 0xFFFFFFFFu - 500, 0, false, 60000 - 1000 + 5}};
    for (const auto& r : rows) {
        App app;
        app.shell.system.win9x = r.win9x;
        app.StartWorking("[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=1\n");
        // The idle time as timer 7 finds it a minute after start.
        const uint64_t left = app.shell.window.timers.at(TIMER_AUTOLOCK).due - app.shell.clock.ms;
        app.shell.clock.tickBase = r.tickBase - uint32_t(app.shell.clock.ms);
        app.shell.system.lastInput = r.tickBase + uint32_t(left) - r.idle;
        app.shell.Advance(left);
        EXPECT_EQ(app.dlg->Cycle().Locked(), r.locked) << r.idle;
        EXPECT_EQ(app.shell.system.Restricted(), r.locked) << r.idle;
        EXPECT_EQ(app.shell.window.Period(TIMER_AUTOLOCK), r.period) << r.idle;
        EXPECT_EQ(app.dlg->Config().m_bAutoLock, !r.win9x) << "the 9x family has no idle time to read";
    }
}

// Eye care off stops the cycle and the idle lock but nothing else, and a rest then leaves them off.
// Eye care on, or a return, arms the idle check again; a long rest without input turns into the lock.
TEST_F(AppTest, EyeCareAndTheIdleLock) {
    App app("[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=1\n[SCREEN]\nBREAKTIME=600\n[MAIL]\nCHECK=1\n");
    app.dlg->OnToggleEyeCare();
    for (int id : {TIMER_CYCLE, TIMER_AUTOLOCK}) EXPECT_FALSE(app.shell.window.Running(id)) << id;
    for (int id : {TIMER_MAIL, TIMER_UPDATE}) EXPECT_TRUE(app.shell.window.Running(id)) << id;
    app.dlg->StartRest();
    app.Seconds(600);
    EXPECT_FALSE(app.dlg->Cycle().Resting() || app.shell.window.Running(TIMER_CYCLE));
    app.dlg->OnToggleEyeCare();
    EXPECT_EQ(app.shell.window.Period(TIMER_AUTOLOCK), 1500u);
    app.dlg->StartRest();
    app.dlg->BackToWork();
    EXPECT_EQ(app.shell.window.Period(TIMER_AUTOLOCK), 1500u);
    app.dlg->StartRest();
    app.shell.system.UserInput();  // the last input; the rest goes on without any
    app.shell.Advance(60000);
    EXPECT_TRUE(app.dlg->Cycle().Resting()) << "a minute idle at most, not yet past it";
    app.shell.Advance(10);
    EXPECT_TRUE(app.dlg->Cycle().Locked() && !app.dlg->Cycle().Resting());
}

}  // namespace
}  // namespace lumivar::test
