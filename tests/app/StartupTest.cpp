// Start-up, where the settings are kept, and the end of the session.
#include "app/AppFixture.h"
#include "base/Text.h"
#include "settings/IniFile.h"
#include "settings/SettingsDlg.h"

namespace lumivar::test {
namespace {

TEST_F(AppTest, FirstStartWithoutIni) {
    Start();
    EXPECT_EQ(shell.window.show, Show::Minimized);
    EXPECT_EQ(Tip(), "眸安星:\n视力保护已启动\n没有任务提醒\n邮件监测未启动\n网页监测未启动\n网络状态监测未启动");
    const std::map<int, std::pair<unsigned, unsigned>> hotkeys{
        {1001, {6, 0x41}}, {1002, {6, 0x61}}, {1003, {6, 0x49}}, {1004, {6, 0x69}}, {1005, {6, 0x6C}}, {1006, {6, 0x4C}}};
    EXPECT_EQ(shell.system.hotkeys, hotkeys);
    EXPECT_EQ(shell.system.runValues.at("Lumivar2003"), "C:\\Program Files\\Lumivar\\Lumivar.exe");
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 10u);

    // The silent pass: hidden without animation or sound, then a full working period.
    shell.Advance(10);
    EXPECT_EQ(shell.window.show, Show::Hidden);
    EXPECT_TRUE(shell.window.animations.empty() && shell.system.sounds.empty());
    EXPECT_EQ(shell.window.Period(TIMER_CYCLE), 300000u);
}

// Where the per-user start-up value cannot be written, the setting does not claim to be on;
// whoever turns it on in the settings is told.
TEST_F(AppTest, StartWithTheSystemIsOnlyShownOnWhenItIs) {
    shell.system.runWritable = false;
    StartWorking();
    EXPECT_FALSE(dlg->Config().m_bStartup);
    EXPECT_TRUE(shell.dialogs.messages.empty()) << "nobody asked for it just now";
    shell.dialogs.settings = [](CSettingsDlg& d) { return d.m_general.m_bStartup = 1, IDOK; };
    dlg->OnCommand(ID_SETTINGS);
    EXPECT_FALSE(dlg->Config().m_bStartup);
    EXPECT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_NE(IniText().find("STARTUP=0"), std::string::npos);
}

// A program folder the user may not write: the settings go on in the user's own folder, from the
// file beside the program, and are read from there at the next start. Where nothing can be
// written, the person is told once, with the path.
TEST_F(AppTest, SettingsAreKeptPerUserWhereTheProgramsFolderIsReadOnly) {
    const std::string user = shell.system.userFolder + "\\Lumivar.ini";
    shell.files.readOnly = "C:\\Program Files\\";
    StartWorking("[SCREEN]\nWORKTIME=30\n[MINE]\nX=1\n");
    dlg->SaveSettings();
    const std::string kept = GbkToUtf8(shell.files.files.at(user));
    EXPECT_NE(kept.find("WORKTIME=30"), std::string::npos);
    EXPECT_NE(kept.find("[MINE]\r\nX=1\r\n"), std::string::npos) << "lines we do not know go along, in CR LF";
    EXPECT_EQ(WithCrLf(kept), kept) << "one kind of line end";
    EXPECT_EQ(IniText(), "[SCREEN]\nWORKTIME=30\n[MINE]\nX=1\n") << "the file beside stays as it was";

    shell.files.files[user] = Utf8ToGbk("[SCREEN]\nWORKTIME=40\n");
    App next;
    next.shell.files.files = shell.files.files;
    next.shell.files.readOnly = shell.files.readOnly;
    next.StartWorking();
    EXPECT_EQ(next.dlg->Config().m_nWorkTime, 40);
    EXPECT_TRUE(next.shell.dialogs.messages.empty());

    next.shell.files.readOnly = "C:\\";  // the user's folder as well
    next.dlg->SaveSettings();
    next.dlg->SaveSettings();
    EXPECT_EQ(next.shell.dialogs.messages.size(), 1u);
    EXPECT_NE(next.shell.dialogs.messages.at(0).first.find(user), std::string::npos);
    next.dlg->OnQueryEndSession(true);
    EXPECT_EQ(next.shell.dialogs.messages.size(), 1u);
}

// Which timers a start arms, and for how long; 0: not armed.
TEST_F(AppTest, TimersAtStart) {
    const struct {
        const char* ini;
        std::map<int, uint32_t> periods;
    } rows[] = {
        {"", {{TIMER_TASK, 0}, {TIMER_HOMEPAGE, 0}, {TIMER_HOST, 0}, {TIMER_MAIL, 0}, {TIMER_UPDATE, 600000}, {TIMER_AUTOLOCK, 0}}},
        {"[HOMEPAGE]\nWATCH=1\nINTERVAL=7\n[MAIL]\nCHECK=1\nINTERVAL=4\n[HOSTSTATUS]\nMONITOR=1\nINTERVAL=3\n"
         "[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n",
         {{TIMER_HOMEPAGE, 7 * 60000}, {TIMER_MAIL, 4 * 60000}, {TIMER_HOST, 3 * 60000}, {TIMER_UPDATE, 0}}},
        {"[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=0\n[SCREEN]\nBREAKTIME=300\n", {{TIMER_AUTOLOCK, 6 * 60000}}},
        {"[Lumivar2003]\nAUTOLOCK=1\nTIMEOUT=-3\n[SCREEN]\nBREAKTIME=59\n", {{TIMER_AUTOLOCK, 60000}}},
    };
    for (const auto& r : rows) {
        App app(r.ini);
        for (auto [id, period] : r.periods) EXPECT_EQ(app.shell.window.Period(id), period) << r.ini << " timer " << id;
    }
}

// The end of the session and exit save, stop every timer and take the icons and hotkeys away; the
// task bar comes back whether or not the screen was locked, and an administrator's task manager
// policy stays.
TEST_F(AppTest, ExitAndSessionEnd) {
    shell.system.runValues["Lumivar2003"] = "old";
    StartWorking("[Lumivar2003]\nSTARTUP=0\n[HOSTSTATUS]\nMONITOR=1\nHOSTNAME=\n");
    EXPECT_EQ(shell.system.runValues.count("Lumivar2003"), 0u);
    EXPECT_FALSE(dlg->OnQueryEndSession(false));
    EXPECT_EQ(shell.files.writes, 0);
    EXPECT_TRUE(dlg->OnQueryEndSession(true));
    EXPECT_EQ(IniFile(shell.files.files[kIni]).GetInt("HOSTSTATUS", "MONITOR", -1), 0) << "off without a host";
    shell.system.taskBarShown = false;
    const RegistryValue administrators{true, true, kRegDword, std::string("\x01\0\0\0", 4)};
    shell.system.policy = administrators;
    dlg->OnEndSession(true);
    EXPECT_TRUE(shell.system.taskBarShown && shell.tray.icons.empty());
    EXPECT_EQ(shell.system.policy, administrators);

    App app("");
    app.dlg->OnExit();
    EXPECT_EQ(app.shell.window.endResult, 0);
    app.dlg->OnDestroy();
    EXPECT_TRUE(app.shell.window.timers.empty() && app.shell.system.hotkeys.empty() && app.shell.tray.icons.empty());
    EXPECT_NE(app.IniText().find("VERSION=V1.25 2004贺岁版 Build12.18"), std::string::npos);
}

}  // namespace
}  // namespace lumivar::test
