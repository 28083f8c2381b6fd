// The web page monitor's settings step, and the update check, on the fake shell.
#include "app/AppFixture.h"
#include "base/Strings.h"

namespace lumivar::test {
namespace {

using Outcome = HttpReply::Outcome;
constexpr const char* kNoProxy = "Accept: */*\r\n\r\n";
constexpr const char* kMeProxy = "Accept: */*\r\nProxy-authorization: Basic bWU6cHc=\r\n\r\n";

class WebMonitorTest : public AppTest {};

// A change fetches a baseline that never prompts; nothing changed does nothing at all; switched
// off, the stored page is emptied. Proxy credentials count only once applied.
TEST_F(WebMonitorTest, SettingsStep) {
    Monitors m(std::string(kWeb) + "PROXY=1\nUSER=me\n");
    m.Page("same");
    HomepageSettings edited = m.dlg->HomepageMonitor().Current();
    edited.nInterval = 3;
    edited.strProxyPass = "pw";
    m.dlg->ApplyHomepageSettings(edited);
    m.shell.background.Finish();
    EXPECT_EQ(m.shell.http->Requests().back().headers, kMeProxy);
    EXPECT_EQ(m.shell.window.Period(TIMER_HOMEPAGE), 3 * 60000u);
    m.Minutes(3);
    m.shell.calls.clear();
    m.dlg->ApplyHomepageSettings(edited);
    EXPECT_EQ(m.shell.calls, Strings{}) << "no fetch, and the timer is not set again";
    EXPECT_EQ(m.Prompts(), 0u) << "a baseline never prompts, and the next check needs a real change";

    edited.bWatch = edited.bProxy = 0;
    m.dlg->ApplyHomepageSettings(edited);
    EXPECT_EQ(m.shell.window.Period(TIMER_HOMEPAGE), 0u);
    EXPECT_TRUE(m.TipHas("\n网页监测未启动"));
    m.Command(kCheckWeb);
    EXPECT_EQ(m.Prompts(), 1u) << "the same page counts as changed after the switch-off";
    EXPECT_EQ(m.shell.http->Requests().back().headers, kNoProxy);
}

TEST_F(WebMonitorTest, AFailedBaselineTellsTheUserAndSwitchesTheMonitorOffForGood) {
    Monitors m(kWeb);
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
}

constexpr const char* kFileA = "http://www.lumivar.com.cn/lumivar/update.ini";
constexpr const char* kFileB = "http://lumivar.github.io/update.ini";
const std::string kOurs = Utf8ToGbk(kVersionText), kNewer = Utf8ToGbk("V1.26 2005新春版 Build01.20");

// Asked for while the automatic check is out, the menu joins it. Either way the proxy account goes along.
TEST_F(WebMonitorTest, UpdateCheckFromTheMenu) {
    const std::string errorPage = "<html><body>404 Not Found, Build your own site</body></html>";
    const auto got = [](int status, const std::string& body) { return HttpReply{Outcome::Complete, status, body}; };
    const HttpReply ours = got(200, kOurs), newer = got(200, kNewer), none;
    const struct {
        const char* name;
        HttpReply a, b;
        Strings asked;
        const char* title;
        std::string status, opened;  // opened on OK
        bool joins = false;
    } rows[] = {
        {"joining the automatic check", ours, none, {kFileA}, "恭喜", kStrIsLatest, "", true},
        {"A's error page, B current", got(200, errorPage), ours, {kFileA, kFileB}, "恭喜", kStrIsLatest, ""},
        {"A down, B newer", none, newer, {kFileA, kFileB}, "本软件有更新版本", "V1.26 2005新春版 Build01.20", kStrHomepageB},
        {"same text and CR LF", got(200, kOurs + "\r\n"), none, {kFileA}, "本软件有更新版本",
         std::string(kVersionText) + "\r\n", kStrHomepageA},
        {"no Build anywhere", got(200, "V2.00"), got(200, "V2.00"), {kFileA, kFileB}, "抱歉", kStrNoUpdateYet, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        App app("[HOMEPAGE]\nPROXY=1\nUSER=me\nPASS=sz\n");  // "pw", scrambled
        app.shell.http->Answer(kFileA, r.a);
        app.shell.http->Answer(kFileB, r.b);
        app.shell.dialogs.answers = {IDOK};
        if (r.joins) app.dlg->OnTimer(TIMER_UPDATE);
        app.dlg->OnCommand(kCheckUpdate);
        EXPECT_EQ(app.Prompts(), 0u) << "nothing before the answer";
        app.shell.background.Finish();
        EXPECT_EQ(app.shell.http->Urls(), r.asked);
        for (const HttpRequest& q : app.shell.http->Requests()) EXPECT_EQ(q.headers, kMeProxy);
        ASSERT_EQ(app.Prompts(), 1u);
        EXPECT_EQ(app.shell.dialogs.shown[0].m_strTitle, r.title);
        EXPECT_EQ(app.dlg->LatestVersion(), r.status);
        EXPECT_EQ(app.shell.system.opened, r.opened.empty() ? Strings{} : Strings{r.opened});
        EXPECT_EQ(app.shell.window.Period(TIMER_UPDATE), 0u) << "the pending automatic check is dropped";
        if (r.opened == kStrHomepageB) {
            EXPECT_EQ(app.shell.dialogs.shown[0].m_strMessage,
                      "最新的版本为V1.26 2005新春版 Build01.20\r\n而这个版本是" + std::string(kVersionText) +
                          " \r\n现在就去软件主页进行下载升级？\r\n(提示：升级之前需先退出本程序，否则可能会失败)");
        }
    }
}

// Ten minutes after the start, once: a prompt only for a newer version, and only once.
TEST_F(WebMonitorTest, UpdateCheckByItself) {
    const struct {
        std::string reply;  // of file A; none when empty
        std::string seen, status;
    } rows[] = {
        {kNewer, "本软件有更新版本 (30): 最新的版本为V1.26 2005新春版 Build01.20\r\n\r\n现在就去软件主页进行下载升级？\n",
         "V1.26 2005新春版 Build01.20"},
        {kOurs, "", kStrIsLatest},
        {"", "", "尚未检查是否有更新版本"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.status);
        App app("");
        if (!r.reply.empty()) app.shell.http->Page(kFileA, r.reply);
        app.shell.dialogs.answers = {IDOK};
        app.shell.Advance(600000 - 10);
        app.dlg->OnTimer(TIMER_UPDATE);  // armed again by the settings dialog, say
        app.shell.background.Finish();
        EXPECT_EQ(app.Seen(), r.seen);
        EXPECT_EQ(app.dlg->LatestVersion(), r.status);
        EXPECT_EQ(app.shell.window.Period(TIMER_UPDATE), 0u);
        EXPECT_EQ(app.shell.system.opened, r.seen.empty() ? Strings{} : Strings{kStrHomepageB});
    }
}

}  // namespace
}  // namespace lumivar::test
