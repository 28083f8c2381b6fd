// The mail monitor on the fake shell against a real POP3 server on 127.0.0.1: timer 5, the
// menu command, the settings step, and what a finished check changes, in order.
#include "app/AppFixture.h"
#include "net/Pop3Responder.h"
#include "settings/Gbk.h"
#include "settings/SettingsIo.h"

namespace lumivar::test {
namespace {

using Strings = std::vector<std::string>;
constexpr int kCheckMail = 32794, kMailNoticeOk = 32795;
constexpr const char* kQuestion =
    "网络连接或账户认证失败，可能是其他邮件程序正在进行认证。请检查您的邮箱设置和网络设置的有效性!"
    "在确认之后请选择：\r\n是否继续监测？";

// The fake clock starts on 2024-12-01 at 15:00:00 local time.
class MailMonitorTest : public AppTest {
protected:
    // The monitor on, every two minutes, with the account as the INI file holds it (the
    // password scrambled, the rest GBK).
    void StartMonitor(const std::string& user = "alice", const std::string& extra = "") {
        shell.files.files[kIni] = Utf8ToGbk("[Lumivar2003]\r\nAUTOCHECKNEWVERSION=0\r\n[SCREEN]\r\nBREAKTIME=30\r\n[MAIL]\r\nCHECK=1\r\nINTERVAL=2\r\n"
                                            "SERVER=127.0.0.1\r\nUSER=" + user + "\r\n" + extra) +
                                  "PASS=" + ScramblePassword(Utf8ToGbk("secret"), true) + "\r\n";
        StartWorking();
        dlg->MailMonitor().UsePortForTests(server.Port());
    }
    void CheckNow() {
        dlg->OnCommand(kCheckMail);
        shell.background.Finish();
    }
    std::string Tip() { return shell.tray.icons.at(0).tip; }
    bool MailIcon() { return shell.tray.icons.count(1) != 0; }
    std::string MailTip() { return shell.tray.icons.at(1).tip; }
    static bool Has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }
    static MailSettings Edited(const CMainDlg& d) {
        return {d.m_bMailCheck, d.m_nMailInterval, d.m_strMailPass, d.m_strMailServer, d.m_strMailUser};
    }

    Pop3Responder server;
};

TEST_F(MailMonitorTest, StartUpGivesTheClientItsAccountAndTheFirstCheckComesOneIntervalLater) {
    WriteIni("[Lumivar2003]\nAUTOCHECKNEWVERSION=0\n[MAIL]\nCHECK=1\nINTERVAL=2\nSERVER=127.0.0.1\nUSER=张三\n");
    StartWorking();
    const CPop3Connection& client = dlg->MailMonitor().Client();
    EXPECT_EQ(client.GetServer(), "127.0.0.1");
    EXPECT_EQ(client.GetPort(), 110);
    EXPECT_EQ(client.GetUser(), "张三");
    EXPECT_EQ(client.GetPassword(), "######");
    EXPECT_EQ(shell.window.Period(TIMER_MAIL), 120000u);

    dlg->MailMonitor().UsePortForTests(server.Port());
    Seconds(119);
    EXPECT_EQ(shell.background.started, 0);
    Seconds(1);
    EXPECT_EQ(server.Received(), (Strings{"USER \xD5\xC5\xC8\xFD", "PASS ######", "STAT", "QUIT"}));
    EXPECT_TRUE(shell.window.Running(TIMER_MAIL)) << "a check that succeeded arms the timer again";
    EXPECT_EQ(shell.window.Period(TIMER_MAIL), 120000u);
    EXPECT_TRUE(Has(Tip(), "\n没有新邮件")) << Tip();
}

TEST_F(MailMonitorTest, OffAtStartNoTimerAndTheTipSaysSo) {
    WriteIni("[MAIL]\nCHECK=0\nSERVER=127.0.0.1\n");
    StartWorking();
    dlg->MailMonitor().UsePortForTests(server.Port());
    EXPECT_FALSE(shell.window.Running(TIMER_MAIL));
    Seconds(600);
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_TRUE(Has(Tip(), "\n邮件监测未启动")) << Tip();
}

// The count of one mailbox over several checks: a prompt only when it grew, naming the total.
TEST_F(MailMonitorTest, APromptOnlyWhenTheCountGrowsAndTheIconFollowsTheCount) {
    StartMonitor();
    const struct {
        int count;
        bool prompt;
    } steps[] = {{2, true}, {2, false}, {1, false}, {5, true}, {0, false}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.count);
        server.SetStatCount(step.count);
        const size_t before = shell.dialogs.shown.size();
        std::string iconAtPrompt, tipAtPrompt;
        shell.dialogs.during = [&](CRemindDlg&) {
            iconAtPrompt = MailIcon() ? MailTip() : "";
            tipAtPrompt = Tip();
        };
        CheckNow();
        EXPECT_EQ(dlg->m_nNewMail, step.count);
        if (step.count > 0) {
            ASSERT_TRUE(MailIcon());
            EXPECT_EQ(MailTip(), "您有" + std::to_string(step.count) + "封新邮件!");
            EXPECT_TRUE(Has(Tip(), "\n有" + std::to_string(step.count) + "封邮件")) << Tip();
        } else {
            EXPECT_FALSE(MailIcon());
            EXPECT_TRUE(Has(Tip(), "\n没有新邮件")) << Tip();
        }
        ASSERT_EQ(shell.dialogs.shown.size(), before + (step.prompt ? 1 : 0));
        if (!step.prompt) continue;
        const CRemindDlg& prompt = shell.dialogs.shown.back();
        EXPECT_EQ(prompt.m_strTitle, "邮件监测器 15:00");
        EXPECT_EQ(prompt.m_strMessage, "邮件服务器127.0.0.1\r\n收到" + std::to_string(step.count) + "封新邮件!");
        EXPECT_EQ(prompt.m_nCountdown, 30);
        EXPECT_TRUE(prompt.m_bAnimated);
        // The tip and the icon tell the news before the prompt does.
        EXPECT_EQ(iconAtPrompt, MailTip());
        EXPECT_EQ(tipAtPrompt, Tip());
    }
    EXPECT_TRUE(dlg->m_bMailCheck);
}

TEST_F(MailMonitorTest, DismissedNoticeAndMailStillWaitingPromptsAgain) {
    StartMonitor();
    server.SetStatCount(3);
    CheckNow();
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    dlg->OnMailTrayNotify(1, 0x205);
    EXPECT_EQ(shell.tray.menus.back().resource, 148);
    dlg->OnCommand(kMailNoticeOk);
    EXPECT_FALSE(MailIcon());
    EXPECT_TRUE(Has(Tip(), "\n没有新邮件")) << Tip();
    Seconds(120);  // timer 5
    ASSERT_EQ(shell.dialogs.shown.size(), 2u);
    EXPECT_EQ(shell.dialogs.shown.back().m_strMessage, "邮件服务器127.0.0.1\r\n收到3封新邮件!");
    EXPECT_EQ(shell.dialogs.shown.back().m_strTitle, "邮件监测器 15:02");
    EXPECT_EQ(MailTip(), "您有3封新邮件!");
}

// A login that fails asks whether to go on: OK or the countdown keeps the monitor on.
TEST_F(MailMonitorTest, AFailedLoginAsksWhetherToGoOn) {
    const struct {
        int answer;
        bool stillOn;
    } cases[] = {{IDOK, true}, {IDCANCEL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        shell.dialogs.shown.clear();
        Pop3Responder::Script script;
        script.pass = "-ERR invalid password\r\n";
        server.SetScript(script);
        dlg.reset();
        shell.window.timers.clear();
        StartMonitor();
        shell.dialogs.answers = {c.answer};
        Seconds(120);
        ASSERT_EQ(shell.dialogs.shown.size(), 1u);
        const CRemindDlg& q = shell.dialogs.shown[0];
        EXPECT_EQ(q.m_strTitle, "邮件监测器配置");
        EXPECT_EQ(q.m_strMessage, kQuestion);
        EXPECT_EQ(q.m_nCountdown, 30);
        EXPECT_TRUE(q.m_bAnimated);
        EXPECT_EQ(dlg->m_bMailCheck, c.stillOn ? 1 : 0);
        EXPECT_EQ(shell.window.Running(TIMER_MAIL), c.stillOn);
        EXPECT_EQ(Has(Tip(), "\n邮件监测未启动"), !c.stillOn) << Tip();
        dlg->SaveSettings();
        EXPECT_TRUE(Has(IniText(), c.stillOn ? "CHECK=1" : "CHECK=0"));
    }
}

TEST_F(MailMonitorTest, AFailedStatSwitchesTheMonitorOffSilentlyAndTheNextCheckLogsInAgain) {
    StartMonitor();
    server.SetStatReply("+OK no count today\r\n");
    Seconds(120);
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_FALSE(dlg->m_bMailCheck);
    EXPECT_FALSE(shell.window.Running(TIMER_MAIL));
    EXPECT_TRUE(Has(Tip(), "\n邮件监测未启动")) << Tip();
    Seconds(600);
    EXPECT_EQ(server.Connections(), 1);

    server.SetStatCount(1);
    MailSettings on = Edited(*dlg);
    on.bMailCheck = 1;
    dlg->ApplyMailSettings(on);
    shell.background.Finish();
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_EQ(server.Received(), (Strings{"USER alice", "PASS secret", "STAT", "USER alice", "PASS secret", "STAT", "QUIT"}));
    EXPECT_EQ(dlg->m_nNewMail, 1);
    EXPECT_TRUE(shell.window.Running(TIMER_MAIL));
}

TEST_F(MailMonitorTest, AFailedQuitIgnoresTheCountAndKeepsTheMonitorOn) {
    Pop3Responder::Script script;
    script.stat = "+OK 4 100\r\n";
    script.quit = "-ERR mailbox not updated\r\n";
    server.SetScript(script);
    StartMonitor();
    Seconds(120);
    EXPECT_EQ(dlg->m_nNewMail, 0);
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_FALSE(MailIcon());
    EXPECT_TRUE(dlg->m_bMailCheck);
    EXPECT_TRUE(shell.window.Running(TIMER_MAIL));
}

// The GUI thread never waits on the server: the rest keeps counting while a check is out.
TEST_F(MailMonitorTest, ASilentServerFreezesNothingAndOneCheckAtATime) {
    Pop3Responder::Script script;
    script.greeting = "";
    server.SetScript(script);
    StartMonitor();
    dlg->MailMonitor().UseTimeoutForTests(300);
    shell.background.manual = true;
    dlg->StartRest();
    const int restAtStart = dlg->m_nRestLeft;
    dlg->OnCheckMail();
    ASSERT_TRUE(dlg->MailMonitor().CheckInFlight());
    Seconds(5);
    EXPECT_EQ(dlg->m_nRestLeft, restAtStart - 5);
    dlg->OnCheckMail();
    Seconds(120);  // timer 5 comes round while the check is still out
    EXPECT_EQ(shell.background.started, 1);
    EXPECT_TRUE(shell.window.Running(TIMER_MAIL)) << "the tick waits for the next period";
    EXPECT_TRUE(shell.dialogs.shown.empty());

    shell.dialogs.answers = {IDOK};
    shell.background.Finish();
    EXPECT_FALSE(dlg->MailMonitor().CheckInFlight());
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strTitle, "邮件监测器配置");
    EXPECT_TRUE(dlg->m_bMailCheck);
}

TEST_F(MailMonitorTest, TheSettingsStepChecksAtOnceOnlyWhenSomethingChanged) {
    StartMonitor();
    server.SetStatCount(2);
    dlg->ApplyMailSettings(Edited(*dlg));
    EXPECT_EQ(shell.background.started, 0) << "nothing changed";

    // Each of the five values counts as a change.
    for (int field = 0; field < 5; ++field) {
        SCOPED_TRACE(field);
        MailSettings edited = Edited(*dlg);
        switch (field) {
        case 0: edited.nMailInterval = 7; break;
        case 1: edited.strMailPass = "secret2"; break;
        case 2: edited.strMailServer = "localhost"; break;
        case 3: edited.strMailUser = "bob"; break;
        case 4: edited.bMailCheck = 1, edited.strMailUser = "carol", dlg->m_bMailCheck = 0; break;
        }
        shell.window.KillTimer(TIMER_MAIL);
        const int started = shell.background.started;
        dlg->ApplyMailSettings(edited);
        EXPECT_EQ(Edited(*dlg), edited);
        EXPECT_EQ(shell.background.started, started + 1);
        shell.background.Finish();
        EXPECT_EQ(shell.window.Period(TIMER_MAIL), uint32_t(edited.nMailInterval) * 60000u);
    }
    EXPECT_EQ(server.Received().back(), "QUIT");
    EXPECT_EQ(server.Received()[server.Received().size() - 4], "USER carol");

    MailSettings off = Edited(*dlg);
    off.bMailCheck = 0;
    const int started = shell.background.started;
    dlg->ApplyMailSettings(off);
    EXPECT_EQ(shell.background.started, started);
    EXPECT_FALSE(shell.window.Running(TIMER_MAIL));
    EXPECT_TRUE(Has(Tip(), "\n邮件监测未启动")) << Tip();
}

TEST_F(MailMonitorTest, TheSettingsStepArmsTheTimerOnlyAfterACheckThatSucceeded) {
    StartMonitor();
    server.SetStatReply("-ERR locked\r\n");
    MailSettings edited = Edited(*dlg);
    edited.nMailInterval = 3;
    dlg->ApplyMailSettings(edited);
    shell.background.Finish();
    EXPECT_FALSE(shell.window.Running(TIMER_MAIL));
    EXPECT_FALSE(dlg->m_bMailCheck);
}

// New settings while a check is out: what the old check finds is dropped, and a check with
// the new account follows.
TEST_F(MailMonitorTest, NewSettingsWhileACheckIsOutCheckAgainWithThem) {
    StartMonitor();
    server.SetStatCount(2);
    shell.background.manual = true;
    dlg->OnCheckMail();
    MailSettings edited = Edited(*dlg);
    edited.strMailUser = "bob";
    dlg->ApplyMailSettings(edited);
    EXPECT_EQ(shell.background.started, 1);
    server.SetStatCount(3);
    shell.background.Finish();
    EXPECT_EQ(shell.background.started, 2);
    const Strings received = server.Received();
    ASSERT_EQ(received.size(), 8u);
    EXPECT_EQ(received[4], "USER bob");
    EXPECT_EQ(dlg->m_nNewMail, 3);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u) << "only the new account's check reports";
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "邮件服务器127.0.0.1\r\n收到3封新邮件!");
    EXPECT_TRUE(shell.window.Running(TIMER_MAIL));
}

TEST_F(MailMonitorTest, ACheckStillOutWhenTheProgramEndsReportsNothing) {
    StartMonitor();
    server.SetStatCount(2);
    shell.background.manual = true;
    dlg->OnCheckMail();
    dlg.reset();
    shell.background.Finish();  // would crash or prompt if the outcome reached a dead window
    EXPECT_TRUE(shell.dialogs.shown.empty());
}

}  // namespace
}  // namespace lumivar::test
