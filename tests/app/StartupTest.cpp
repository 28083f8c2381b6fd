// Start-up, teardown and the end of the session.
#include "app/AppFixture.h"
#include "settings/IniFile.h"

namespace lumivar::test {
namespace {

using Show = fake::FakeWindow::Show;

TEST_F(AppTest, FirstStartWithoutIniArmsOnlyTheCycleAndTheUpdateCheck) {
    Start();
    EXPECT_TRUE(shell.window.placed);
    EXPECT_EQ(shell.window.show, Show::Minimized);
    EXPECT_EQ(shell.window.icon, 128);
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 10u);
    EXPECT_EQ(shell.window.Period(TIMER_UPDATE), 600000u);
    for (int id : {TIMER_TASK, TIMER_HOMEPAGE, TIMER_HOST, TIMER_MAIL, TIMER_AUTOLOCK})
        EXPECT_FALSE(shell.window.Running(id)) << "timer " << id;
    EXPECT_EQ(dlg->m_strLatestVersion, "尚未检查是否有更新版本");
    EXPECT_EQ(dlg->m_strVersion, "V1.25 2004贺岁版 Build12.18");

    // The silent pass: hidden without animation or sound, then a full working period.
    shell.Advance(10);
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_TRUE(shell.window.animations.empty());
    EXPECT_TRUE(shell.system.sounds.empty());
    EXPECT_FALSE(dlg->m_bResting);
    EXPECT_FALSE(dlg->m_bQuietReturn);
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);
    EXPECT_FALSE(shell.window.Running(TIMER_AUTOLOCK));
}

TEST_F(AppTest, TrayIconIsAddedThenShowsTheStatus) {
    Start();
    ASSERT_GE(shell.tray.log.size(), 2u);
    EXPECT_EQ(shell.tray.log[0].first, TrayOp::Add);
    EXPECT_EQ(shell.tray.log[0].second, (TrayIcon{0, 0x401, 132, "眸安星"}));
    const TrayIcon& now = shell.tray.icons.at(0);
    EXPECT_EQ(now.iconResource, 135);
    EXPECT_EQ(now.tip, "眸安星:\n视力保护已启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态监测未启动");
    EXPECT_EQ(shell.tray.icons.count(1), 0u);
}

TEST_F(AppTest, HotkeysAreCtrlShiftWithTheSixKeys) {
    Start();
    const std::pair<int, unsigned> keys[] = {{1001, 0x41}, {1002, 0x61}, {1003, 0x49},
                                             {1004, 0x69}, {1005, 0x6C}, {1006, 0x4C}};
    ASSERT_EQ(shell.system.hotkeys.size(), 6u);
    for (auto [id, vk] : keys) EXPECT_EQ(shell.system.hotkeys.at(id), std::make_pair(6u, vk)) << id;
}

TEST_F(AppTest, RunValueFollowsTheStartupSetting) {
    Start();
    EXPECT_EQ(shell.system.runValues.at("Lumivar2003"), "C:\\Program Files\\Lumivar\\Lumivar.exe");

    fake::FakeShell other;
    other.system.runValues["Lumivar2003"] = "old";
    other.files.files[kIni] = "[Lumivar2003]\r\nSTARTUP=0\r\n";
    CMainDlg off(other.ports());
    off.OnInitDialog();
    EXPECT_EQ(other.system.runValues.count("Lumivar2003"), 0u);
}

TEST_F(AppTest, AutoLockTimeoutOfZeroIsDerivedFromTheRestLength) {
    WriteIni("[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=0\n[SCREEN]\nBREAKTIME=300\n");
    Start();
    EXPECT_EQ(dlg->m_nAutoLockTimeout, 6);
    EXPECT_EQ(shell.window.Period(TIMER_AUTOLOCK), 6u * 60000u);

    fake::FakeShell other;
    other.files.files[kIni] = "[Lumivar2003]\nTIMEOUT=-3\n[SCREEN]\nBREAKTIME=59\n";
    CMainDlg d(other.ports());
    d.OnInitDialog();
    EXPECT_EQ(d.m_nAutoLockTimeout, 1);
    EXPECT_FALSE(other.window.Running(TIMER_AUTOLOCK));
}

TEST_F(AppTest, HostMonitorWithoutHostIsSwitchedOffAndSavedOff) {
    WriteIni("[HOSTSTATUS]\nMONITOR=1\nHOSTNAME=\nINTERVAL=3\n");
    Start();
    EXPECT_FALSE(dlg->m_bHostMonitor);
    EXPECT_FALSE(shell.window.Running(TIMER_HOST));
    dlg->OnExit();
    dlg->OnDestroy();
    EXPECT_EQ(IniFile(shell.files.files[kIni]).GetInt("HOSTSTATUS", "MONITOR", -1), 0) << IniText();
}

TEST_F(AppTest, MonitorsThatAreOnGetTheirTimers) {
    WriteIni("[HOMEPAGE]\nWATCH=1\nINTERVAL=7\n[MAIL]\nCHECK=1\nINTERVAL=4\n[HOSTSTATUS]\nMONITOR=1\nINTERVAL=3\n"
             "[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n");
    Start();
    // The web page interval is forced to 2 before loading, then read from the file.
    EXPECT_EQ(shell.window.Period(TIMER_HOMEPAGE), 7u * 60000u);
    EXPECT_EQ(shell.window.Period(TIMER_MAIL), 4u * 60000u);
    EXPECT_EQ(shell.window.Period(TIMER_HOST), 3u * 60000u);
    EXPECT_FALSE(shell.window.Running(TIMER_UPDATE));
}

TEST_F(AppTest, ExitSavesAllSectionsInOrderAndCleansUp) {
    StartWorking();
    dlg->OnExit();
    EXPECT_EQ(shell.window.endResult, 0);
    shell.system.taskBarShown = false;  // shown again at exit whether or not the screen was locked
    dlg->OnDestroy();
    EXPECT_TRUE(shell.window.timers.empty());
    EXPECT_TRUE(shell.system.hotkeys.empty());
    EXPECT_TRUE(shell.tray.icons.empty());
    EXPECT_FALSE(shell.system.Restricted());
    const std::string ini = IniText();
    size_t at = 0;
    for (const char* section : {"[Lumivar2003]", "[SCREEN]", "[SOUND]", "[NOTES AND TASKS]", "[HOMEPAGE]", "[MAIL]",
                                "[HOSTSTATUS]"}) {
        const size_t found = ini.find(section);
        ASSERT_NE(found, std::string::npos) << section;
        EXPECT_GT(found + 1, at) << section << " out of order";
        at = found;
    }
    EXPECT_NE(ini.find("VERSION=V1.25 2004贺岁版 Build12.18"), std::string::npos);
    EXPECT_NE(ini.find("TEXT=保护视力"), std::string::npos);
}

TEST_F(AppTest, SessionEndSavesLikeExitUnlessRefused) {
    StartWorking();
    EXPECT_FALSE(dlg->OnQueryEndSession(false));
    EXPECT_EQ(shell.files.writes, 0);
    EXPECT_EQ(shell.tray.icons.size(), 1u);

    dlg->m_nWorkTime = 17;
    EXPECT_TRUE(dlg->OnQueryEndSession(true));
    EXPECT_NE(IniText().find("WORKTIME=17"), std::string::npos);
    EXPECT_TRUE(shell.window.timers.empty());
    EXPECT_TRUE(shell.tray.icons.empty());
}

TEST_F(AppTest, SavingKeepsWhatTheProgramDoesNotKnow) {
    WriteIni("; my notes\r\n[SCREEN]\r\nWORKTIME=9\r\nMYKEY=kept\r\n[OTHER]\r\nA=1\r\n");
    StartWorking();
    EXPECT_EQ(dlg->m_nWorkTime, 9);
    dlg->OnDestroy();
    const std::string ini = IniText();
    EXPECT_NE(ini.find("; my notes"), std::string::npos);
    EXPECT_NE(ini.find("MYKEY=kept"), std::string::npos);
    EXPECT_NE(ini.find("[OTHER]\r\nA=1"), std::string::npos);
}

TEST_F(AppTest, ReloadCommandRereadsTheFile) {
    StartWorking();
    WriteIni("[SCREEN]\nWORKTIME=12\n[NOTES AND TASKS]\nTOTALITEM=1\nDate0=每天\nTIME0=7:5\nNOTE0=早操\n");
    EXPECT_TRUE(dlg->OnCommand(32779));
    EXPECT_EQ(dlg->m_nWorkTime, 12);
    EXPECT_EQ(dlg->m_strCurNote, "早操");
    EXPECT_NE(shell.tray.icons.at(0).tip.find("\n当前任务时间07:05"), std::string::npos);
    EXPECT_FALSE(dlg->OnCommand(40000));
}

}  // namespace
}  // namespace lumivar::test
