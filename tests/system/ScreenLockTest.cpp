// The screen lock: what leaves it, what it covers, and what it does to the system's policy.
#include <ostream>
#include <tuple>

#include "app/AppFixture.h"

namespace lumivar {
void PrintTo(const RegistryValue& v, std::ostream* os) {
    *os << (v.keyExists ? "key" : "no key") << (v.exists ? ", type " + std::to_string(v.type) + ", " +
                                                              std::to_string(v.data.size()) + " bytes"
                                                        : ", no value");
}
}  // namespace lumivar

namespace lumivar::test {
namespace {

using Show = fake::FakeWindow::Show;

RegistryValue Dword(uint32_t v) { return {true, true, kRegDword, std::string(reinterpret_cast<char*>(&v), 4)}; }

class LockTest : public AppTest {
protected:
    // Locked with the password "abc" (stored shifted by three).
    void StartLocked() {
        WriteIni("[Lumivar2003]\nLOCKPASS=1\nSYSTEMPWD=def\nAUTOLOCK=1\n");
        StartWorking();
        dlg->LockScreen();
        ASSERT_TRUE(dlg->m_bLocked);
    }
    void ExpectStillLocked(const std::string& path) {
        EXPECT_TRUE(dlg->m_bLocked) << path;
        EXPECT_EQ(shell.window.show, Show::FullScreen) << path;
        EXPECT_TRUE(shell.window.passwordBoxShown) << path;
        EXPECT_TRUE(shell.system.Restricted()) << path;
        EXPECT_TRUE(shell.window.othersHidden) << path;
        // The upkeep still runs: the clock goes on and the box gets the focus back.
        ASSERT_TRUE(shell.window.Running(TIMER_CYCLE)) << path;
        EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 1000u) << path;
        shell.window.focus = IMainWindow::Focus::Other;
        Seconds(1);
        EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Password) << path;
    }
};

// Every way out of a lock but the password, each on a fresh program.
struct Bypass {
    const char* name;
    void (*act)(CMainDlg&);
};
const Bypass kBypasses[] = {
    {"w key", [](CMainDlg& d) { d.OnKeyDown(0x57); }},
    {"F8 key", [](CMainDlg& d) { d.OnKeyDown(0x77); }},
    {"command 32772", [](CMainDlg& d) { d.OnCommand(32772); }},
    {"return to work", [](CMainDlg& d) { d.BackToWork(); }},
    {"eye care off", [](CMainDlg& d) { d.OnToggleEyeCare(); }},
    {"eye care off and on", [](CMainDlg& d) { d.OnToggleEyeCare(), d.OnToggleEyeCare(); }},
    {"tray clicks", [](CMainDlg& d) { d.OnTrayNotify(0, 0x202), d.OnTrayNotify(0, 0x202), d.OnTrayNotify(0, 0x203); }},
    {"rest hotkeys and menu", [](CMainDlg& d) { d.OnHotKey(1001), d.OnHotKey(1002), d.OnCommand(32771); }},
    {"Esc", [](CMainDlg& d) { d.OnCommand(2); }},
    {"Enter with a wrong password", [](CMainDlg&) {}},
    {"exit", [](CMainDlg& d) { d.OnCommand(32775); }},
    {"about, task list, settings, picture, read-me", [](CMainDlg& d) {
         for (int id : {32774, 32792, 32796, 32800, 32780, 57670}) d.OnCommand(id);
     }},
    {"a second lock", [](CMainDlg& d) { d.OnHotKey(1005), d.LockScreen(); }},
};

class LockBypassTest : public LockTest, public ::testing::WithParamInterface<Bypass> {};

TEST_P(LockBypassTest, LeavesTheLockStanding) {
    StartLocked();
    shell.window.passwordText = "wrong";
    GetParam().act(*dlg);
    dlg->OnOK();
    ExpectStillLocked(GetParam().name);
    EXPECT_EQ(shell.window.endResult, -1);
    EXPECT_TRUE(shell.dialogs.abouts.empty());
    EXPECT_EQ(shell.dialogs.taskLists, 0);
    EXPECT_TRUE(shell.dialogs.fileRequests.empty());
    EXPECT_TRUE(shell.system.opened.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryPath, LockBypassTest, ::testing::ValuesIn(kBypasses));

TEST_F(LockTest, EyeCareSwitchedDuringTheLockTakesEffectWhenItIsLeft) {
    StartLocked();
    dlg->OnToggleEyeCare();
    shell.window.passwordText = "abc";
    dlg->OnOK();
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));

    dlg->LockScreen();
    dlg->OnToggleEyeCare();
    shell.window.passwordText = "abc";
    dlg->OnOK();
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);
}

TEST_F(LockTest, WrongPasswordKeepsTheLockAndClearsTheEntry) {
    WriteIni("[Lumivar2003]\nLOCKPASS=1\nSYSTEMPWD=def\n");
    StartWorking();
    EXPECT_EQ(dlg->m_strSystemPwd, "abc");
    dlg->OnHotKey(1006);
    ASSERT_TRUE(dlg->m_bLocked);
    EXPECT_EQ(shell.window.passwordRect, (Rect{462, 738, 562, 758}));
    EXPECT_TRUE(shell.window.passwordBoxShown);
    shell.window.passwordText = "ABC";
    dlg->OnOK();
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_EQ(shell.window.passwordText, "");
    EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Password);

    shell.window.passwordText = "abc";
    dlg->OnCommand(1);
    EXPECT_FALSE(dlg->m_bLocked);
    EXPECT_FALSE(shell.window.passwordBoxShown);
    EXPECT_FALSE(shell.system.Restricted());
    EXPECT_FALSE(shell.window.othersHidden);
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);
}

TEST_F(LockTest, WithoutLockPasswordAnyEntryUnlocks) {
    StartWorking();
    dlg->LockScreen();
    shell.window.passwordText = "whatever";
    dlg->OnOK();
    EXPECT_FALSE(dlg->m_bLocked);
}

TEST_F(LockTest, LockingDuringRestEndsTheRest) {
    StartWorking();
    dlg->StartRest();
    Seconds(2);
    dlg->OnHotKey(1005);
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_EQ(dlg->m_nRestLeft, 0);
    // While locked the cycle stands still and a rest cannot start.
    dlg->OnHotKey(1001);
    shell.Advance(600000);
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 1000u);
}

TEST_F(LockTest, UpkeepStaysOnTopRefocusesTheBoxAndRepaintsOnlyTheClock) {
    StartWorking();
    dlg->LockScreen();
    EXPECT_TRUE(shell.window.othersHidden);
    shell.window.focus = IMainWindow::Focus::Other;
    shell.window.invalidated.clear();
    const int topmost = shell.window.keptTopmost, front = shell.window.broughtToFront;
    Seconds(3);
    EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Password);
    EXPECT_EQ(shell.window.invalidated, (std::vector<Rect>(3, dlg->m_rcClock)));
    EXPECT_EQ(shell.window.keptTopmost, topmost + 3);
    EXPECT_EQ(shell.window.broughtToFront, front + 1);  // only when the focus had gone elsewhere
}

TEST_F(LockTest, NoticeDueWhileLockedCountsDownButUnlocksNothing) {
    WriteIni("[Lumivar2003]\nLOCKPASS=1\nSYSTEMPWD=def\n[NOTES AND TASKS]\nTOTALITEM=1\nDate0=每天\nTIME0=15:1\n"
             "NOTE0=开会\nTASK0=notepad.exe\n");
    StartWorking();
    dlg->LockScreen();
    shell.dialogs.answers = {IDOK};  // the countdown ran out
    shell.Advance(60000);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.system.commandLines, std::vector<std::string>{"notepad.exe"});
    ExpectStillLocked("notice");
}

// The task manager policy before the lock, and each way the lock can end.
enum class LockEnd { Unlock, UnlockTask, SessionEnd, CrashAndStart };
class PolicyTest : public LockTest,
                   public ::testing::WithParamInterface<std::tuple<RegistryValue, LockEnd>> {};

TEST_P(PolicyTest, IsPutBackExactly) {
    const auto [prior, end] = GetParam();
    shell.system.policy = prior;
    StartLocked();
    EXPECT_EQ(shell.system.policy, Dword(1));
    EXPECT_FALSE(shell.system.taskBarShown);
    ASSERT_TRUE(shell.system.lockRecord);
    EXPECT_EQ(*shell.system.lockRecord, prior);
    switch (end) {
    case LockEnd::Unlock:
        shell.window.passwordText = "abc";
        dlg->OnOK();
        EXPECT_FALSE(dlg->m_bLocked);
        break;
    case LockEnd::UnlockTask:
        dlg->SetItem(0, {"每天", "", "unlock", 15, 1});
        dlg->m_nTaskCount = 1;
        dlg->SelectNextTask();
        dlg->OnTaskDue();
        EXPECT_FALSE(dlg->m_bLocked);
        break;
    case LockEnd::SessionEnd:
        dlg->OnQueryEndSession(true);
        break;
    case LockEnd::CrashAndStart:
        dlg.reset();  // killed: no teardown ran
        EXPECT_TRUE(shell.system.Restricted());
        Start();
        EXPECT_FALSE(dlg->m_bLocked);
        break;
    }
    EXPECT_EQ(shell.system.policy, prior);
    EXPECT_TRUE(shell.system.taskBarShown);
    EXPECT_FALSE(shell.system.lockRecord);
}

INSTANTIATE_TEST_SUITE_P(
    PriorStates, PolicyTest,
    ::testing::Combine(::testing::Values(RegistryValue{}, RegistryValue{true, false, 0, ""}, Dword(1), Dword(0)),
                       ::testing::Values(LockEnd::Unlock, LockEnd::UnlockTask, LockEnd::SessionEnd,
                                         LockEnd::CrashAndStart)));

TEST_F(LockTest, ExitWithoutALockShowsTheTaskBarAndLeavesAnAdministratorsValue) {
    shell.system.policy = Dword(1);
    shell.system.taskBarShown = false;
    StartWorking();
    dlg->OnDestroy();
    EXPECT_TRUE(shell.system.taskBarShown);
    EXPECT_EQ(shell.system.policy, Dword(1));
}

TEST_F(LockTest, ALockAfterACrashRecordsThePolicyOfBeforeTheCrash) {
    shell.system.policy = {true, false, 0, ""};
    StartLocked();
    dlg.reset();
    Start();
    dlg->LockScreen();
    EXPECT_EQ(*shell.system.lockRecord, (RegistryValue{true, false, 0, ""}));
    dlg->OnDestroy();
    EXPECT_EQ(shell.system.policy, (RegistryValue{true, false, 0, ""}));
}

// A second monitor to the left of the primary one: the window spans both.
class TwoMonitorTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        shell.window.screen = {0, 0, 2304, 1024};
        shell.window.primary = {1280, 0, 2304, 768};
        WriteIni("[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n");
        StartWorking();
    }
};

TEST_F(TwoMonitorTest, TheRestCoversBothAndItsTextsStayOnThePrimaryMonitor) {
    dlg->StartRest();
    EXPECT_EQ(shell.window.show, Show::FullScreen);
    fake::FakePainter painter;
    dlg->OnPaint(painter);
    // Text 8 bytes wide at 10 px a byte, 40 high; corner texts 80 x 20.
    EXPECT_EQ(painter.ops, (std::vector<std::string>{
                               "fill {0,0,2304,1024} " + std::to_string(dlg->m_crBackColor),
                               "text " + std::to_string(1280 + (1024 - 120) / 2) + ",324 保护视力",
                               "small 1280,0 00:00:06",
                               "small 2224,0 15:00:00",
                           }));
    EXPECT_EQ(dlg->m_rcCountdown, (Rect{1280, 0, 1360, 20}));
    EXPECT_EQ(dlg->m_rcClock, (Rect{2224, 0, 2304, 20}));
}

TEST_F(TwoMonitorTest, ThePasswordBoxSitsAtTheFootOfThePrimaryMonitor) {
    dlg->LockScreen();
    EXPECT_EQ(shell.window.passwordRect, (Rect{1280 + 462, 738, 1280 + 562, 758}));
}

TEST_F(TwoMonitorTest, APictureFitsThePrimaryMonitor) {
    shell.picture.pictures["C:\\p.jpg"] = {512, 384};
    dlg->m_bStretch = 0;
    dlg->m_bPicture = 1;
    dlg->m_strPicFile = "C:\\p.jpg";
    dlg->m_bPictureLoaded = shell.picture.Load("C:\\p.jpg");
    EXPECT_EQ(dlg->ComputePictureRect(), (Rect{1280 + 256, 192, 1280 + 768, 576}));
    dlg->m_bStretch = 1;
    EXPECT_EQ(dlg->ComputePictureRect(), shell.window.primary);
}

TEST_F(AppTest, EyeCareOffDuringARestEndsItQuietlyAndOnStartsAFullPeriod) {
    StartWorking();
    dlg->StartRest();
    Seconds(2);
    const size_t sounds = shell.system.sounds.size(), animations = shell.window.animations.size();
    dlg->OnToggleEyeCare();
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_EQ(shell.system.sounds.size(), sounds);
    EXPECT_EQ(shell.window.animations.size(), animations);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));
    EXPECT_FALSE(dlg->m_bQuietReturn);
    shell.Advance(3600000);
    EXPECT_FALSE(dlg->m_bResting);

    dlg->OnToggleEyeCare();
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);
    shell.Advance(300000);
    EXPECT_TRUE(dlg->m_bResting);
    EXPECT_EQ(shell.system.sounds.back().first, "break.wav");
}

TEST_F(AppTest, TrayPowerCommandsTakeThePrivilegeInTheirOrder) {
    const struct {
        int command;
        bool privilege;
        std::vector<std::string> calls;
    } cases[] = {
        {32784, true, {"privilege", "exit 8"}},          {32784, false, {"privilege refused"}},
        {32801, true, {"privilege", "exit 12"}},         {32801, false, {"privilege refused"}},
        {32786, true, {"exit 2", "privilege", "exit 2"}}, {32786, false, {"exit 2", "privilege refused"}},
        {32785, true, {"exit 0", "privilege", "exit 0"}}, {32785, false, {"exit 0", "privilege refused"}},
    };
    StartWorking();
    for (const auto& c : cases) {
        shell.system.sessionCalls.clear();
        shell.system.hasShutdownPrivilege = c.privilege;
        EXPECT_TRUE(dlg->OnCommand(c.command));
        EXPECT_EQ(shell.system.sessionCalls, c.calls) << c.command << (c.privilege ? " with" : " without");
    }
    // The 9x family has no privileges to take before powering off.
    dlg->m_bWin9x = 1;
    shell.system.sessionCalls.clear();
    dlg->OnCommand(32784);
    EXPECT_EQ(shell.system.sessionCalls, std::vector<std::string>{"exit 8"});
}

TEST_F(AppTest, ExitWithAWrongPasswordKeepsEverythingRunning) {
    WriteIni("[Lumivar2003]\nEXITPASS=1\nSYSTEMPWD=def\nAUTOLOCK=1\n[MAIL]\nCHECK=1\n[HOSTSTATUS]\nMONITOR=1\n");
    StartWorking();
    const auto timers = shell.window.timers;
    shell.dialogs.passwordAnswers = {"ab"};
    dlg->OnCommand(32775);
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_EQ(shell.dialogs.messages[0].first, "很抱歉，密码输入错误，操作不成功！");
    EXPECT_EQ(shell.window.endResult, -1);
    EXPECT_EQ(shell.window.timers.size(), timers.size());
    for (const auto& [id, timer] : timers) EXPECT_EQ(shell.window.Period(id), timer.period) << id;

    shell.dialogs.passwordAnswers = {"abc"};
    dlg->OnCommand(32775);
    EXPECT_EQ(shell.window.endResult, 0);
}

TEST_F(AppTest, AnEmptyStoredPasswordIsAnsweredWithAnEmptyEntry) {
    WriteIni("[Lumivar2003]\nEXITPASS=1\nCONFIGPASS=1\n");
    StartWorking();
    shell.dialogs.passwordAnswers = {"x", " "};
    EXPECT_FALSE(dlg->AskSystemPassword());
    EXPECT_FALSE(dlg->AskSystemPassword());
    EXPECT_EQ(shell.dialogs.messages.size(), 2u);
    shell.dialogs.passwordAnswers = {""};
    dlg->OnExit();
    EXPECT_EQ(shell.window.endResult, 0);
}

}  // namespace
}  // namespace lumivar::test
