// The screen lock: what leaves it, what it covers, and what it does to the system's policy;
// and the password that guards exit and the task list.
#include <tuple>

#include "app/AppFixture.h"
#include "resource.h"

namespace lumivar::test {
namespace {

using Show = fake::FakeWindow::Show;

RegistryValue Dword(uint32_t v) { return {true, true, kRegDword, std::string(reinterpret_cast<char*>(&v), 4)}; }

class LockTest : public AppTest {
protected:
    // Locked with the password "abc" (stored shifted by three), an entry due a minute after start.
    void StartLocked(const std::string& task = "notepad.exe") {
        WriteIni("[Lumivar2003]\nLOCKPASS=1\nSYSTEMPWD=def\nAUTOLOCK=1\n"
                 "[NOTES AND TASKS]\nTOTALITEM=1\nDate0=每天\nTIME0=15:1\nNOTE0=开会\nTASK0=" + task + "\n");
        StartWorking();
        dlg->LockScreen();
        ASSERT_TRUE(dlg->Cycle().Locked());
    }
    void Unlock() {
        shell.window.passwordText = "abc";
        dlg->OnOK();
    }
};

// Every way out of a lock but the password, each on a fresh program.
struct Bypass { const char* name; void (*act)(CMainDlg&, fake::FakeShell&); };
const Bypass kBypasses[] = {
    {"keys, Esc and return to work", [](CMainDlg& d, fake::FakeShell&) {
         d.OnKeyDown(0x57), d.OnKeyDown(0x77), d.OnCommand(2), d.OnCommand(ID_BACK_TO_WORK), d.BackToWork();
     }},
    {"eye care off and on", [](CMainDlg& d, fake::FakeShell&) { d.OnToggleEyeCare(), d.OnToggleEyeCare(); }},
    {"tray clicks", [](CMainDlg& d, fake::FakeShell&) { d.OnTrayNotify(0, 0x202), d.OnTrayNotify(0, 0x203); }},
    {"exit, a second lock and every window the menu opens", [](CMainDlg& d, fake::FakeShell&) {
         for (int id : {ID_APP_EXIT, ID_APP_ABOUT, ID_TASK_LIST, ID_SETTINGS, ID_CHOOSE_PICTURE, ID_README, ID_HELP_INDEX})
             d.OnCommand(id);
         d.OnHotKey(IDH_LOCK_A), d.LockScreen();
     }},
    // While locked the cycle stands still and a rest cannot start.
    {"rest hotkeys, menu and a long wait", [](CMainDlg& d, fake::FakeShell& shell) {
         d.OnHotKey(IDH_REST_A), d.OnHotKey(IDH_REST_B), d.OnCommand(ID_REST_NOW), shell.Advance(600000);
     }},
    {"a notice that counts down", [](CMainDlg&, fake::FakeShell& shell) {
         shell.dialogs.answers = {IDOK};
         shell.Advance(60000);
     }},
};

class LockBypassTest : public LockTest, public ::testing::WithParamInterface<Bypass> {};

TEST_P(LockBypassTest, LeavesTheLockStandingAndItsUpkeepRunning) {
    StartLocked();
    shell.window.passwordText = "wrong";
    GetParam().act(*dlg, shell);
    dlg->OnOK();
    EXPECT_TRUE(dlg->Cycle().Locked() && shell.window.passwordBoxShown && shell.window.othersHidden);
    EXPECT_EQ(shell.window.show, Show::FullScreen);
    EXPECT_EQ(shell.window.passwordText, "");
    EXPECT_TRUE(shell.system.Restricted());
    EXPECT_EQ(shell.window.endResult, -1);
    EXPECT_TRUE(shell.dialogs.abouts.empty() && shell.dialogs.fileRequests.empty() && shell.system.opened.empty());
    EXPECT_EQ(shell.dialogs.taskLists, 0);
    // Each second the clock alone is repainted, the window kept on top and the box given the focus back.
    ASSERT_EQ(shell.window.Period(TIMER_CYCLE), 1000u);
    Seconds(1);
    shell.window.focus = IMainWindow::Focus::Other;
    shell.window.invalidated.clear();
    const int topmost = shell.window.keptTopmost;
    Seconds(2);
    EXPECT_EQ(shell.window.focus, IMainWindow::Focus::Password);
    EXPECT_EQ(shell.window.invalidated, (std::vector<Rect>(2, dlg->Screen().ClockRect())));
    EXPECT_EQ(shell.window.keptTopmost, topmost + 2);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, LockBypassTest, ::testing::ValuesIn(kBypasses));

TEST_F(LockTest, OnlyThePasswordUnlocksAndEyeCareSwitchedMeanwhileTakesEffectThen) {
    shell.window.screen = {0, 0, 2304, 1024};  // a second monitor left of the primary one
    shell.window.primary = {1280, 0, 2304, 768};
    StartLocked();
    EXPECT_EQ(shell.window.passwordRect, (Rect{1280 + 462, 738, 1280 + 562, 758}));
    shell.window.passwordText = "ABC";  // letter case matters
    dlg->OnOK();
    EXPECT_TRUE(dlg->Cycle().Locked());
    dlg->OnToggleEyeCare();
    Unlock();
    EXPECT_FALSE(dlg->Cycle().Locked() || shell.window.passwordBoxShown || shell.window.othersHidden);
    EXPECT_FALSE(shell.system.Restricted());
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));
}

// The task manager policy before the lock, and each way the lock can end.
enum class LockEnd { Unlock, UnlockTask, SessionEnd, CrashAndStart };
class PolicyTest : public LockTest, public ::testing::WithParamInterface<std::tuple<RegistryValue, LockEnd>> {};

TEST_P(PolicyTest, IsPutBackExactly) {
    const auto [prior, end] = GetParam();
    shell.system.policy = prior;
    StartLocked(end == LockEnd::UnlockTask ? "unlock" : "notepad.exe");
    EXPECT_EQ(shell.system.policy, Dword(1));
    EXPECT_FALSE(shell.system.taskBarShown);
    ASSERT_TRUE(shell.system.lockRecord);
    EXPECT_EQ(*shell.system.lockRecord, prior);
    switch (end) {
    case LockEnd::Unlock:
        Unlock();
        break;
    case LockEnd::UnlockTask:
        shell.dialogs.answers = {IDOK};
        Minutes(1);
        break;
    case LockEnd::SessionEnd:
        dlg->OnQueryEndSession(true);
        break;
    case LockEnd::CrashAndStart:
        dlg.reset();  // killed: no teardown ran
        EXPECT_TRUE(shell.system.Restricted());
        Start();
        // A lock after the crash records the policy of before it, not the lock's own.
        dlg->LockScreen();
        EXPECT_EQ(*shell.system.lockRecord, prior);
        dlg->OnDestroy();
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

TEST_F(AppTest, ThePasswordGuardsExitAndTheTaskListAndAWrongOneChangesNothing) {
    WriteIni("[Lumivar2003]\nCONFIGPASS=1\nEXITPASS=1\nSYSTEMPWD=def\n[MAIL]\nCHECK=1\n");
    StartWorking();
    const auto timers = shell.window.timers;
    const std::string wrong = "很抱歉，密码输入错误，操作不成功！";
    dlg->OnTaskList();  // cancelled prompt
    shell.dialogs.passwordAnswers = {"ABC", "ab"};
    dlg->OnTaskList();
    dlg->OnExit();
    EXPECT_EQ(shell.dialogs.messages, (std::vector<std::pair<std::string, std::string>>(2, {wrong, "Lumivar"})));
    EXPECT_EQ(shell.dialogs.taskLists, 0);
    EXPECT_EQ(shell.window.endResult, -1);
    EXPECT_EQ(shell.window.timers, timers);
    shell.dialogs.passwordAnswers = {"abc", "abc"};
    dlg->OnTaskList();
    EXPECT_EQ(shell.dialogs.taskLists, 1);
    dlg->OnExit();
    EXPECT_EQ(shell.window.endResult, 0);

    // An empty password is answered with an empty entry only.
    WriteIni("[Lumivar2003]\nSYSTEMPWD=\n");
    dlg->OnCommand(ID_RELOAD_SETTINGS);
    shell.dialogs.passwordAnswers = {" ", ""};
    EXPECT_FALSE(dlg->AskSystemPassword());
    EXPECT_TRUE(dlg->AskSystemPassword());
}

}  // namespace
}  // namespace lumivar::test
