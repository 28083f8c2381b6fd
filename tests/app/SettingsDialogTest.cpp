// The settings dialog as the main window runs it: copies in, everything applied at once on OK.
#include "app/AppFixture.h"
#include "settings/SettingsDlg.h"

namespace lumivar::test {
namespace {

struct NoUi : ISettingsUi {
    bool PickColor(Colorref&) override { return false; }
    bool ChooseFile(const OpenFileRequest&, std::string&) override { return false; }
    void RangeError(int low, int high) override { messages.push_back(std::to_string(low) + ".." + std::to_string(high)); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    Strings messages;
};

class SettingsDialogTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartWorking("[Lumivar2003]\nAUTOLOCK=1\nAUTOCHECKNEWVERSION=1\nSYSTEMPWD=def\n[SCREEN]\nBREAKTIME=0\n");
    }
    // The user's part: what to do in the open dialog, then OK (validated as the window does) or Cancel.
    void Run(std::function<void(CSettingsDlg&)> edit, bool ok = true) {
        shell.dialogs.settings = [=, this](CSettingsDlg& d) {
            d.OnInitDialog();
            d.m_general.OnInitDialog();
            edit(d);
            const bool accepted = ok && d.OnOK(ui);
            page = d.m_tab.Current();
            return accepted ? IDOK : IDCANCEL;
        };
        dlg->OnCommand(ID_SETTINGS);
    }
    NoUi ui;
    int page = -1;  // where the dialog was left
};

// Cancel changes nothing. OK, even without changes, restarts the work period and the timers and
// saves; it ends a rest but never the lock. The pickers open on the lengths (a rest of none at ten
// seconds) and give them back, but for the work picker's seconds.
TEST_F(SettingsDialogTest, CancelChangesNothingOkAppliesEverythingAtOnce) {
    const auto edit = [](CSettingsDlg& d) {
        EXPECT_EQ(d.m_general.m_workPicker, (PickerTime{0, 5, 0}));
        EXPECT_EQ(d.m_general.m_restPicker, (PickerTime{0, 0, 10}));
        d.m_general.m_workPicker = {2, 0, 45};
        d.m_general.m_restPicker = {23, 59, 59};
        d.m_general.m_crBackColor = Rgb(0, 128, 0);
        d.m_password.m_strPassword = "  密码𠀀 ";
        d.m_password.m_strConfirm = "密码𠀀";
        d.m_password.m_bExitPass = 1;
        EXPECT_EQ(std::vector<int>(d.m_day.m_values, d.m_day.m_values + 3), (std::vector<int>{5, 30, 30}));
        d.m_day.m_values[0] = 0, d.m_day.m_values[2] = 300;
    };
    shell.Advance(200000);
    const auto timers = shell.window.timers;
    Run(edit, false);
    EXPECT_EQ(shell.files.writes, 0);
    EXPECT_EQ(shell.window.timers, timers);

    Run([](CSettingsDlg&) {});
    EXPECT_EQ(shell.window.timers.at(TIMER_CYCLE).due, shell.clock.ms + 300000u);
    EXPECT_EQ(shell.window.Period(TIMER_UPDATE), 120000u);
    EXPECT_EQ(shell.window.Period(TIMER_AUTOLOCK), 1000u);
    EXPECT_EQ(shell.files.writes, 1);
    EXPECT_EQ(dlg->Config().m_strSystemPwd, "abc") << "the boxes open filled and keep it";

    Run(edit);
    EXPECT_EQ(dlg->Config().m_strSystemPwd, "密码𠀀");
    EXPECT_TRUE(dlg->Config().m_bExitPass);
    EXPECT_NE(IniText().find("WORKTIME=120"), std::string::npos);
    EXPECT_NE(IniText().find("NATURALBREAK=0"), std::string::npos);
    EXPECT_EQ(shell.window.timers.at(TIMER_WARN).due, shell.clock.ms + 120 * 60000u - 300000u) << "at once";
    EXPECT_EQ(shell.window.timers.at(TIMER_CYCLE).due, shell.clock.ms + 120 * 60000u);
    dlg->StartRest();
    EXPECT_EQ(dlg->Cycle().RestLeft(), 86399 - 1);
    fake::FakePainter painter;
    dlg->OnPaint(painter);
    EXPECT_EQ(painter.ops.at(0), "fill {0,0,1024,768} " + std::to_string(Rgb(0, 128, 0)));
    Run([](CSettingsDlg&) {});
    EXPECT_FALSE(dlg->Cycle().Resting());
    dlg->LockScreen();
    dlg->ShowSettings();  // reached some other way than the menu, which the lock refuses
    EXPECT_TRUE(dlg->Cycle().Locked() && shell.system.Restricted());
}

TEST_F(SettingsDialogTest, AFailingPageKeepsTheDialogOpenOnThatPage) {
    const struct { std::function<void(CSettingsDlg&)> edit; int page; const char* message; } rows[] = {
        {[](CSettingsDlg& d) { d.m_general.m_nAutoLockTimeout = 121; }, CSettingsDlg::GeneralPage, "1..120"},
        {[](CSettingsDlg& d) { d.m_network.m_nHostInterval = 0; }, CSettingsDlg::NetworkPage,
         "Please enter an integer between 1 and 120."},
        {[](CSettingsDlg& d) { d.m_day.m_values[1] = 241; }, CSettingsDlg::DayPage, "0..240"},
        {[](CSettingsDlg& d) { d.m_day.m_values[2] = -1; }, CSettingsDlg::DayPage, "0..300"},  // an empty box
    };
    for (const auto& r : rows) {
        ui.messages.clear();
        Run(r.edit);
        EXPECT_EQ(page, r.page);
        EXPECT_EQ(ui.messages, Strings{r.message});
    }
    EXPECT_EQ(shell.files.writes, 0);
}

// Host: timer 4 armed. Mail: a check at once. Web page: timer 3 stopped, then its baseline.
// The file is written last.
TEST_F(SettingsDialogTest, TheMonitorsApplyInTheirOrderThenTheFileIsWritten) {
    shell.background.manual = true;
    shell.calls.clear();
    Run([](CSettingsDlg& d) {
        d.m_network.m_bHostMonitor = 1, d.m_network.m_strHostName = "127.0.0.1";
        d.m_mail.m_bMailCheck = 1, d.m_mail.m_strMailServer = "127.0.0.1";
        d.m_homepage.m_bWatch = 1, d.m_homepage.m_strAddress = "http://127.0.0.1/";
    });
    Strings seen;
    for (const std::string& c : shell.calls)
        if (c == "timer 4" || c == "background" || c == "kill 3" || c == "write") seen.push_back(c);
    EXPECT_EQ(seen, (Strings{"timer 4", "background", "kill 3", "background", "write"}));
}

}  // namespace
}  // namespace lumivar::test
