// The work/rest cycle on virtual time.
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
    ASSERT_EQ(shell.window.animations.size(), 1u);
    EXPECT_EQ(shell.window.animations[0], std::make_pair(1500u, 0x80000u));
    EXPECT_EQ(shell.system.sounds.back(), std::make_pair(std::string("break.wav"), 0x22001u));
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 1000u);
    EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Main);

    std::vector<std::string> shown{CountdownText(dlg->m_nRestLeft)};
    for (int i = 0; i < 5; ++i) {
        Seconds(1);
        shown.push_back(CountdownText(dlg->m_nRestLeft));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"00:00:06", "00:00:05", "00:00:04", "00:00:03", "00:00:02",
                                               "00:00:01"}));
    EXPECT_TRUE(dlg->m_bResting);
    Seconds(1);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_EQ(shell.window.animations.back(), std::make_pair(1500u, 0x90000u));
    EXPECT_EQ(shell.system.sounds.back().first, "backwork.wav");
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);

    // The next rest comes a full working period after the return.
    shell.Advance(300000);
    EXPECT_TRUE(dlg->m_bResting);
}

TEST_F(AppTest, EachRestSecondRepaintsOnlyCountdownAndClock) {
    StartWorking();
    shell.Advance(300000);
    shell.window.invalidated.clear();
    Seconds(1);
    EXPECT_EQ(shell.window.invalidated, (std::vector<Rect>{dlg->m_rcCountdown, dlg->m_rcClock}));
}

TEST_F(AppTest, ZeroRestLastsOneSecond) {
    WriteIni("[SCREEN]\nBREAKTIME=0\nANIMATE=0\n");
    StartWorking();
    shell.Advance(300000);
    EXPECT_TRUE(dlg->m_bResting);
    EXPECT_EQ(CountdownText(dlg->m_nRestLeft), "00:00:00");
    shell.Advance(999);
    EXPECT_TRUE(dlg->m_bResting);
    shell.Advance(1);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_TRUE(shell.window.animations.empty());
}

TEST_F(AppTest, SecondStartDuringRestKeepsTheCountdown) {
    StartWorking();
    dlg->OnHotKey(1001);
    Seconds(2);
    const int left = dlg->m_nRestLeft;
    const size_t sounds = shell.system.sounds.size();
    dlg->OnHotKey(1002);
    dlg->OnCommand(32771);
    EXPECT_EQ(dlg->m_nRestLeft, left);
    EXPECT_EQ(shell.system.sounds.size(), sounds);
}

TEST_F(AppTest, EyeCareOffStopsCycleAndAutoLockOnly) {
    WriteIni("[Lumivar2003]\nAUTOLOCK=1\n[MAIL]\nCHECK=1\n");
    StartWorking();
    dlg->OnToggleEyeCare();
    EXPECT_FALSE(dlg->m_bEyeCare);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));
    EXPECT_FALSE(shell.window.Running(TIMER_AUTOLOCK));
    EXPECT_TRUE(shell.window.Running(TIMER_MAIL));
    EXPECT_TRUE(shell.window.Running(TIMER_UPDATE));
    EXPECT_EQ(shell.tray.icons.at(0).iconResource, 133);
    shell.Advance(3600000);
    EXPECT_FALSE(dlg->m_bResting);

    // A rest asked for while off runs normally and leaves the program off.
    dlg->StartRest();
    Seconds(6);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));

    shell.Advance(1000);
    dlg->OnCommand(32782);
    EXPECT_TRUE(dlg->m_bEyeCare);
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);
    EXPECT_EQ(shell.tray.icons.at(0).iconResource, 135);
}

TEST_F(AppTest, TurningEyeCareOnRestartsTheFullPeriod) {
    StartWorking();
    shell.Advance(200000);
    dlg->OnToggleEyeCare();
    dlg->OnToggleEyeCare();
    shell.Advance(299999);
    EXPECT_FALSE(dlg->m_bResting);
    shell.Advance(1);
    EXPECT_TRUE(dlg->m_bResting);
}

TEST_F(AppTest, WKeyEndsRestOnlyWhenAllowed) {
    StartWorking();
    dlg->StartRest();
    EXPECT_TRUE(dlg->OnKeyDown(0x41));
    EXPECT_TRUE(dlg->m_bResting);
    EXPECT_TRUE(dlg->OnKeyDown(0x57));
    EXPECT_FALSE(dlg->m_bResting);
    dlg->StartRest();
    dlg->OnKeyDown(0x77);
    EXPECT_FALSE(dlg->m_bResting);

    dlg->m_bBackKey = 0;
    dlg->StartRest();
    EXPECT_FALSE(dlg->OnKeyDown(0x57));  // swallowed: no default handling either
    EXPECT_TRUE(dlg->m_bResting);
}

TEST_F(AppTest, EscapeChangesNothing) {
    StartWorking();
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
        shell.system.UserInput();
    }
    // Lets timer 7 fire with the user idle for exactly `idle` ms.
    void FireWithIdle(uint32_t idle) {
        shell.window.SetTimer(TIMER_AUTOLOCK, 1000);
        shell.system.lastInput = shell.system.TickCount() + 1000 - idle;
        shell.Advance(1000);
    }
};

TEST_F(AutoLockTest, IdleExactlyAtTheLimitLocks) {
    FireWithIdle(60000);
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_TRUE(shell.system.Restricted());
    EXPECT_FALSE(shell.window.Running(TIMER_AUTOLOCK));
}

TEST_F(AutoLockTest, OneMillisecondShortRearmsForSix) {
    FireWithIdle(59999);
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_EQ(shell.window.Period(TIMER_AUTOLOCK), 6u);
    shell.Advance(10);  // the platform's shortest timer
    EXPECT_TRUE(dlg->m_bLocked);
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

TEST_F(AutoLockTest, LongRestWithoutInputTurnsIntoTheLock) {
    dlg->m_nBreakTime = 600;
    dlg->StartRest();
    shell.window.SetTimer(TIMER_AUTOLOCK, 60000);
    shell.Advance(60000);
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_EQ(dlg->m_nRestLeft, 0);
    EXPECT_EQ(shell.window.show, Show::FullScreen);
}

TEST_F(AutoLockTest, WindowsNineXSwitchesItOff) {
    dlg->m_bWin9x = 1;
    FireWithIdle(0);
    EXPECT_FALSE(dlg->m_bAutoLock);
    EXPECT_FALSE(shell.window.Running(TIMER_AUTOLOCK));
}

TEST_F(AutoLockTest, ReturnToWorkRearmsTheIdleCheck) {
    dlg->StartRest();
    dlg->BackToWork();
    EXPECT_EQ(shell.window.Period(TIMER_AUTOLOCK), 1500u);
}

TEST_F(AppTest, UpdateCheckRunsOnceAfterTenMinutesWithoutAPrompt) {
    StartWorking();
    shell.Advance(600000);
    EXPECT_FALSE(shell.window.Running(TIMER_UPDATE));
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_EQ(dlg->m_strLatestVersion, "尚未检查是否有更新版本");
}

}  // namespace
}  // namespace lumivar::test
