// The host monitor on the fake shell: timer 4, the menu command, the settings step, and what
// a finished check changes (state, tip, icon, prompt), with the echoes scripted.
#include "app/AppFixture.h"
#include "settings/Gbk.h"
#include "net/NetworkPage.h"
#include "net/Ping.h"

namespace lumivar::test {
namespace {

using fake::EchoScript;

constexpr const char* kReachableTip = "\n网络状态:可连接";
constexpr const char* kUnreachableTip = "\n网络状态:不可连接";

// A program of its own on a shell of its own, for table rows that each start afresh.
struct Rig {
    explicit Rig(const std::string& ini, const std::function<void(fake::EchoScript&)>& script = {}) {
        shell.files.files["C:\\Program Files\\Lumivar\\Lumivar.ini"] = Utf8ToGbk(ini);
        if (script) script(*shell.icmp.script);
        dlg = std::make_unique<CMainDlg>(shell.ports());
        shell.onTimer = [this](int id) { dlg->OnTimer(id); };
        dlg->OnInitDialog();
        shell.Advance(10);
    }
    static std::string Watching(const std::string& host, int minutes) {
        return "[HOSTSTATUS]\nMONITOR=1\nHOSTNAME=" + host + "\nINTERVAL=" + std::to_string(minutes) + "\n";
    }
    fake::EchoScript& echo() { return *shell.icmp.script; }
    fake::FakeShell shell;
    std::unique_ptr<CMainDlg> dlg;
};

// The fake clock starts on 2024-12-01 at 15:00:00 local time.
class HostMonitorTest : public AppTest {
protected:
    EchoScript& echo() { return *shell.icmp.script; }
    std::string Tip() { return shell.tray.icons.at(0).tip; }
    int Icon() { return shell.tray.icons.at(0).iconResource; }
    static bool EndsWith(const std::string& s, const std::string& end) {
        return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
    }
    // Monitor on, watching host every `minutes`.
    void Watch(const std::string& host, int minutes = 3) {
        WriteIni(Rig::Watching(host, minutes));
        StartWorking();
    }
    void Answers() { echo().standing = EchoScript::Answer(AddressOf(127, 0, 0, 1)); }
    void Silence() { echo().standing = EchoScript::TimedOut(); }
    void Minutes(int m) { shell.Advance(uint64_t(m) * 60000); }
};

TEST_F(HostMonitorTest, TimerChecksWithFiveEchoesOfFortyGsAndRearms) {
    Watch("localhost");
    Silence();
    EXPECT_EQ(shell.window.Period(TIMER_HOST), 180000u);
    EXPECT_TRUE(echo().sent.empty()) << "no check at start";
    EXPECT_TRUE(EndsWith(Tip(), kReachableTip)) << Tip();
    Minutes(3);
    ASSERT_EQ(echo().sent.size(), 5u);
    for (const auto& sent : echo().sent) {
        EXPECT_EQ(sent.address, AddressOf(127, 0, 0, 1));
        EXPECT_EQ(sent.payload, std::string(40, 'G'));
        EXPECT_EQ(sent.timeoutMs, 5000u);
    }
    EXPECT_EQ(echo().opened, 1);
    EXPECT_EQ(echo().closed, 1) << "the ICMP session ends with its check";
    EXPECT_TRUE(shell.window.Running(TIMER_HOST));
    EXPECT_EQ(shell.window.Period(TIMER_HOST), 180000u);
    Minutes(3);
    EXPECT_EQ(echo().sent.size(), 10u) << "checked again a period later";
}

TEST_F(HostMonitorTest, EchoSequencesDecideTheState) {
    const EchoReply out = EchoScript::TimedOut();
    const EchoReply in = EchoScript::Answer(AddressOf(127, 0, 0, 1));
    EchoReply hostUnreachable{};
    hostUnreachable.status = 11003;
    struct Case {
        const char* what;
        std::deque<std::optional<EchoReply>> replies;
        bool reachable;
        size_t sent;
    } cases[] = {
        {"answer at once", {in}, true, 1},
        {"four failures then an answer", {out, out, out, out, in}, true, 5},
        {"five failures", {out, out, out, out, out, in}, false, 5},
        {"11003 each time", {hostUnreachable, hostUnreachable, hostUnreachable, hostUnreachable, hostUnreachable}, false, 5},
        {"11003 then an answer", {hostUnreachable, in}, true, 2},
        {"no record written", {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt}, false, 5},
    };
    for (const Case& c : cases) {
        Rig rig(Rig::Watching("localhost", 3), [&](EchoScript& e) { e.replies = c.replies; });
        rig.dlg->m_bHostReachable = !c.reachable;  // so that the outcome shows as a change
        rig.shell.Advance(180000);
        EXPECT_EQ(rig.echo().sent.size(), c.sent) << c.what;
        EXPECT_EQ(rig.dlg->m_bHostReachable, int(c.reachable)) << c.what;
        EXPECT_EQ(rig.shell.dialogs.shown.size(), 1u) << c.what;
    }
}

TEST_F(HostMonitorTest, NoPromptUntilTheFirstFailureThenPromptsOnEachChange) {
    Watch("intranet-gw", 1);
    echo().names["intranet-gw"] = AddressOf(10, 0, 0, 254);
    Answers();
    Minutes(1);
    EXPECT_TRUE(shell.dialogs.shown.empty()) << "reachable as assumed: nothing to say";
    EXPECT_EQ(dlg->m_bHostReachable, 1);

    Silence();
    std::string tipDuringPrompt;
    int iconDuringPrompt = 0;
    shell.dialogs.during = [&](CRemindDlg&) {
        tipDuringPrompt = Tip();
        iconDuringPrompt = Icon();
    };
    Minutes(1);  // 15:02
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    const CRemindDlg& lost = shell.dialogs.shown[0];
    EXPECT_EQ(lost.m_strTitle, "网络连接状态 15:02");
    EXPECT_EQ(lost.m_strMessage, "目标主机:intranet-gw\r\n现在不可到达!");
    EXPECT_EQ(lost.m_nCountdown, 50);
    EXPECT_TRUE(lost.m_bAnimated);
    EXPECT_TRUE(EndsWith(tipDuringPrompt, kUnreachableTip)) << "the tip is updated before the prompt";
    EXPECT_EQ(iconDuringPrompt, 137);
    EXPECT_EQ(dlg->m_bHostReachable, 0);

    Minutes(1);
    EXPECT_EQ(shell.dialogs.shown.size(), 1u) << "still unreachable: no second prompt";

    Answers();
    Minutes(1);  // 15:04
    ASSERT_EQ(shell.dialogs.shown.size(), 2u);
    EXPECT_EQ(shell.dialogs.shown[1].m_strTitle, "网络连接状态 15:04");
    EXPECT_EQ(shell.dialogs.shown[1].m_strMessage, "目标主机:intranet-gw \r\n现在可以访问了!");
    EXPECT_TRUE(EndsWith(Tip(), kReachableTip)) << Tip();
    EXPECT_EQ(Icon(), 135);
}

TEST_F(HostMonitorTest, WhatCountsAsUnreachableBesidesSilence) {
    struct Case {
        const char* what;
        IEchoSession::State state;
        const char* host;
        size_t sent;
        size_t messages;
    } cases[] = {
        {"no ICMP library", IEchoSession::State::NoLibrary, "localhost", 0, 0},
        {"no handle", IEchoSession::State::NoHandle, "localhost", 0, 0},
        {"library without its functions", IEchoSession::State::MissingFunctions, "localhost", 0, 1},
        {"a name that does not resolve", IEchoSession::State::Ready, "no.such.host", 0, 0},
        {"an address with http://", IEchoSession::State::Ready, "http://127.0.0.1", 0, 0},
    };
    for (const Case& c : cases) {
        Rig rig(Rig::Watching(c.host, 1), [&](EchoScript& e) {
            e.state = c.state;
            e.standing = EchoScript::Answer(AddressOf(127, 0, 0, 1));  // would answer, were an echo sent
        });
        rig.shell.Advance(60000);
        EXPECT_EQ(rig.echo().sent.size(), c.sent) << c.what;
        EXPECT_EQ(rig.dlg->m_bHostReachable, 0) << c.what;
        ASSERT_EQ(rig.shell.dialogs.shown.size(), 1u) << c.what;
        const auto& messages = rig.shell.dialogs.messages;
        ASSERT_EQ(messages.size(), c.messages) << c.what;
        if (c.messages) {
            EXPECT_EQ(messages[0], std::make_pair(std::string("error"), std::string("Lumivar")));
        }
        rig.shell.Advance(60000);
        EXPECT_EQ(messages.size(), 2 * c.messages) << "the box comes once per check";
    }
}

TEST_F(HostMonitorTest, MenuCommandChecksWhetherOrNotTheMonitorIsOnAndLeavesTheTimer) {
    WriteIni("[HOSTSTATUS]\nMONITOR=0\nHOSTNAME=LocalHost\nINTERVAL=3\n");
    StartWorking();
    Silence();
    EXPECT_TRUE(dlg->OnCommand(32787));
    ASSERT_EQ(shell.background.jobs.size(), 1u);
    shell.background.Finish();
    EXPECT_EQ(echo().sent.size(), 5u);
    EXPECT_EQ(dlg->m_bHostReachable, 0);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "目标主机:LocalHost\r\n现在不可到达!");
    EXPECT_TRUE(EndsWith(Tip(), "\n网络状态监测未启动")) << "the tip names the monitor off, whatever the state";
    EXPECT_FALSE(shell.window.Running(TIMER_HOST));
}

TEST_F(HostMonitorTest, EmptyHostChangesNothing) {
    Watch("localhost");
    dlg->m_bHostReachable = 0;
    const size_t trayCalls = shell.tray.log.size();
    EXPECT_FALSE(dlg->CheckHostStatus(""));
    EXPECT_TRUE(shell.background.jobs.empty());
    EXPECT_EQ(echo().opened, 0);
    EXPECT_EQ(dlg->m_bHostReachable, 0);
    EXPECT_EQ(shell.tray.log.size(), trayCalls);
    EXPECT_TRUE(shell.dialogs.shown.empty());
}

TEST_F(HostMonitorTest, OneCheckInFlightWhileTheRestCountsDown) {
    WriteIni("[SCREEN]\nBREAKTIME=30\n[HOSTSTATUS]\nMONITOR=1\nHOSTNAME=localhost\nINTERVAL=1\n");
    StartWorking();
    shell.background.manual = true;
    Silence();
    Minutes(1);
    ASSERT_EQ(shell.background.jobs.size(), 1u) << "the check waits on the network off the GUI thread";
    dlg->StartRest();
    const int left = dlg->m_nRestLeft;
    Seconds(25);  // as long as five silent echoes take
    EXPECT_EQ(dlg->m_nRestLeft, left - 25) << "the rest counts down while the echoes wait";
    EXPECT_FALSE(dlg->CheckHostStatus("localhost")) << "a second check while one is in flight";
    dlg->OnCheckHostStatus();
    Minutes(1);  // timer 4 again
    EXPECT_EQ(shell.background.jobs.size(), 1u);
    EXPECT_TRUE(shell.window.Running(TIMER_HOST));
    EXPECT_EQ(dlg->m_bHostReachable, 1) << "nothing changes before the check is done";

    shell.background.Finish();
    EXPECT_EQ(dlg->m_bHostReachable, 0);
    EXPECT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_TRUE(dlg->CheckHostStatus("localhost")) << "free again once done";
}

TEST_F(HostMonitorTest, ATickDuringThePromptStartsNoSecondCheck) {
    Watch("localhost", 1);
    Silence();
    int started = 0;
    shell.dialogs.during = [&](CRemindDlg&) {
        // The prompt's own loop still delivers timer 4.
        started = dlg->CheckHostStatus("localhost") ? 1 : 0;
    };
    Minutes(1);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(shell.background.started, 1);
}

TEST_F(HostMonitorTest, APromptDuringTheLockLeavesTheLock) {
    Watch("localhost", 1);
    dlg->LockScreen();
    ASSERT_TRUE(dlg->m_bLocked);
    Silence();
    Minutes(1);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_TRUE(dlg->m_bLocked);
    EXPECT_EQ(shell.window.show, fake::FakeWindow::Show::FullScreen);
}

TEST_F(HostMonitorTest, SettingsStepStoresTrimsAndSwitchesWithoutChecking) {
    struct Case {
        const char* what;
        int monitor, interval;
        const char* host;
        bool changed;
        int storedMonitor;
        const char* storedHost;
    } cases[] = {
        {"unchanged", 1, 3, "localhost", false, 1, "localhost"},
        {"new host, trimmed", 1, 5, "  fileserver \t", true, 1, "fileserver"},
        {"blanks only", 1, 3, "   ", true, 0, ""},
        {"interval 0", 1, 0, "localhost", true, 0, "localhost"},
        {"switched off", 0, 3, "localhost", true, 0, "localhost"},
    };
    for (const Case& c : cases) {
        Rig rig(Rig::Watching("localhost", 3));
        CMainDlg& d = *rig.dlg;
        fake::FakeShell& sh = rig.shell;
        d.m_bHostReachable = 0;
        sh.window.timers[TIMER_HOST].due = 1;  // a timer armed again gets a due time of its own
        const size_t trayCalls = sh.tray.log.size();
        d.ApplyHostSettings(c.monitor, c.interval, c.host);
        EXPECT_EQ(d.m_bHostMonitor, c.storedMonitor) << c.what;
        EXPECT_EQ(d.m_strHostName, c.storedHost) << c.what;
        EXPECT_EQ(sh.window.Running(TIMER_HOST), c.storedMonitor == 1) << c.what;
        EXPECT_EQ(d.m_bHostReachable, 0) << c.what << ": the state is kept";
        EXPECT_TRUE(sh.background.jobs.empty() && rig.echo().opened == 0) << c.what << ": no check";
        if (!c.changed) {
            EXPECT_EQ(sh.tray.log.size(), trayCalls) << "nothing at all happens";
            EXPECT_EQ(sh.window.timers[TIMER_HOST].due, 1u);
        } else {
            EXPECT_GT(sh.tray.log.size(), trayCalls) << c.what << ": the tip is updated";
            if (c.storedMonitor) {
                EXPECT_EQ(sh.window.Period(TIMER_HOST), uint32_t(c.interval) * 60000u) << c.what;
            }
        }
    }
}

TEST_F(HostMonitorTest, MonitorSwitchedOffAndOnAgainShowsTheKeptState) {
    Watch("localhost");
    dlg->m_bHostReachable = 0;
    dlg->ApplyHostSettings(0, 3, "localhost");
    EXPECT_TRUE(EndsWith(Tip(), "\n网络状态监测未启动")) << Tip();
    dlg->ApplyHostSettings(1, 2, "localhost");
    EXPECT_TRUE(EndsWith(Tip(), kUnreachableTip)) << Tip();
    EXPECT_EQ(shell.window.Period(TIMER_HOST), 120000u);
}

TEST(NetworkPage, DefaultsEnableRuleAndIntervalRange) {
    CNetworkPage page;
    EXPECT_EQ(page.m_nHostInterval, 2);
    EXPECT_EQ(page.m_strHostName, "");
    EXPECT_EQ(page.m_bHostMonitor, 0);
    EXPECT_FALSE(page.FieldsEnabled());
    page.OnHostMonitorClicked();
    EXPECT_TRUE(page.FieldsEnabled());
    page.OnHostMonitorClicked();
    EXPECT_FALSE(page.FieldsEnabled());
    EXPECT_EQ(CNetworkPage::kSpinLow, 1);
    EXPECT_EQ(CNetworkPage::kSpinHigh, 240);

    for (auto [interval, ok] : {std::pair{0, false}, {1, true}, {120, true}, {121, false}, {240, false}, {-5, false}}) {
        page.m_nHostInterval = interval;
        std::string message;
        EXPECT_EQ(page.ValidateInterval(message), ok) << interval;
        EXPECT_EQ(message, ok ? "" : "Please enter an integer between 1 and 120.") << interval;
    }

    Settings s;
    s.m_bHostMonitor = 1, s.m_nHostInterval = 7, s.m_strHostName = "192.168.0.1";
    page.FromSettings(s);
    EXPECT_EQ(page.m_bHostMonitor, 1);
    EXPECT_EQ(page.m_nHostInterval, 7);
    EXPECT_EQ(page.m_strHostName, "192.168.0.1");
}

}  // namespace
}  // namespace lumivar::test
