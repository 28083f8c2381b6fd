// The screen lock: what leaves it, what it covers, and what it does to the system's policy;
// and the password that guards exit, the task list and the settings.
#include <tuple>

#include "app/AppFixture.h"
#include "system/ShellKeys.h"

namespace lumivar::test {
namespace {

RegistryValue Dword(uint32_t v) { return {true, true, kRegDword, std::string(reinterpret_cast<char*>(&v), 4)}; }

class LockTest : public AppTest {
protected:
    // Locked with the password "abc" (stored shifted by three), an entry due a minute after start.
    void StartLocked(const std::string& task = "notepad.exe") {
        StartWorking("[Lumivar2003]\nLOCKPASS=1\nSYSTEMPWD=def\nAUTOLOCK=1\n"
                     "[NOTES AND TASKS]\nTOTALITEM=1\nDate0=每天\nTIME0=15:1\nNOTE0=开会\nTASK0=" + task + "\n");
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
    {"the password in the wrong letter case", [](CMainDlg&, fake::FakeShell& shell) { shell.window.passwordText = "ABC"; }},
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
    {"the settings file edited to need no password, and reloaded", [](CMainDlg& d, fake::FakeShell& shell) {
         shell.files.files[App::kIni] = "[Lumivar2003]\nLOCKPASS=0\n";
         d.OnCommand(ID_RELOAD_SETTINGS);
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

// The lock comes while one of the program's own windows runs its loop, as when the person walked
// away from it; the password typed in the lock's box and Enter leave the lock right there.
TEST_F(AppTest, TheLockIsLeftFromInsideTheLoopOfEveryWindow) {
    const struct { const char* name; int command; const char* timeout; } loops[] = {
        {"settings", ID_SETTINGS, ""}, {"task list", ID_TASK_LIST, ""},
        {"reminder counting down", 0, "TIMEOUT=50\n"}, {"reminder waiting", 0, "TIMEOUT=0\n"}};
    for (const auto& loop : loops) {
        SCOPED_TRACE(loop.name);
        App app(std::string("[Lumivar2003]\nLOCKPASS=1\nSYSTEMPWD=def\n[NOTES AND TASKS]\n") + loop.timeout +
                "TOTALITEM=1\nDate0=每天\nTIME0=15:1\nNOTE0=开会\n");
        bool lockedInside = false, unlockedInside = false;
        const auto inside = [&] {
            app.dlg->OnHotKey(IDH_LOCK_A);
            lockedInside = app.dlg->Cycle().Locked() && app.shell.window.othersHidden;
            app.shell.window.passwordText = "abc";
            app.dlg->OnCommand(IDOK);  // Enter in the box
            unlockedInside = !app.dlg->Cycle().Locked();
            return IDCANCEL;
        };
        app.shell.dialogs.settings = [&](CSettingsDlg&) { return inside(); };
        app.shell.dialogs.taskList = [&](CTaskListDlg&) { return inside(); };
        app.shell.dialogs.during = [&](CRemindDlg&) { inside(); };
        loop.command ? void(app.dlg->OnCommand(loop.command)) : app.Minutes(1);
        EXPECT_TRUE(lockedInside && unlockedInside);
        EXPECT_FALSE(app.shell.window.othersHidden || app.shell.system.Restricted() || app.shell.system.keysTrapped);
        EXPECT_EQ(app.dlg->Cycle().GetPhase(), CRestCycle::Phase::Working);
    }
}

// A session end that is cancelled after the question leaves work, a rest and a lock as they were.
TEST_F(LockTest, ACancelledSessionEndChangesNothing) {
    for (const int phase : {ID_BACK_TO_WORK, ID_REST_NOW, ID_LOCK_SCREEN}) {
        SCOPED_TRACE(phase);
        App app("[Lumivar2003]\nLOCKPASS=1\n[SCREEN]\nBREAKTIME=60\nNATURALBREAK=0\n[MAIL]\nCHECK=1\nSERVER=s\n");
        app.dlg->OnCommand(phase);
        const auto timers = app.shell.window.timers;
        const auto hotkeys = app.shell.system.hotkeys;
        const auto show = app.shell.window.show;
        const int writes = app.shell.files.writes;
        EXPECT_TRUE(app.dlg->OnQueryEndSession(true));
        EXPECT_EQ(app.shell.files.writes, writes + 1) << "saved, in case it does end";
        app.dlg->OnEndSession(false);
        EXPECT_EQ(app.shell.window.timers, timers);
        EXPECT_EQ(app.shell.system.hotkeys, hotkeys);
        EXPECT_EQ(app.shell.tray.icons.size(), 1u);
        EXPECT_EQ(app.shell.window.show, show);
        EXPECT_EQ(app.shell.system.Restricted() && app.shell.system.keysTrapped, phase == ID_LOCK_SCREEN);
        EXPECT_EQ(app.dlg->Cycle().Locked(), phase == ID_LOCK_SCREEN);
        // Five minutes of work and a minute of rest go on: the rest ends on time, or one comes.
        app.Seconds(330);
        using P = CRestCycle::Phase;
        EXPECT_EQ(app.dlg->Cycle().GetPhase(),
                  phase == ID_LOCK_SCREEN ? P::Locked : phase == ID_REST_NOW ? P::Working : P::Resting);
    }
}

// Eye care switched, monitors that change and a shell that starts again during a lock: the lock covers
// what there is now, and the switch takes effect at the unlock, which leaves nothing of the lock behind.
TEST_F(LockTest, WhatChangesDuringALockCountsAtTheUnlock) {
    shell.window.screen = {0, 0, 2304, 1024};  // a second monitor left of the primary one
    shell.window.primary = {1280, 0, 2304, 768};
    StartLocked();
    EXPECT_EQ(shell.window.passwordRect, (Rect{1280 + 462, 738, 1280 + 562, 758}));
    dlg->OnToggleEyeCare();
    shell.window.screen = {0, 0, 3200, 1200};
    shell.window.primary = {1280, 0, 3200, 1200};
    shell.system.taskBarShown = true;  // the new monitor's
    const int topmost = shell.window.keptTopmost;
    dlg->OnDisplayChange();
    EXPECT_EQ(shell.window.passwordRect, (Rect{1280 + 910, 1170, 1280 + 1010, 1190}));
    EXPECT_EQ(shell.window.keptTopmost, topmost + 1);
    EXPECT_FALSE(shell.system.taskBarShown);
    shell.system.taskBarShown = true;
    shell.tray.icons.clear();
    dlg->OnTaskbarCreated();
    EXPECT_FALSE(shell.system.taskBarShown);
    EXPECT_EQ(shell.tray.icons.size(), 1u);
    Unlock();
    EXPECT_FALSE(dlg->Cycle().Locked() || shell.window.passwordBoxShown || shell.window.othersHidden);
    EXPECT_FALSE(shell.system.Restricted());
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_FALSE(shell.window.Running(TIMER_CYCLE));
    shell.tray.icons.clear();
    dlg->OnTaskbarCreated();
    EXPECT_TRUE(shell.system.taskBarShown);
    EXPECT_EQ(shell.tray.icons.size(), 1u);
}

TEST(ShellKeysTest, OnlyTheShellsOwnCombinationsAreSwallowed) {
    // Ctrl+Alt+Del is the system's; Alt+F4 closes nothing on the lock.
    const struct { unsigned vk; bool alt, ctrl, swallowed; } rows[] = {
        {kVkLeftWin, false, false, true}, {kVkRightWin, false, true, true}, {kVkTab, true, false, true},
        {kVkTab, false, false, false},    {kVkEscape, true, false, true},   {kVkEscape, false, true, true},
        {kVkEscape, false, false, false}, {0x2E, true, true, false},        {'R', false, false, false},
        {0x0D, false, false, false},      {0x73, true, false, false}};
    for (const auto& r : rows) EXPECT_EQ(IsShellKey(r.vk, r.alt, r.ctrl), r.swallowed) << r.vk << r.alt << r.ctrl;
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
    EXPECT_TRUE(shell.system.keysTrapped);
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
        EXPECT_TRUE(shell.system.Restricted() && shell.system.keysTrapped) << "the end may still be cancelled";
        dlg->OnEndSession(true);
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
    EXPECT_FALSE(shell.system.keysTrapped);
}

INSTANTIATE_TEST_SUITE_P(
    PriorStates, PolicyTest,
    ::testing::Combine(::testing::Values(RegistryValue{}, RegistryValue{true, false, 0, ""}, Dword(1), Dword(0)),
                       ::testing::Values(LockEnd::Unlock, LockEnd::UnlockTask, LockEnd::SessionEnd,
                                         LockEnd::CrashAndStart)));

// A wrong password changes nothing; the settings opened again while open ask none and open nothing.
TEST_F(AppTest, ThePasswordGuardsExitTheTaskListAndTheSettings) {
    StartWorking("[Lumivar2003]\nCONFIGPASS=1\nEXITPASS=1\nSYSTEMPWD=def\n[MAIL]\nCHECK=1\n");
    const auto timers = shell.window.timers;
    const std::string wrong = "很抱歉，密码输入错误，操作不成功！";
    dlg->OnTaskList();  // cancelled prompt
    shell.dialogs.passwordAnswers = {"ABC", "ab", "wrong"};
    dlg->OnTaskList();
    dlg->OnExit();
    dlg->OnTrayNotify(0, 0x203);  // a double click on the icon: the settings
    EXPECT_EQ(shell.dialogs.messages, (std::vector<std::pair<std::string, std::string>>(3, {wrong, "Lumivar"})));
    EXPECT_EQ(shell.dialogs.taskLists + shell.dialogs.settingsRuns, 0);
    EXPECT_EQ(shell.window.endResult, -1);
    EXPECT_EQ(shell.window.timers, timers);
    shell.dialogs.passwordAnswers = {"abc", "abc", "abc", "abc"};
    shell.dialogs.settings = [this](CSettingsDlg&) {
        dlg->OnTrayNotify(0, 0x203);
        dlg->OnCommand(ID_SETTINGS);
        return IDCANCEL;
    };
    dlg->OnCommand(ID_SETTINGS);
    EXPECT_EQ(shell.dialogs.settingsRuns, 1);
    EXPECT_EQ(shell.dialogs.passwordAnswers.size(), 3u);
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
