// The web page monitor's settings step, and the update check, on the fake shell.
#include "app/AppFixture.h"
#include "base/Strings.h"

namespace lumivar::test {
namespace {

using Outcome = HttpReply::Outcome;
constexpr const char* kMeProxy = "Proxy-authorization: Basic bWU6cHc=\r\n";

class WebMonitorTest : public AppTest {};

// A change fetches a baseline, which never prompts; a failed one tells the user and switches the
// monitor off for good. Nothing changed does nothing at all; switched off, the stored page is
// emptied. The proxy credentials of the file go along from the first check on, and edited ones once applied.
TEST_F(WebMonitorTest, SettingsStep) {
    Monitors m(std::string(kWeb) + "PROXY=1\nUSER=me\n");
    m.Command(kCheckWeb);
    m.shell.background.Finish();
    ASSERT_FALSE(m.shell.http->Requests().empty());
    EXPECT_EQ(m.shell.http->Requests().back().proxyHeaders, "Proxy-authorization: Basic bWU6\r\n");  // "me:"
    HomepageSettings edited = m.dlg->HomepageMonitor().Current();
    edited.strAddress = "http://nowhere.test/";
    m.dlg->ApplyHomepageSettings(edited);
    EXPECT_EQ(m.shell.window.Period(TIMER_HOMEPAGE), 0u) << "no check against the old baseline meanwhile";
    m.shell.background.Finish();
    EXPECT_EQ(m.Seen(), "网页监测配置 (30): 请检查您的目标网址的有效性，以及您的网络配置的正确性!\r\n"
                        "由于网络连接出现错误，网页监测服务已终止。\n");
    EXPECT_EQ(m.shell.window.Period(TIMER_HOMEPAGE), 0u);
    EXPECT_TRUE(m.TipHas("\n网页监测未启动"));
    EXPECT_NE(m.IniText().find("WATCH=0"), std::string::npos);
    EXPECT_NE(m.IniText().find("ADDRESS=http://nowhere.test/"), std::string::npos);

    m.Page("same");
    edited.strAddress = kPage, edited.nInterval = 3, edited.strProxyPass = "pw";
    m.dlg->ApplyHomepageSettings(edited);
    m.shell.background.Finish();
    EXPECT_EQ(m.shell.http->Requests().back().proxyHeaders, kMeProxy);
    EXPECT_EQ(m.shell.window.Period(TIMER_HOMEPAGE), 3 * 60000u);
    m.Minutes(3);
    m.shell.calls.clear();
    m.dlg->ApplyHomepageSettings(edited);
    EXPECT_EQ(m.shell.calls, Strings{}) << "no fetch, and the timer is not set again";
    EXPECT_EQ(m.Prompts(), 1u) << "a baseline never prompts, and the next check needs a real change";

    edited.bWatch = edited.bProxy = 0;
    m.dlg->ApplyHomepageSettings(edited);
    EXPECT_EQ(m.shell.window.Period(TIMER_HOMEPAGE), 0u);
    EXPECT_TRUE(m.TipHas("\n网页监测未启动"));
    m.Command(kCheckWeb);
    EXPECT_EQ(m.Prompts(), 2u) << "the same page counts as changed after the switch-off";
    EXPECT_EQ(m.shell.http->Requests().back().proxyHeaders, "");
}

constexpr const char* kFileA = "http://www.lumivar.com.cn/lumivar/update.ini";
constexpr const char* kFileB = "http://lumivar.github.io/update.ini";
const std::string kNewerText = "V1.26 2005新春版 Build01.20";
const std::string kOurs = Utf8ToGbk(kVersionText), kNewer = Utf8ToGbk(kNewerText);

// From the menu every answer is told, and a menu check asked for while the automatic one is out
// joins it. By itself, ten minutes after the start, only a newer version is told, and once. Either
// way the proxy account goes along and a pending automatic check is dropped.
TEST_F(WebMonitorTest, UpdateCheck) {
    enum How { kMenu, kJoin, kItself };
    const auto got = [](const std::string& body) {
        HttpReply reply;
        reply.outcome = Outcome::Complete, reply.status = 200, reply.body = body;
        return reply;
    };
    const HttpReply ours = got(kOurs), newer = got(kNewer), none;
    const std::string sorry = "抱歉 (30): 由于网络连接的状况或其他原因，现在不能确定您所用的软件是否最新的版本! 请稍侯再试\n";
    const std::string latest = "恭喜 (30): 您所用的软件是当前最新版本! enjoy!\n";
    const auto asked = [](const std::string& version) {
        return "本软件有更新版本 (30): 最新的版本为" + version + "\r\n而这个版本是" + kVersionText +
               " \r\n现在就去软件主页进行下载升级？\r\n(提示：升级之前需先退出本程序，否则可能会失败)\n";
    };
    const std::string told = "本软件有更新版本 (30): 最新的版本为" + kNewerText + "\r\n\r\n现在就去软件主页进行下载升级？\n";
    const struct {
        const char* name;
        How how;
        HttpReply a, b;
        Strings fetched;
        std::string seen, status, opened;  // opened on OK
    } rows[] = {
        {"joining the automatic check", kJoin, ours, none, {kFileA}, latest, kStrIsLatest, ""},
        {"A's error page, B current", kMenu, got("<html><body>404 Not Found, Build your own site</body></html>"), ours,
         {kFileA, kFileB}, latest, kStrIsLatest, ""},
        {"A down, B newer", kMenu, none, newer, {kFileA, kFileB}, asked(kNewerText), kNewerText, kStrHomepageB},
        {"same text and CR LF", kMenu, got(kOurs + "\r\n"), none, {kFileA}, asked(kVersionText + std::string("\r\n")),
         std::string(kVersionText) + "\r\n", kStrHomepageA},
        {"no Build anywhere", kMenu, got("V2.00"), got("V2.00"), {kFileA, kFileB}, sorry, kStrNoUpdateYet, ""},
        // Fired again (armed by the settings dialog, say), it checks again unless it told already.
        {"newer, by itself", kItself, newer, none, {kFileA}, told, kNewerText, kStrHomepageB},
        {"current, by itself", kItself, ours, none, {kFileA, kFileA}, "", kStrIsLatest, ""},
        {"no answer, by itself", kItself, none, none, {kFileA, kFileB, kFileA, kFileB}, "", kStrNoUpdateYet, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        App app("[HOMEPAGE]\nPROXY=1\nUSER=me\nPASS=sz\n");  // "pw", scrambled
        app.shell.http->Answer(kFileA, r.a);
        app.shell.http->Answer(kFileB, r.b);
        app.shell.dialogs.answers = {IDOK};
        if (r.how == kItself) app.shell.Advance(600000 - 10);
        if (r.how != kMenu) app.dlg->OnTimer(TIMER_UPDATE);
        if (r.how != kItself) {
            app.dlg->OnCommand(kCheckUpdate);
            EXPECT_EQ(app.Prompts(), 0u) << "nothing before the answer";
        }
        app.shell.background.Finish();
        EXPECT_EQ(app.shell.http->Urls(), r.fetched);
        for (const HttpRequest& q : app.shell.http->Requests()) EXPECT_EQ(q.proxyHeaders, kMeProxy);
        EXPECT_EQ(app.Seen(), r.seen);
        EXPECT_EQ(app.dlg->LatestVersion(), r.status);
        EXPECT_EQ(app.shell.system.opened, r.opened.empty() ? Strings{} : Strings{r.opened});
        EXPECT_EQ(app.shell.window.Period(TIMER_UPDATE), 0u);
    }
}

}  // namespace
}  // namespace lumivar::test
