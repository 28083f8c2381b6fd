// The web page, host and mail monitors on the fake shell: what a check finds, and what the
// user then sees.
#include "app/AppFixture.h"

namespace lumivar::test {
namespace {

using M = Monitors;
using fake::EchoScript;
constexpr const char* kQuestion =
    "邮件监测器配置 (30): 网络连接或账户认证失败，可能是其他邮件程序正在进行认证。请检查您的邮箱设置和网络设置的有效性!"
    "在确认之后请选择：\r\n是否继续监测？\n";
constexpr const char* kChanged = "目标网页: http://h.test/page\r\n 已经改变! \r\n现在就去察看?\n";

std::string Lost(const char* at, const char* host) {
    return std::string("网络连接状态 ") + at + " (50): 目标主机:" + host + "\r\n现在不可到达!\n";
}
std::string News(const char* at, int n) {
    return std::string("邮件监测器 ") + at + " (30): 邮件服务器127.0.0.1\r\n收到" + std::to_string(n) + "封新邮件!\n";
}

class MonitorTest : public AppTest {};

// Each monitor's story, check after check (by its timer two minutes on, or from the menu):
// a prompt only for news, what the tip says and whether the timer runs. The page's sound
// plays even with the sounds off; an OK changes nothing the prompt announced.
TEST_F(MonitorTest, CheckAfterCheck) {
    struct Step {
        std::function<void(M&)> network;
        std::string seen;  // the prompt; none when empty
        const char* tip;   // a line of the main icon's tip
        bool running = true;
        int command = 0, answer = IDOK;
    };
    const auto page = [](const char* body, int status = 200) { return [=](M& m) { m.Page(body, status); }; };
    const auto host = [](bool answers) { return [=](M& m) { m.HostAnswers(answers); }; };
    const auto fifthAnswers = [](M& m) {  // up to five echoes decide
        m.HostAnswers(true);
        m.shell.icmp.script->replies.assign(4, EchoScript::TimedOut());
    };
    const auto mails = [](int n) { return [=](M& m) { m.Mails(n); }; };
    const auto pop3 = [](const char* word, const char* reply) { return [=](M& m) { m.Pop3(word, reply), m.Mails(4); }; };
    const auto changed = [](const char* at) { return std::string("网页内容 ") + at + " (30): " + kChanged; };
    const char *web = "网页监测已启动", *up = "网络状态:可连接", *down = "网络状态:不可连接";
    const struct {
        std::string ini;
        int timer;
        std::vector<Step> steps;
        Strings opened = {};  // at the end
    } stories[] = {
        {kWeb, TIMER_HOMEPAGE, {{page("v1"), changed("15:02"), web}, {page("v1"), "", web}, {page("v2"), changed("15:06"), web},
                {page("gone", 404), "", web},  // silently, and tried again at the next interval
                {page("back"), changed("15:10"), web, true, 0, IDCANCEL}, {page("back"), "", web, true, kCheckWeb}},
         {kPage, kPage}},
        {kHost, TIMER_HOST, {{host(true), "", up}, {host(false), Lost("15:04", "localhost"), down}, {host(false), "", down},
                 {fifthAnswers, "网络连接状态 15:08 (50): 目标主机:localhost \r\n现在可以访问了!\n", up}}},
        {"[HOSTSTATUS]\nMONITOR=0\nHOSTNAME=LocalHost\nINTERVAL=3\n", TIMER_HOST,
         {{host(false), Lost("15:00", "LocalHost"), "网络状态监测未启动", false, kCheckHost}}},
        {kMail, TIMER_MAIL, {{mails(2), News("15:02", 2), "有2封邮件"}, {mails(2), "", "有2封邮件"}, {mails(1), "", "有1封邮件"},
                 {mails(5), News("15:08", 5), "有5封邮件"},
                 {pop3("QUIT", "-ERR not updated\r\n"), "", "有5封邮件"},  // the count is ignored
                 {pop3("PASS", "-ERR no\r\n"), kQuestion, "有5封邮件"},
                 {pop3("PASS", "-ERR no\r\n"), kQuestion, "邮件监测未启动", false, 0, IDCANCEL}}},
        {kMail, TIMER_MAIL, {{[](M& m) { m.Pop3("STAT", "+OK no count\r\n"); }, "", "邮件监测未启动", false}}},
    };
    for (const auto& story : stories) {
        M m(story.ini + "[SOUND]\nPLAYSOUND=0\n");
        std::map<int, TrayIcon> iconsAtPrompt;
        m.shell.dialogs.during = [&](CRemindDlg&) { iconsAtPrompt = m.shell.tray.icons; };
        for (size_t i = 0; i < story.steps.size(); ++i) {
            SCOPED_TRACE(story.ini + " step " + std::to_string(i));
            const Step& step = story.steps[i];
            const std::string before = m.Seen();
            step.network(m);
            m.shell.dialogs.answers = {step.answer};
            step.command ? m.Command(step.command) : m.Minutes(2);
            EXPECT_EQ(m.Seen(), before + step.seen);
            EXPECT_TRUE(m.TipHas(std::string("\n") + step.tip)) << m.Tip();
            EXPECT_EQ(m.shell.window.Period(story.timer), step.running ? 120000u : 0u);
            EXPECT_TRUE(step.seen.empty() || step.answer != IDOK || iconsAtPrompt == m.shell.tray.icons);
        }
        EXPECT_EQ(m.shell.system.opened, story.opened);
        const size_t pages = story.timer == TIMER_HOMEPAGE ? m.Prompts() : 0;
        EXPECT_EQ(m.shell.system.sounds, Sounds(pages, {"Remind.wav", 0x20001}));
    }
}

const struct {
    const char* ini;
    void (*news)(M&);
    int command, timer;
} kEachMonitor[] = {
    {kWeb, [](M& m) { m.Page("v1"); }, kCheckWeb, TIMER_HOMEPAGE},
    {kHost, [](M& m) { m.HostAnswers(false); }, kCheckHost, TIMER_HOST},
    {kMail, [](M& m) { m.Mails(1); }, kCheckMail, TIMER_MAIL},
};

// The GUI thread never waits on the network: the rest counts down while a check is out, and
// neither the timer nor the menu starts a second one meanwhile. A prompt leaves the lock.
TEST_F(MonitorTest, OneCheckAtATimeWhileTheRestCountsDownOrTheScreenIsLocked) {
    for (const auto& monitor : kEachMonitor) {
        SCOPED_TRACE(monitor.ini);
        M m(monitor.ini);
        monitor.news(m);
        m.shell.background.manual = true;
        m.Minutes(2);
        ASSERT_EQ(m.shell.background.jobs.size(), 1u);
        m.dlg->StartRest();
        const int left = m.dlg->Cycle().RestLeft();
        m.Seconds(3);
        EXPECT_EQ(m.dlg->Cycle().RestLeft(), left - 3);
        m.dlg->OnCommand(monitor.command);
        m.dlg->OnTimer(monitor.timer);
        EXPECT_EQ(m.shell.background.started, 1);
        EXPECT_EQ(m.Prompts(), 0u) << "nothing changes before the check is done";
        m.dlg->LockScreen();
        m.shell.background.Finish();
        EXPECT_EQ(m.Prompts(), 1u);
        EXPECT_EQ(m.shell.window.Period(monitor.timer), 120000u);
        EXPECT_TRUE(m.dlg->Cycle().Locked() && m.shell.system.Restricted());
    }
}

// A check still out at exit works on copies of its own: done never runs once the window is
// gone, so the work is all that is left.
TEST_F(MonitorTest, ChecksStillOutAtExitTouchNothingOfTheProgram) {
    M m(std::string(kWeb) + kHost + kMail);
    for (const auto& monitor : kEachMonitor) monitor.news(m);
    m.shell.background.manual = true;
    for (int command : {kCheckWeb, kCheckHost, kCheckMail, kCheckUpdate}) m.dlg->OnCommand(command);
    ASSERT_EQ(m.shell.background.jobs.size(), 4u);
    m.dlg.reset();
    for (const auto& job : m.shell.background.jobs) job.work();
    EXPECT_EQ(m.shell.http->Urls().size(), 3u);
    EXPECT_EQ(m.shell.icmp.script->sent.size(), 5u);
    EXPECT_EQ(m.shell.tcp->Connections(), Strings{"127.0.0.1:110"});
    EXPECT_EQ(m.shell.tcp->Received(), (Strings{"CAPA", "USER \xD5\xC5\xC8\xFD", "PASS ######", "STAT", "QUIT"})) << "in GBK";
}

// No host check starts for an empty name, nor from a tick during the prompt (whose own loop still
// delivers timer 4). A library without its functions sends no echo and says so, once per check.
TEST_F(MonitorTest, HostChecksThatCannotRun) {
    M m(kHost);
    EchoScript& echo = *m.shell.icmp.script;
    EXPECT_FALSE(m.dlg->CheckHostStatus(""));
    EXPECT_EQ(echo.opened, 0);
    m.HostAnswers(false);
    bool started = true;
    m.shell.dialogs.during = [&](CRemindDlg&) { started = m.dlg->CheckHostStatus("localhost"); };
    m.Minutes(2);
    ASSERT_EQ(m.Prompts(), 1u);
    EXPECT_FALSE(started);
    EXPECT_EQ(m.shell.background.started, 1);
    echo.state = IEchoSession::State::MissingFunctions;
    const size_t sent = echo.sent.size();
    m.Minutes(4);
    EXPECT_EQ(echo.sent.size(), sent);
    EXPECT_EQ(echo.closed, echo.opened) << "the ICMP session ends with its check";
    EXPECT_EQ(m.shell.dialogs.messages, std::vector(2, std::pair<std::string, std::string>("error", "Lumivar")));
}

// The settings step for the host and mail, with nothing out, with a check out, or from inside the question
// after a failed mail check. Unchanged, nothing happens; a change restarts or stops the timer. The host keeps
// its state unchecked; a check out for another host or a monitor switched off brings nothing, one out while
// only the interval changed still counts. Mail is checked at once, its timer back only on success; the
// question is about the old settings, so its answer changes nothing.
TEST_F(MonitorTest, SettingsStep) {
    enum When { Idle, Out, Asking };
    const auto host = [](int on, int minutes, const char* name) {
        return [=](M& m) { m.dlg->ApplyHostSettings(on, minutes, name); };
    };
    const auto mail = [](void (*edit)(MailSettings&), const char* stat = "+OK 0 0\r\n") {
        return [=](M& m) { MailSettings s = m.Mail(); edit(s), m.Pop3("STAT", stat), m.dlg->ApplyMailSettings(s); };
    };
    const auto bob = [](MailSettings& s) { s.strMailUser = "bob"; };
    const std::string zhang = "USER \xD5\xC5\xC8\xFD";  // in GBK
    const struct {
        const char* ini;
        When when;
        std::function<void(M&)> apply;
        int checks;        // started in all
        uint32_t minutes;  // the timer's period afterwards; 0: stopped
        const char* tip;   // nullptr: untouched
        std::string seen = {};
        Strings heard = {};  // by the mail server
    } rows[] = {
        {kHost, Idle, host(1, 2, "localhost"), 0, 2, nullptr},
        {kHost, Idle, host(1, 5, "  fileserver \t"), 0, 5, "网络状态:可连接"},
        {kHost, Idle, host(1, 2, "   "), 0, 0, "网络状态监测未启动"},
        {kMail, Idle, mail([](MailSettings&) {}), 0, 2, nullptr},
        {kMail, Idle, mail([](MailSettings& s) { s.nMailInterval = 7; }), 1, 7, "没有新邮件", "",
         {"CAPA", zhang, "PASS ######", "STAT", "QUIT"}},
        {kMail, Idle, mail(bob, "-ERR locked\r\n"), 1, 0, "邮件监测未启动", "", {"CAPA", "USER bob", "PASS ######", "STAT"}},
        {kMail, Idle, mail([](MailSettings& s) { s.bMailCheck = 0; }), 0, 0, "邮件监测未启动"},
        {kHost, Out, host(0, 2, "localhost"), 1, 0, "网络状态监测未启动"},
        {kHost, Out, host(1, 2, "fileserver"), 1, 2, "网络状态:可连接"},
        {kHost, Out, host(1, 5, "localhost"), 1, 5, "网络状态:不可连接", Lost("15:02", "localhost")},
        {kMail, Out, mail(bob, "+OK 3 3600\r\n"), 2, 2, "有3封邮件", News("15:02", 3),
         {"CAPA", zhang, "PASS ######", "STAT", "QUIT", "CAPA", "USER bob", "PASS ######", "STAT", "QUIT"}},
        {kMail, Asking, mail([](MailSettings& s) { s.strMailUser = "bob", s.nMailInterval = 3; }), 2, 3, "没有新邮件",
         kQuestion, {"CAPA", zhang, "PASS ######", "CAPA", "USER bob", "PASS ######", "STAT", "QUIT"}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const auto& r = rows[i];
        M m(r.ini);
        const std::string tip = m.Tip();
        if (r.when == Out) {
            m.HostAnswers(false), m.Mails(3);
            m.shell.background.manual = true;
            m.Minutes(2);
            ASSERT_EQ(m.shell.background.jobs.size(), 1u);
        }
        m.shell.calls.clear();
        if (r.when == Asking) {
            m.Pop3("PASS", "-ERR no\r\n");
            m.shell.dialogs.during = [&, asked = 0](CRemindDlg&) mutable { if (!asked++) r.apply(m); };
            m.shell.dialogs.answers = {IDCANCEL};
            m.Minutes(2);
        } else {
            r.apply(m);
        }
        m.shell.background.Finish();
        EXPECT_EQ(m.shell.background.started, r.checks);
        EXPECT_EQ(m.shell.icmp.script->opened, r.ini == kHost ? r.checks : 0);
        EXPECT_EQ(m.Seen(), r.seen);
        EXPECT_EQ(m.shell.window.Period(r.ini == kHost ? TIMER_HOST : TIMER_MAIL), r.minutes * 60000);
        EXPECT_EQ(m.shell.calls.empty(), !r.tip) << "the timer is set again only after a change";
        EXPECT_TRUE(r.tip ? m.TipHas(std::string("\n") + r.tip) : m.Tip() == tip) << m.Tip();
        EXPECT_EQ(m.shell.tcp->Received(), r.heard);
        EXPECT_EQ(m.dlg->Config().m_strHostName.find_first_of(" \t"), std::string::npos) << "names are kept trimmed";
    }
}

}  // namespace
}  // namespace lumivar::test
