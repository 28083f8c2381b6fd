// The work/rest cycle and the idle lock on virtual time.
#include "app/AppFixture.h"
#include "rest/RestTexts.h"

namespace lumivar::test {
namespace {

using Show = fake::FakeWindow::Show;

TEST_F(AppTest, DefaultCycleRestsSixSecondsEveryFiveMinutes) {
    StartWorking();
    shell.Advance(300000 - 1);
    EXPECT_FALSE(dlg->m_bResting);
    shell.Advance(1);
    ASSERT_TRUE(dlg->m_bResting);
    EXPECT_EQ(shell.window.show, Show::FullScreen);
    EXPECT_EQ(shell.window.animations, (std::vector<std::pair<uint32_t, uint32_t>>{{1500, 0x80000}}));
    EXPECT_EQ(shell.system.sounds.back(), std::make_pair(std::string("break.wav"), 0x22001u));
    EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Main);
    EXPECT_EQ(CountdownText(dlg->m_nRestLeft), "00:00:06");
    shell.window.invalidated.clear();
    Seconds(5);
    EXPECT_EQ(CountdownText(dlg->m_nRestLeft), "00:00:01");
    EXPECT_EQ(shell.window.invalidated.size(), 10u) << "each second repaints the countdown and the clock only";
    EXPECT_EQ(shell.window.invalidated[0], dlg->m_rcCountdown);
    EXPECT_EQ(shell.window.invalidated[1], dlg->m_rcClock);
    Seconds(1);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_EQ(shell.window.animations.back(), std::make_pair(1500u, 0x90000u));
    EXPECT_EQ(shell.system.sounds.back().first, "backwork.wav");
    shell.Advance(300000 - 1);
    EXPECT_FALSE(dlg->m_bResting) << "the next rest comes a full period after the return";
    shell.Advance(1);
    EXPECT_TRUE(dlg->m_bResting);
}

TEST_F(AppTest, ZeroRestLastsOneSecondAndASecondStartKeepsTheCountdown) {
    WriteIni("[SCREEN]\nBREAKTIME=0\nANIMATE=0\n");
    StartWorking();
    dlg->OnHotKey(1001);
    EXPECT_EQ(CountdownText(dlg->m_nRestLeft), "00:00:00");
    const size_t sounds = shell.system.sounds.size();
    dlg->OnHotKey(1002);
    dlg->OnCommand(32771);
    EXPECT_EQ(shell.system.sounds.size(), sounds);
    shell.Advance(999);
    EXPECT_TRUE(dlg->m_bResting);
    shell.Advance(1);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_TRUE(shell.window.animations.empty());
}

TEST_F(AppTest, EyeCareOffStopsTheCycleAndTheIdleLockOnly) {
    WriteIni("[Lumivar2003]\nAUTOLOCK=1\n[MAIL]\nCHECK=1\n");
    StartWorking();
    dlg->OnToggleEyeCare();
    for (int id : {TIMER_CYCLE, TIMER_AUTOLOCK}) EXPECT_FALSE(shell.window.Running(id)) << id;
    for (int id : {TIMER_MAIL, TIMER_UPDATE}) EXPECT_TRUE(shell.window.Running(id)) << id;
    EXPECT_EQ(shell.tray.icons.at(0).iconResource, 133);
    dlg->StartRest();  // asked for while off: it runs and leaves the program off
    Seconds(6);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));
}

// Which keys and commands end a rest: w or F8 when allowed, never Esc.
TEST_F(AppTest, KeysThatEndARest) {
    const struct {
        int backKey;
        unsigned key;
        bool handled, ends;
    } rows[] = {{1, 0x41, true, false}, {1, 0x57, true, true}, {1, 0x77, true, true}, {0, 0x57, false, false}};
    StartWorking();
    for (const auto& r : rows) {
        dlg->m_bBackKey = r.backKey;
        dlg->StartRest();
        EXPECT_EQ(dlg->OnKeyDown(r.key), r.handled) << r.key;  // false: swallowed, no default handling
        EXPECT_EQ(dlg->m_bResting, !r.ends) << r.key;
        dlg->BackToWork();
    }
    dlg->StartRest();
    EXPECT_TRUE(dlg->OnCommand(2));
    EXPECT_TRUE(dlg->m_bResting);
}

class AutoLockTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteIni("[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=1\n");
        StartWorking();
    }
};

// Timer 7 fires with the user idle for so long; a minute is the limit.
TEST_F(AppTest, IdleTimeAgainstTheLimit) {
    const struct {
        uint32_t idle;
        int win9x;
        bool locked;
        uint32_t period;  // of timer 7 afterwards; 0: stopped
    } rows[] = {{60000, 0, true, 0}, {59999, 0, false, 6}, {0, 1, false, 0}};
    for (const auto& r : rows) {
        App app;
        app.WriteIni("[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=1\n");
        app.StartWorking();
        app.dlg->m_bWin9x = r.win9x;
        app.shell.window.SetTimer(TIMER_AUTOLOCK, 1000);
        app.shell.system.lastInput = app.shell.system.TickCount() + 1000 - r.idle;
        app.shell.Advance(1000);
        EXPECT_EQ(app.dlg->m_bLocked, r.locked) << r.idle;
        EXPECT_EQ(app.shell.system.Restricted(), r.locked) << r.idle;
        EXPECT_EQ(app.shell.window.Period(TIMER_AUTOLOCK), r.period) << r.idle;
        EXPECT_EQ(app.dlg->m_bAutoLock, !r.win9x) << "the 9x family has no idle time to read";
    }
}

TEST_F(AutoLockTest, TickCounterWrapIsNotTakenForLongIdleness) {
    shell.clock.tickBase = 0xFFFFFFFFu - 500 - uint32_t(shell.clock.ms);  // wraps within the next second
    shell.Advance(200);
    shell.system.UserInput();
    shell.window.SetTimer(TIMER_AUTOLOCK, 1000);
    shell.Advance(1000);
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_EQ(shell.window.Period(TIMER_AUTOLOCK), 60000u - 1000u + 5u);
}

TEST_F(AutoLockTest, ALongRestWithoutInputTurnsIntoTheLockAndAReturnRearmsTheCheck) {
    dlg->StartRest();
    dlg->BackToWork();
    EXPECT_EQ(shell.window.Period(TIMER_AUTOLOCK), 1500u);
    dlg->m_nBreakTime = 600;
    dlg->StartRest();
    shell.system.UserInput();
    shell.window.SetTimer(TIMER_AUTOLOCK, 60000);
    shell.Advance(60000);
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_EQ(dlg->m_nRestLeft, 0);
    EXPECT_EQ(shell.window.show, Show::FullScreen);
}

}  // namespace
}  // namespace lumivar::test
