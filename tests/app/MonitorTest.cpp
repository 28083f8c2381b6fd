// The web page, host and mail monitors on the fake shell (mail against a POP3 server on
// 127.0.0.1): what a check finds, and what the user then sees.
#include "app/MonitorFixture.h"
#include "net/NetworkPage.h"

namespace lumivar::test {
namespace {

using Sounds = std::vector<std::pair<std::string, uint32_t>>;
constexpr const char* kQuestion =
    "网络连接或账户认证失败，可能是其他邮件程序正在进行认证。请检查您的邮箱设置和网络设置的有效性!"
    "在确认之后请选择：\r\n是否继续监测？";
constexpr const char* kChanged = "目标网页: http://h.test/page\r\n 已经改变! \r\n现在就去察看?";

class MonitorTest : public AppTest {};

// One check, by the monitor's timer two minutes on or from the menu, and what shows after it.
TEST_F(MonitorTest, OneCheckAndWhatItShows) {
    using M = Monitors;
    const Sounds remind{{"Remind.wav", 0x20001}};  // whatever the sound setting says
    const auto refused = [](M& m) { m.Pop3(&Pop3Responder::Script::pass, "-ERR invalid password\r\n"); };
    const struct {
        const char* name;
        std::string ini;
        std::function<void(M&)> network;
        int command, answer, timer;
        bool running;                 // the monitor's timer, afterwards
        std::string title, message;   // of the prompt; none when empty
        int countdown;
        const char* tip;              // a line of the main icon's tip
        int icon;
        Sounds sounds;
        Strings opened;
    } rows[] = {
        {"page fetched first", kWeb, [](M& m) { m.Page("v1"); }, 0, IDCANCEL, TIMER_HOMEPAGE, true,
         "网页内容 15:02", kChanged, 30, "网页监测已启动", 135, remind, {}},
        {"page confirmed", "[HOMEPAGE]\nWATCH=1\nINTERVAL=2\nADDRESS= www.example.com \n",
         [](M& m) { m.shell.http->Page("http://www.example.com/", "v1"); }, 0, IDOK, TIMER_HOMEPAGE, true,
         "网页内容 15:02", "目标网页: www.example.com\r\n 已经改变! \r\n现在就去察看?", 30, "网页监测已启动", 135,
         remind, {"http://www.example.com"}},
        {"page fetch failed: checks suspended", kWeb, [](M& m) { m.Page("gone", 404); }, 0, IDOK, TIMER_HOMEPAGE,
         false, "", "", 0, "网页监测已启动", 135, {}, {}},
        {"page failed, then the menu takes the checks up again", kWeb,
         [](M& m) { m.Page("gone", 404), m.Minutes(2), m.Page("back"); }, kCheckWeb, IDCANCEL, TIMER_HOMEPAGE,
         true, "网页内容 15:02", kChanged, 30, "网页监测已启动", 135, remind, {}},
        {"page from the menu, monitor off", "[HOMEPAGE]\nWATCH=0\nADDRESS=http://h.test/page\n",
         [](M& m) { m.Page("v1"); }, kCheckWeb, IDCANCEL, TIMER_HOMEPAGE, false, "网页内容 15:00", kChanged, 30,
         "网页监测未启动", 135, remind, {}},
        {"host silent", kHost, [](M& m) { m.HostAnswers(false); }, 0, IDOK, TIMER_HOST, true,
         "网络连接状态 15:02", "目标主机:localhost\r\n现在不可到达!", 50, "网络状态:不可连接", 137, {}, {}},
        {"host answers as assumed", kHost, [](M& m) { m.HostAnswers(true); }, 0, IDOK, TIMER_HOST, true, "", "", 0,
         "网络状态:可连接", 135, {}, {}},
        {"host from the menu, monitor off", "[HOSTSTATUS]\nMONITOR=0\nHOSTNAME=LocalHost\nINTERVAL=3\n",
         [](M& m) { m.HostAnswers(false); }, kCheckHost, IDOK, TIMER_HOST, false, "网络连接状态 15:00",
         "目标主机:LocalHost\r\n现在不可到达!", 50, "网络状态监测未启动", 137, {}, {}},
        {"host without a name: off", "[HOSTSTATUS]\nMONITOR=1\nHOSTNAME=\nINTERVAL=2\n",
         [](M& m) { m.HostAnswers(false); }, 0, IDOK, TIMER_HOST, false, "", "", 0, "网络状态监测未启动", 135, {}, {}},
        {"two new mails", kMail, [](M& m) { m.pop3.SetStatCount(2); }, 0, IDOK, TIMER_MAIL, true,
         "邮件监测器 15:02", "邮件服务器127.0.0.1\r\n收到2封新邮件!", 30, "有2封邮件", 135, {}, {}},
        {"login refused, go on", kMail, refused, 0, IDOK, TIMER_MAIL, true, "邮件监测器配置", kQuestion, 30,
         "没有新邮件", 135, {}, {}},
        {"login refused, stop", kMail, refused, 0, IDCANCEL, TIMER_MAIL, false, "邮件监测器配置", kQuestion, 30,
         "邮件监测未启动", 135, {}, {}},
        {"no count in STAT: off silently", kMail, [](M& m) { m.pop3.SetStatReply("+OK no count today\r\n"); }, 0,
         IDOK, TIMER_MAIL, false, "", "", 0, "邮件监测未启动", 135, {}, {}},
        {"QUIT refused: the count is ignored", kMail,
         [](M& m) { m.pop3.SetStatCount(4), m.Pop3(&Pop3Responder::Script::quit, "-ERR not updated\r\n"); }, 0,
         IDOK, TIMER_MAIL, true, "", "", 0, "没有新邮件", 135, {}, {}},
        {"mail off", "[MAIL]\nCHECK=0\nSERVER=127.0.0.1\n", [](M& m) { m.pop3.SetStatCount(2); }, 0, IDOK,
         TIMER_MAIL, false, "", "", 0, "邮件监测未启动", 135, {}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Monitors m(r.ini);
        r.network(m);
        m.shell.dialogs.answers = {r.answer};
        if (r.command)
            m.Command(r.command);
        else
            m.Minutes(2);
        ASSERT_EQ(m.Prompts(), r.title.empty() ? 0u : 1u);
        if (!r.title.empty()) {
            const CRemindDlg& prompt = m.shell.dialogs.shown[0];
            EXPECT_EQ(prompt.m_strTitle, r.title);
            EXPECT_EQ(prompt.m_strMessage, r.message);
            EXPECT_EQ(prompt.m_nCountdown, r.countdown);
            EXPECT_TRUE(prompt.m_bAnimated);
        }
        EXPECT_EQ(m.shell.window.Period(r.timer), r.running ? 120000u : 0u);
        EXPECT_TRUE(m.TipHas(std::string("\n") + r.tip)) << m.Tip();
        EXPECT_EQ(m.shell.tray.icons.at(0).iconResource, r.icon);
        EXPECT_EQ(m.shell.system.sounds, r.sounds);
        EXPECT_EQ(m.shell.system.opened, r.opened);
    }
}

// Check after check: a prompt only for news, and the tip tells it before the prompt does.
TEST_F(MonitorTest, APromptOnlyForNews) {
    using M = Monitors;
    struct Step {
        std::function<void(M&)> network;
        std::string message;  // of the prompt; none when empty
        std::string tip;
    };
    const auto page = [](const char* body) { return [=](M& m) { m.Page(body); }; };
    const auto host = [](bool answers) { return [=](M& m) { m.HostAnswers(answers); }; };
    const auto mails = [](int n) { return [=](M& m) { m.pop3.SetStatCount(n); }; };
    const auto news = [](int n) { return "邮件服务器127.0.0.1\r\n收到" + std::to_string(n) + "封新邮件!"; };
    const struct {
        const char* ini;
        std::vector<Step> steps;
    } monitors[] = {
        {kWeb, {{page("v1"), kChanged, "网页监测已启动"}, {page("v1"), "", "网页监测已启动"},
                {page("v2"), kChanged, "网页监测已启动"}}},
        {kHost, {{host(true), "", "网络状态:可连接"},
                 {host(false), "目标主机:localhost\r\n现在不可到达!", "网络状态:不可连接"},
                 {host(false), "", "网络状态:不可连接"},
                 {host(true), "目标主机:localhost \r\n现在可以访问了!", "网络状态:可连接"}}},
        {kMail, {{mails(2), news(2), "有2封邮件"}, {mails(2), "", "有2封邮件"}, {mails(1), "", "有1封邮件"},
                 {mails(5), news(5), "有5封邮件"}, {mails(0), "", "没有新邮件"}}},
    };
    for (const auto& monitor : monitors) {
        Monitors m(monitor.ini);
        std::string tipAtPrompt;
        m.shell.dialogs.during = [&](CRemindDlg&) { tipAtPrompt = m.Tip(); };
        for (size_t i = 0; i < monitor.steps.size(); ++i) {
            SCOPED_TRACE(std::string(monitor.ini) + " step " + std::to_string(i));
            const Step& step = monitor.steps[i];
            const size_t before = m.Prompts();
            step.network(m);
            m.Minutes(2);
            ASSERT_EQ(m.Prompts(), before + (step.message.empty() ? 0 : 1));
            EXPECT_TRUE(m.TipHas("\n" + step.tip)) << m.Tip();
            if (step.message.empty()) continue;
            EXPECT_EQ(m.shell.dialogs.shown.back().m_strMessage, step.message);
            EXPECT_EQ(tipAtPrompt, m.Tip());
        }
    }
}

const struct {
    const char* ini;
    void (*news)(Monitors&);
    int command, timer;
} kEachMonitor[] = {
    {kWeb, [](Monitors& m) { m.Page("v1"); }, kCheckWeb, TIMER_HOMEPAGE},
    {kHost, [](Monitors& m) { m.HostAnswers(false); }, kCheckHost, TIMER_HOST},
    {kMail, [](Monitors& m) { m.pop3.SetStatCount(1); }, kCheckMail, TIMER_MAIL},
};

// The GUI thread never waits on the network: the rest counts down while a check is out, and
// neither the timer nor the menu starts a second one meanwhile.
TEST_F(MonitorTest, OneCheckAtATimeWhileTheRestCountsDown) {
    for (const auto& monitor : kEachMonitor) {
        SCOPED_TRACE(monitor.ini);
        Monitors m(monitor.ini);
        monitor.news(m);
        m.shell.background.manual = true;
        m.Minutes(2);
        ASSERT_EQ(m.shell.background.jobs.size(), 1u);
        m.dlg->StartRest();
        const int left = m.dlg->m_nRestLeft;
        m.Seconds(3);
        EXPECT_EQ(m.dlg->m_nRestLeft, left - 3);
        m.dlg->OnCommand(monitor.command);
        m.dlg->OnTimer(monitor.timer);
        EXPECT_EQ(m.shell.background.started, 1);
        EXPECT_EQ(m.Prompts(), 0u) << "nothing changes before the check is done";
        m.shell.background.Finish();
        EXPECT_EQ(m.Prompts(), 1u);
        EXPECT_EQ(m.shell.window.Period(monitor.timer), 120000u);
    }
}

TEST_F(MonitorTest, APromptDuringTheLockLeavesTheLock) {
    for (const auto& monitor : kEachMonitor) {
        SCOPED_TRACE(monitor.ini);
        Monitors m(monitor.ini);
        m.dlg->LockScreen();
        monitor.news(m);
        m.Minutes(2);
        ASSERT_EQ(m.Prompts(), 1u);
        EXPECT_TRUE(m.dlg->m_bLocked);
        EXPECT_EQ(m.shell.window.show, fake::FakeWindow::Show::FullScreen);
        EXPECT_TRUE(m.shell.system.Restricted());
    }
}

// The work of a check still out at exit runs on copies of its own: done never runs once the
// window is gone, so the work is all that is left.
TEST_F(MonitorTest, ChecksStillOutAtExitTouchNothingOfTheProgram) {
    Monitors m(std::string(kWeb) + kHost + kMail);
    for (const auto& monitor : kEachMonitor) monitor.news(m);
    m.shell.background.manual = true;
    for (int command : {kCheckWeb, kCheckHost, kCheckMail, kCheckUpdate}) m.dlg->OnCommand(command);
    ASSERT_EQ(m.shell.background.jobs.size(), 4u);
    m.dlg.reset();
    for (const auto& job : m.shell.background.jobs) job.work();
    EXPECT_EQ(m.shell.http->Urls(), (Strings{kPage, "http://www.lumivar.com.cn/lumivar/update.ini",
                                             "http://lumivar.github.io/update.ini"}));
    EXPECT_EQ(m.shell.icmp.script->sent.size(), 5u);
    EXPECT_EQ(m.pop3.Received(), (Strings{"USER alice", "PASS ######", "STAT", "QUIT"}));
}

// --- The host monitor ---

// What one check sends and what it concludes; a library without its functions also says so.
TEST_F(MonitorTest, HostEchoesAndWhatTheyMean) {
    const EchoReply out = EchoScript::TimedOut(), in = EchoScript::Answer(AddressOf(127, 0, 0, 1));
    EchoReply refused{};
    refused.status = 11003;
    using State = IEchoSession::State;
    const struct {
        const char* what;
        std::string host;
        State state;
        std::deque<std::optional<EchoReply>> replies;  // then answers for good
        bool reachable;
        size_t sent, boxes;
    } rows[] = {
        {"answer at once", "localhost", State::Ready, {in}, true, 1, 0},
        {"four failures then an answer", "localhost", State::Ready, {out, out, out, out}, true, 5, 0},
        {"five failures", "localhost", State::Ready, {out, out, out, out, out}, false, 5, 0},
        {"11003 each time", "localhost", State::Ready, {refused, refused, refused, refused, refused}, false, 5, 0},
        {"11003 then an answer", "localhost", State::Ready, {refused}, true, 2, 0},
        {"no record written", "localhost", State::Ready, {{}, {}, {}, {}, {}}, false, 5, 0},
        {"no ICMP library", "localhost", State::NoLibrary, {}, false, 0, 0},
        {"no handle", "localhost", State::NoHandle, {}, false, 0, 0},
        {"library without its functions", "localhost", State::MissingFunctions, {}, false, 0, 1},
        {"a name that does not resolve", "no.such.host", State::Ready, {}, false, 0, 0},
        {"an address with http://", "http://127.0.0.1", State::Ready, {}, false, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Monitors m("[HOSTSTATUS]\nMONITOR=1\nINTERVAL=2\nHOSTNAME=" + r.host + "\n");
        EchoScript& echo = *m.shell.icmp.script;
        echo.state = r.state;
        echo.replies = r.replies;
        echo.standing = in;
        m.dlg->m_bHostReachable = !r.reachable;  // so that the outcome shows as a change
        m.Minutes(2);
        EXPECT_EQ(echo.sent.size(), r.sent);
        for (const auto& sent : echo.sent)
            EXPECT_TRUE(sent.address == AddressOf(127, 0, 0, 1) && sent.payload == std::string(40, 'G') &&
                        sent.timeoutMs == 5000u);
        EXPECT_EQ(echo.closed, echo.opened) << "the ICMP session ends with its check";
        EXPECT_EQ(m.dlg->m_bHostReachable, int(r.reachable));
        EXPECT_EQ(m.Prompts(), 1u);
        EXPECT_EQ(m.shell.dialogs.messages, std::vector(r.boxes, std::pair<std::string, std::string>("error", "Lumivar")));
        m.Minutes(2);
        EXPECT_EQ(m.shell.dialogs.messages.size(), 2 * r.boxes) << "once per check, not per change";
    }
}

TEST_F(MonitorTest, HostEmptyNameOrATickDuringThePromptStartsNoCheck) {
    Monitors m(kHost);
    EXPECT_FALSE(m.dlg->CheckHostStatus(""));
    EXPECT_EQ(m.shell.icmp.script->opened, 0);
    m.HostAnswers(false);
    bool started = true;
    m.shell.dialogs.during = [&](CRemindDlg&) { started = m.dlg->CheckHostStatus("localhost"); };
    m.Minutes(2);
    ASSERT_EQ(m.Prompts(), 1u);
    EXPECT_FALSE(started) << "the prompt's own loop still delivers timer 4";
    EXPECT_EQ(m.shell.background.started, 1);
}

// The settings step stores and switches, keeps the state and never checks.
TEST_F(MonitorTest, HostSettingsStep) {
    const struct {
        const char* what;
        int monitor, interval;
        const char* host;
        int storedMonitor;
        const char* storedHost;
        const char* tip;
    } rows[] = {
        {"unchanged", 1, 2, "localhost", 1, "localhost", nullptr},
        {"new host, trimmed", 1, 5, "  fileserver \t", 1, "fileserver", "网络状态:不可连接"},
        {"blanks only", 1, 2, "   ", 0, "", "网络状态监测未启动"},
        {"interval 0", 1, 0, "localhost", 0, "localhost", "网络状态监测未启动"},
        {"switched off", 0, 2, "localhost", 0, "localhost", "网络状态监测未启动"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Monitors m(kHost);
        m.dlg->m_bHostReachable = 0;
        m.shell.window.timers[TIMER_HOST].due = 1;  // a timer armed again gets a due time of its own
        const size_t trayCalls = m.shell.tray.log.size();
        m.dlg->ApplyHostSettings(r.monitor, r.interval, r.host);
        EXPECT_EQ(m.dlg->m_bHostMonitor, r.storedMonitor);
        EXPECT_EQ(m.dlg->m_strHostName, r.storedHost);
        EXPECT_EQ(m.dlg->m_bHostReachable, 0);
        EXPECT_EQ(m.shell.icmp.script->opened, 0);
        if (!r.tip) {
            EXPECT_EQ(m.shell.tray.log.size(), trayCalls) << "nothing at all happens";
            EXPECT_EQ(m.shell.window.timers[TIMER_HOST].due, 1u);
            continue;
        }
        EXPECT_TRUE(m.TipHas(std::string("\n") + r.tip)) << m.Tip();
        EXPECT_EQ(m.shell.window.Period(TIMER_HOST), r.storedMonitor ? r.interval * 60000u : 0u);
    }
}

TEST(NetworkPage, FieldsFollowTheCheckBoxAndTheIntervalLiesBetweenOneAndOneHundredTwenty) {
    CNetworkPage page;
    EXPECT_EQ(page.m_nHostInterval, 2);
    EXPECT_FALSE(page.FieldsEnabled());
    page.OnHostMonitorClicked();
    EXPECT_TRUE(page.FieldsEnabled());
    for (auto [interval, ok] : {std::pair{0, false}, {1, true}, {120, true}, {121, false}, {240, false}}) {
        page.m_nHostInterval = interval;
        std::string message;
        EXPECT_EQ(page.ValidateInterval(message), ok) << interval;
        EXPECT_EQ(message, ok ? "" : "Please enter an integer between 1 and 120.") << interval;
    }
    Settings s;
    s.m_bHostMonitor = 0, s.m_nHostInterval = 7, s.m_strHostName = "192.168.0.1";
    page.FromSettings(s);
    EXPECT_EQ(std::tie(page.m_bHostMonitor, page.m_nHostInterval, page.m_strHostName),
              std::make_tuple(0, 7, std::string("192.168.0.1")));
}

// --- The mail monitor ---

TEST_F(MonitorTest, MailStartUpGivesTheClientItsAccountAndChecksOneIntervalLater) {
    WriteIni("[MAIL]\nCHECK=1\nINTERVAL=2\nSERVER=127.0.0.1\nUSER=张三\n");
    StartWorking();
    const CPop3Connection& client = dlg->MailMonitor().Client();
    EXPECT_EQ(client.GetServer(), "127.0.0.1");
    EXPECT_EQ(client.GetPort(), 110);
    EXPECT_EQ(client.GetUser(), "张三");
    EXPECT_EQ(client.GetPassword(), "######");
    Pop3Responder pop3;
    dlg->MailMonitor().UsePortForTests(pop3.Port());
    Seconds(119);
    EXPECT_EQ(shell.background.started, 0);
    Seconds(1);
    EXPECT_EQ(pop3.Received(), (Strings{"USER \xD5\xC5\xC8\xFD", "PASS ######", "STAT", "QUIT"}));
}

// The mail icon's menu dismisses the notice; mail still waiting is announced again.
TEST_F(MonitorTest, MailIconAndItsNotice) {
    Monitors m(kMail);
    m.pop3.SetStatCount(3);
    m.Command(kCheckMail);
    ASSERT_EQ(m.shell.tray.icons.count(1), 1u);
    EXPECT_EQ(m.shell.tray.icons.at(1), (TrayIcon{1, 0x402, 147, "您有3封新邮件!"}));
    for (unsigned mouse : {0x202u, 0x205u, 0x203u, 0x200u}) m.dlg->OnMailTrayNotify(1, mouse);
    EXPECT_EQ(m.shell.tray.menus, (std::vector<fake::FakeTray::Menu>{{148, 0, 0, false}, {148, 0, 0, false}}));
    m.dlg->OnCommand(kMailNoticeOk);
    EXPECT_EQ(m.shell.tray.icons.count(1), 0u);
    EXPECT_TRUE(m.TipHas("\n没有新邮件"));
    m.Minutes(2);
    ASSERT_EQ(m.Prompts(), 2u);
    EXPECT_EQ(m.shell.dialogs.shown.back().m_strMessage, "邮件服务器127.0.0.1\r\n收到3封新邮件!");
    EXPECT_EQ(m.shell.tray.icons.at(1).tip, "您有3封新邮件!");
}

// Any of the five values changed checks at once, and the timer is armed only after a check
// that succeeded; nothing changed, or switched off, checks nothing.
TEST_F(MonitorTest, MailSettingsStep) {
    const struct {
        const char* what;
        std::function<void(MailSettings&)> edit;
        const char* stat;
        int checks;
        bool running;
    } rows[] = {
        {"unchanged", [](MailSettings&) {}, "+OK 2 0\r\n", 0, true},
        {"interval", [](MailSettings& s) { s.nMailInterval = 7; }, "+OK 2 0\r\n", 1, true},
        {"password", [](MailSettings& s) { s.strMailPass = "secret2"; }, "+OK 2 0\r\n", 1, true},
        {"server", [](MailSettings& s) { s.strMailServer = "localhost"; }, "+OK 2 0\r\n", 1, true},
        {"user", [](MailSettings& s) { s.strMailUser = "bob"; }, "+OK 2 0\r\n", 1, true},
        {"user, the STAT fails", [](MailSettings& s) { s.strMailUser = "bob"; }, "-ERR locked\r\n", 1, false},
        {"switched off", [](MailSettings& s) { s.bMailCheck = 0; }, "+OK 2 0\r\n", 0, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Monitors m(kMail);
        m.pop3.SetStatReply(r.stat);
        MailSettings edited = m.Mail();
        r.edit(edited);
        m.shell.window.KillTimer(TIMER_MAIL);
        m.dlg->ApplyMailSettings(edited);
        m.shell.background.Finish();
        EXPECT_EQ(m.shell.background.started, r.checks);
        EXPECT_EQ(m.shell.window.Period(TIMER_MAIL), r.running && r.checks ? edited.nMailInterval * 60000u : 0u);
        EXPECT_EQ(m.pop3.Received().empty() ? "" : m.pop3.Received()[0], r.checks ? "USER " + edited.strMailUser : "");
        EXPECT_EQ(m.dlg->m_bMailCheck, r.running);
        EXPECT_EQ(m.TipHas("\n邮件监测未启动"), !r.running);
    }
    Monitors m("[MAIL]\nCHECK=0\n");  // switched on again
    m.pop3.SetStatCount(1);
    m.dlg->ApplyMailSettings({1, 2, "", "127.0.0.1", "alice"});
    m.shell.background.Finish();
    EXPECT_EQ(m.dlg->m_nNewMail, 1);
    EXPECT_TRUE(m.shell.window.Running(TIMER_MAIL));
}

// What a check of the old account finds is dropped; one with the new account follows.
TEST_F(MonitorTest, MailSettingsChangedWhileACheckIsOut) {
    Monitors m(kMail);
    m.pop3.SetStatCount(2);
    m.shell.background.manual = true;
    m.dlg->OnCheckMail();
    MailSettings edited = m.Mail();
    edited.strMailUser = "bob";
    m.dlg->ApplyMailSettings(edited);
    EXPECT_EQ(m.shell.background.started, 1);
    m.pop3.SetStatCount(3);
    m.shell.background.Finish();
    EXPECT_EQ(m.shell.background.started, 2);
    const Strings received = m.pop3.Received();
    ASSERT_EQ(received.size(), 8u);
    EXPECT_EQ(received[4], "USER bob");
    ASSERT_EQ(m.Prompts(), 1u) << "only the new account's check reports";
    EXPECT_EQ(m.shell.dialogs.shown[0].m_strMessage, "邮件服务器127.0.0.1\r\n收到3封新邮件!");
    EXPECT_TRUE(m.shell.window.Running(TIMER_MAIL));
}

}  // namespace
}  // namespace lumivar::test
