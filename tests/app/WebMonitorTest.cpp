// The web page monitor and the update check on the fake shell: what the user sees, in order.
#include <gtest/gtest.h>

#include "app/AppFixture.h"
#include "app/Strings.h"
#include "net/HomepagePage.h"
#include "settings/Gbk.h"

namespace lumivar::test {
namespace {

using Outcome = HttpReply::Outcome;
constexpr const char* kPage = "http://h.test/page";
constexpr uint32_t kMinute = 60000;

class WebMonitorTest : public AppTest {
protected:
    // Watching kPage every 7 minutes, started and past the start-up pass.
    void Watch(const std::string& extra = "") {
        WriteIni(std::string("[SOUND]\nPLAYSOUND=0\n[HOMEPAGE]\nWATCH=1\nINTERVAL=7\nADDRESS=") + kPage + "\n" + extra);
        StartWorking();
    }
    void Minutes(int m) { shell.Advance(uint64_t(m) * kMinute); }
    size_t Prompts() const { return shell.dialogs.shown.size(); }
    const CRemindDlg& LastPrompt() const { return shell.dialogs.shown.back(); }
    size_t PageFetches() const {
        size_t n = 0;
        for (const std::string& url : shell.http->Urls()) n += url.rfind("http://h.test/", 0) == 0;
        return n;
    }
    void Menu(int command) {
        dlg->OnCommand(command);
        shell.background.Finish();
    }
    bool TipSaysWatching() const { return shell.tray.icons.at(0).tip.find("网页监测已启动") != std::string::npos; }
    HomepageSettings Edited() const { return dlg->HomepageMonitor().Current(); }
};

TEST_F(WebMonitorTest, TheFirstCheckPromptsThenOnlyChangesDo) {
    Watch();
    shell.http->Page(kPage, "v1");
    Minutes(7);
    ASSERT_EQ(Prompts(), 1u);
    EXPECT_EQ(LastPrompt().m_strTitle, "网页内容 15:07");
    EXPECT_EQ(LastPrompt().m_strMessage, std::string("目标网页: ") + kPage + "\r\n 已经改变! \r\n现在就去察看?");
    EXPECT_EQ(LastPrompt().m_nCountdown, 30);
    EXPECT_EQ(LastPrompt().m_bAnimated, 1);
    // The sound plays although PLAYSOUND is off, with its own flags.
    EXPECT_EQ(shell.system.sounds, (std::vector<std::pair<std::string, uint32_t>>{{"Remind.wav", 0x20001}}));
    EXPECT_TRUE(shell.system.opened.empty());  // cancelled
    EXPECT_EQ(shell.window.Period(TIMER_HOMEPAGE), 7 * kMinute);

    Minutes(7);
    EXPECT_EQ(Prompts(), 1u) << "an unchanged page only re-arms";
    EXPECT_TRUE(shell.window.Running(TIMER_HOMEPAGE));
    EXPECT_EQ(PageFetches(), 2u);
}

TEST_F(WebMonitorTest, APageThatChangesOnEveryLoadPromptsEachTime) {
    Watch();
    for (const char* body : {"09:00", "09:07", "09:14"}) shell.http->Page(kPage, body);
    shell.dialogs.answers = {IDCANCEL, IDOK, IDCANCEL};
    Minutes(21);
    EXPECT_EQ(Prompts(), 3u);
    EXPECT_EQ(shell.system.opened, std::vector<std::string>{kPage});  // only the confirmed one
    Minutes(7);
    EXPECT_EQ(Prompts(), 3u) << "the last answer repeats: unchanged";
}

TEST_F(WebMonitorTest, ConfirmingOpensTheCanonicalAddressWhileTheTextShowsItAsTyped) {
    WriteIni("[HOMEPAGE]\nWATCH=1\nINTERVAL=3\nADDRESS= www.example.com \n");
    StartWorking();
    shell.http->Page("http://www.example.com/", "page");
    shell.dialogs.answers = {IDOK};  // as when the countdown runs out
    Minutes(3);
    ASSERT_EQ(Prompts(), 1u);
    EXPECT_EQ(LastPrompt().m_strMessage, "目标网页: www.example.com\r\n 已经改变! \r\n现在就去察看?");
    EXPECT_EQ(shell.system.opened, std::vector<std::string>{"http://www.example.com"});
}

TEST_F(WebMonitorTest, AFailedFetchSuspendsTheChecksSilently) {
    Watch();
    shell.http->Page(kPage, "gone", 404);
    Minutes(7);
    EXPECT_EQ(Prompts(), 0u);
    EXPECT_FALSE(shell.window.Running(TIMER_HOMEPAGE));
    EXPECT_EQ(g_bHomepageWatch, 1);
    dlg->UpdateTrayTip();
    EXPECT_TRUE(TipSaysWatching());
    Minutes(60);
    EXPECT_EQ(PageFetches(), 1u);

    // A successful check from the menu takes the periodic checks up again.
    shell.http->Forget(kPage);
    shell.http->Page(kPage, "back");
    Menu(32788);
    EXPECT_EQ(Prompts(), 1u);
    EXPECT_EQ(shell.window.Period(TIMER_HOMEPAGE), 7 * kMinute);
}

TEST_F(WebMonitorTest, TheMenuCheckWorksWithTheMonitorOffAndLeavesTheTimerStopped) {
    WriteIni(std::string("[HOMEPAGE]\nWATCH=0\nADDRESS=") + kPage + "\n");
    StartWorking();
    shell.http->Page(kPage, "content");
    Menu(32788);
    EXPECT_EQ(Prompts(), 1u);
    EXPECT_FALSE(shell.window.Running(TIMER_HOMEPAGE));
    Menu(32788);
    EXPECT_EQ(Prompts(), 1u);
}

TEST_F(WebMonitorTest, AnIntervalOnlyChangeSetsABaselineAndTheNewPeriod) {
    Watch();
    shell.http->Page(kPage, "same");
    HomepageSettings edited = Edited();
    edited.nInterval = 2;
    dlg->ApplyHomepageSettings(edited);
    shell.background.Finish();
    EXPECT_EQ(Prompts(), 0u) << "a baseline fetch never prompts";
    EXPECT_EQ(shell.window.Period(TIMER_HOMEPAGE), 2 * kMinute);
    Minutes(2);
    EXPECT_EQ(Prompts(), 0u) << "the next prompt needs a real change";
    EXPECT_EQ(PageFetches(), 2u);

    dlg->ApplyHomepageSettings(Edited());  // nothing changed: nothing fetched
    shell.background.Finish();
    EXPECT_EQ(PageFetches(), 2u);
}

TEST_F(WebMonitorTest, SwitchingOffEmptiesTheStoredPage) {
    Watch();
    shell.http->Page(kPage, "page");
    Minutes(7);
    ASSERT_EQ(Prompts(), 1u);
    HomepageSettings edited = Edited();
    edited.bWatch = 0;
    dlg->ApplyHomepageSettings(edited);
    EXPECT_FALSE(shell.window.Running(TIMER_HOMEPAGE));
    EXPECT_EQ(dlg->HomepageMonitor().LastPage(), "");
    EXPECT_FALSE(TipSaysWatching());
    Menu(32788);
    EXPECT_EQ(Prompts(), 2u) << "the same page counts as changed after the switch-off";
}

TEST_F(WebMonitorTest, AFailedBaselineTellsTheUserAndSwitchesTheMonitorOffForGood) {
    Watch();
    HomepageSettings edited = Edited();
    edited.strAddress = "http://nowhere.test/";
    dlg->ApplyHomepageSettings(edited);
    EXPECT_FALSE(shell.window.Running(TIMER_HOMEPAGE)) << "no check runs against the old baseline meanwhile";
    shell.background.Finish();
    ASSERT_EQ(Prompts(), 1u);
    EXPECT_EQ(LastPrompt().m_strTitle, "网页监测配置");
    EXPECT_EQ(LastPrompt().m_strMessage,
              "请检查您的目标网址的有效性，以及您的网络配置的正确性!\r\n由于网络连接出现错误，网页监测服务已终止。");
    EXPECT_EQ(LastPrompt().m_nCountdown, 30);
    EXPECT_EQ(g_bHomepageWatch, 0);
    EXPECT_FALSE(shell.window.Running(TIMER_HOMEPAGE));
    EXPECT_FALSE(TipSaysWatching());
    EXPECT_NE(IniText().find("WATCH=0"), std::string::npos);
    EXPECT_NE(IniText().find("ADDRESS=http://nowhere.test/"), std::string::npos);
}

TEST_F(WebMonitorTest, ProxyCredentialsFollowTheSettingsOnlyOnceApplied) {
    Watch("PROXY=1\nUSER=me\n");
    shell.http->Page(kPage, "p");
    Minutes(7);
    EXPECT_EQ(shell.http->Requests().back().headers, "Accept: */*\r\n\r\n") << "start-up leaves them empty";
    HomepageSettings edited = Edited();
    edited.strProxyPass = "pw";
    dlg->ApplyHomepageSettings(edited);
    shell.background.Finish();
    EXPECT_EQ(shell.http->Requests().back().headers, "Accept: */*\r\nProxy-authorization: Basic bWU6cHc=\r\n\r\n");
    edited.bProxy = 0;
    dlg->ApplyHomepageSettings(edited);
    shell.background.Finish();
    EXPECT_EQ(shell.http->Requests().back().headers, "Accept: */*\r\n\r\n");
}

TEST_F(WebMonitorTest, ARestCountsDownWhileACheckIsOutAndTheAnswerComesAfter) {
    Watch("");
    shell.http->Page(kPage, "late");
    shell.background.manual = true;
    Minutes(7);
    EXPECT_EQ(shell.background.jobs.size(), 1u);
    dlg->OnCommand(32771);  // a rest starts while the fetch is out
    const int left = dlg->m_nRestLeft;
    Seconds(3);
    EXPECT_EQ(dlg->m_nRestLeft, left - 3);
    dlg->OnCommand(32788);  // asked again meanwhile: the fetch that is out answers
    dlg->OnTimer(TIMER_HOMEPAGE);
    EXPECT_EQ(shell.background.jobs.size(), 1u);
    EXPECT_EQ(Prompts(), 0u);
    shell.background.Finish();
    EXPECT_EQ(Prompts(), 1u);
    EXPECT_EQ(shell.window.Period(TIMER_HOMEPAGE), 7 * kMinute);
}

TEST_F(WebMonitorTest, AnAnswerForSettingsThatChangedMeanwhileIsDropped) {
    Watch();
    shell.http->Page(kPage, "old address");
    shell.http->Page("http://new.test/", "new address");
    shell.background.manual = true;
    Minutes(7);  // a check of the old address is out
    HomepageSettings edited = Edited();
    edited.strAddress = "http://new.test/";
    dlg->ApplyHomepageSettings(edited);
    edited.nInterval = 9;
    dlg->ApplyHomepageSettings(edited);  // again, while the first baseline is out
    EXPECT_EQ(shell.background.jobs.size(), 2u) << "one check and one baseline, no more";
    shell.background.Finish();  // the stale ones; the last settings' baseline follows
    shell.background.Finish();
    EXPECT_EQ(Prompts(), 0u);
    EXPECT_EQ(dlg->HomepageMonitor().LastPage(), "new address");
    EXPECT_EQ(shell.window.Period(TIMER_HOMEPAGE), 9 * kMinute);
    EXPECT_EQ(shell.http->Urls().back(), "http://new.test/");
}

TEST_F(WebMonitorTest, ThePageModelEnablesItsFieldsAndTestsTheAddressInTheBackground) {
    StartWorking();
    CHomepagePage page(shell.ports());
    EXPECT_EQ(page.Values(), (HomepageSettings{0, 5, kDefaultHomepageAddress, 0, "", ""}));
    page.OnInitDialog();
    EXPECT_FALSE(page.m_bAddressEnabled);
    EXPECT_FALSE(page.m_bProxyEnabled);
    page.OnClickWatch();
    page.OnClickProxy();
    EXPECT_TRUE(page.m_bAddressEnabled);
    EXPECT_FALSE(page.m_bSpinEnabled) << "the spin keeps its state";
    EXPECT_TRUE(page.m_bProxyEnabled);
    EXPECT_EQ(page.m_bWatch, 1);

    page.m_strAddress = "unreachable.test";
    page.m_strProxyUser = "u";
    shell.background.manual = true;
    page.OnTest();
    page.OnTest();  // a second click before the answer
    EXPECT_EQ(shell.system.opened, std::vector<std::string>{"http://unreachable.test"}) << "the browser comes first";
    EXPECT_TRUE(shell.dialogs.messages.empty());
    shell.background.Finish();
    ASSERT_EQ(shell.dialogs.messages.size(), 1u);
    EXPECT_EQ(shell.dialogs.messages[0].first, "网址不可到达，请检查网络设置！");
    EXPECT_EQ(shell.http->Requests().back().headers, "Accept: */*\r\nProxy-authorization: Basic dTo=\r\n\r\n");

    shell.http->Page("http://ok.test/", "fine");
    page.m_strAddress = "http://ok.test/";
    page.OnClickProxy();
    page.OnTest();
    shell.background.Finish();
    EXPECT_EQ(shell.dialogs.messages.back().first, "网址正确，可以使用！");
    EXPECT_EQ(shell.http->Requests().back().headers, "Accept: */*\r\n\r\n");
    EXPECT_EQ(g_strHomepageAddress, kDefaultHomepageAddress) << "the test stores nothing";
}

// --- The update check ---

constexpr const char* kFileA = "http://www.lumivar.com.cn/lumivar/update.ini";
constexpr const char* kFileB = "http://lumivar.github.io/update.ini";

class UpdateCheckTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        StartWorking();
    }
    std::string Version(const std::string& utf8) { return Utf8ToGbk(utf8); }
};

TEST_F(UpdateCheckTest, ManualOutcomes) {
    const std::string ours = Version(kVersionText);
    const std::string newer = Version("V1.26 2005新春版 Build01.20");
    const std::string errorPage = "<html><body>404 Not Found, Build your own site</body></html>";
    struct Case {
        const char* name;
        HttpReply a, b;
        std::vector<std::string> asked;
        const char* title;
        std::string status;
        std::string opened;  // on OK
    } cases[] = {
        {"A current, B not asked", {Outcome::Complete, 200, ours}, {}, {kFileA}, "恭喜", kStrIsLatest, ""},
        {"A's error page, B current", {Outcome::Complete, 200, errorPage}, {Outcome::Complete, 200, ours},
         {kFileA, kFileB}, "恭喜", kStrIsLatest, ""},
        {"A down, B newer", {}, {Outcome::Complete, 200, newer}, {kFileA, kFileB}, "本软件有更新版本",
         "V1.26 2005新春版 Build01.20", kStrHomepageB},
        {"A newer", {Outcome::Complete, 200, newer}, {}, {kFileA}, "本软件有更新版本", "V1.26 2005新春版 Build01.20",
         kStrHomepageA},
        {"same text and CR LF", {Outcome::Complete, 200, ours + "\r\n"}, {}, {kFileA}, "本软件有更新版本",
         std::string(kVersionText) + "\r\n", kStrHomepageA},
        {"no Build anywhere", {Outcome::Complete, 200, "V2.00"}, {Outcome::Complete, 200, "V2.00"}, {kFileA, kFileB},
         "抱歉", kStrNoUpdateYet, ""},
        {"A 404, B nothing", {Outcome::Complete, 404, ours}, {}, {kFileA, kFileB}, "抱歉", kStrNoUpdateYet, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto http = std::make_shared<fake::FakeHttp>();
        shell.http = http;
        dlg = std::make_unique<CMainDlg>(shell.ports());
        dlg->OnInitDialog();
        shell.dialogs.shown.clear();
        shell.system.opened.clear();
        http->Answer(kFileA, c.a);
        http->Answer(kFileB, c.b);
        shell.dialogs.answers = {IDOK};
        dlg->OnCommand(32799);
        EXPECT_TRUE(shell.dialogs.shown.empty()) << "nothing before the answer";
        shell.background.Finish();
        EXPECT_EQ(http->Urls(), c.asked);
        ASSERT_EQ(shell.dialogs.shown.size(), 1u);
        EXPECT_EQ(shell.dialogs.shown[0].m_strTitle, c.title);
        EXPECT_EQ(shell.dialogs.shown[0].m_nCountdown, 30);
        EXPECT_EQ(dlg->m_strLatestVersion, c.status);
        EXPECT_EQ(shell.system.opened, c.opened.empty() ? std::vector<std::string>{} : std::vector{c.opened});
        EXPECT_FALSE(shell.window.Running(TIMER_UPDATE)) << "a manual check drops the pending automatic one";
    }
}

TEST_F(UpdateCheckTest, TheNewerPromptNamesBothVersions) {
    shell.http->Page(kFileB, Version("V1.30 Build05.01"));
    dlg->OnCommand(32799);
    shell.background.Finish();
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage,
              std::string("最新的版本为V1.30 Build05.01\r\n而这个版本是") + kVersionText +
                  " \r\n现在就去软件主页进行下载升级？\r\n(提示：升级之前需先退出本程序，否则可能会失败)");
    EXPECT_TRUE(shell.system.opened.empty()) << "cancelled";
}

TEST_F(UpdateCheckTest, TheAutomaticCheckPromptsOnceAndOnlyForANewerVersion) {
    shell.http->Page(kFileA, Version("V1.30 Build05.01"));
    shell.dialogs.answers = {IDOK};
    shell.Advance(600000);
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strTitle, "本软件有更新版本");
    EXPECT_EQ(shell.dialogs.shown[0].m_strMessage, "最新的版本为V1.30 Build05.01\r\n\r\n现在就去软件主页进行下载升级？");
    EXPECT_EQ(shell.system.opened, std::vector<std::string>{kStrHomepageB});
    EXPECT_EQ(dlg->m_bUpdatePrompted, 1);
    dlg->OnTimer(TIMER_UPDATE);  // armed again by the settings dialog, say
    shell.background.Finish();
    EXPECT_EQ(shell.dialogs.shown.size(), 1u);
}

TEST_F(UpdateCheckTest, ACurrentVersionFoundAutomaticallyShowsNothing) {
    shell.http->Page(kFileA, Version(kVersionText));
    shell.Advance(600000);
    EXPECT_TRUE(shell.dialogs.shown.empty());
    EXPECT_EQ(dlg->m_strLatestVersion, kStrIsLatest);
}

TEST_F(UpdateCheckTest, AManualRequestJoinsTheCheckThatIsOutAndProxyCredentialsGoAlong) {
    dlg->m_bHomepageProxy = 1;
    dlg->m_strProxyUser = "me";
    dlg->m_strProxyPass = "pw";
    shell.http->Page(kFileA, Version(kVersionText));
    shell.background.manual = true;
    dlg->OnTimer(TIMER_UPDATE);
    dlg->OnCommand(32799);
    EXPECT_EQ(shell.background.jobs.size(), 1u);
    shell.background.Finish();
    ASSERT_EQ(shell.dialogs.shown.size(), 1u);
    EXPECT_EQ(shell.dialogs.shown[0].m_strTitle, "恭喜");
    EXPECT_EQ(shell.http->Requests()[0].headers, "Accept: */*\r\nProxy-authorization: Basic bWU6cHc=\r\n\r\n");
    dlg->m_bHomepageProxy = 0;
    dlg->OnCommand(32799);
    shell.background.Finish();
    EXPECT_EQ(shell.http->Requests().back().headers, "Accept: */*\r\n\r\n");
}

}  // namespace
}  // namespace lumivar::test
