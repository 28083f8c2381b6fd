// The mail page's model: defaults, the enable rule, the interval's range and the account test.
#include <gtest/gtest.h>

#include "fake/FakeShell.h"
#include "net/MailPage.h"
#include "net/Pop3Responder.h"

namespace lumivar::test {
namespace {

TEST(MailPage, FieldsFollowTheCheckBoxAndTheIntervalMustLieBetweenOneAndOneHundredTwenty) {
    CMailPage page;
    EXPECT_FALSE(page.FieldsEnabled());
    page.OnMailCheckClicked();
    EXPECT_TRUE(page.FieldsEnabled());
    const struct {
        unsigned minutes;
        bool ok;
    } cases[] = {{0, false}, {1, true}, {2, true}, {120, true}, {121, false}, {240, false}};
    for (const auto& c : cases) {
        page.m_nMailInterval = c.minutes;
        std::string message;
        EXPECT_EQ(page.ValidateInterval(message), c.ok) << c.minutes;
        EXPECT_EQ(message, c.ok ? "" : "Please enter an integer between 1 and 120.") << c.minutes;
    }
    Settings s;
    s.m_bMailCheck = 1, s.m_nMailInterval = 9, s.m_strMailServer = "pop.example";
    s.m_strMailUser = "张三", s.m_strMailPass = "pw";
    page.FromSettings(s);
    EXPECT_EQ(page.Edited(), (MailSettings{1, 9, "pw", "pop.example", "张三"}));
}

// The test logs in and out again in the background; the page shows one of two lines.
TEST(MailPage, TheAccountTestLogsInAndOutWithoutBlocking) {
    Pop3Responder::Script refused;
    refused.pass = "-ERR no\r\n";
    const struct {
        const char* name;
        Pop3Responder::Script script;
        bool ok;
        std::vector<std::string> sent;
    } cases[] = {
        {"accepted", {}, true, {"USER bob", "PASS pw", "QUIT"}},
        {"refused", refused, false, {"USER bob", "PASS pw"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pop3Responder server(c.script);
        fake::FakeBackground background;
        CMailPage page;
        page.UsePortForTests(server.Port());
        page.m_strMailServer = "127.0.0.1";
        page.m_strMailUser = "bob";
        page.m_strMailPass = "pw";
        std::vector<std::pair<bool, std::string>> answers;
        ASSERT_TRUE(page.StartAccountTest(background, [&](bool ok, const std::string& m) { answers.push_back({ok, m}); }));
        EXPECT_TRUE(page.AccountTestRunning());
        EXPECT_FALSE(page.StartAccountTest(background, [&](bool, const std::string&) { ADD_FAILURE(); }));
        EXPECT_TRUE(answers.empty()) << "nothing waits on the network before the background runs";
        background.Finish();
        EXPECT_EQ(answers, (decltype(answers){{c.ok, c.ok ? "成功连接，可以继续！" : "连接错误，请重新检查服务器设置！"}}));
        EXPECT_FALSE(page.AccountTestRunning());
        EXPECT_EQ(server.Received(), c.sent);
    }
}

TEST(MailPage, AnAnswerAfterThePageClosedGoesNowhere) {
    Pop3Responder server;
    fake::FakeBackground background;
    int answers = 0;
    {
        CMailPage page;
        page.UsePortForTests(server.Port());
        page.m_strMailServer = "127.0.0.1";
        page.StartAccountTest(background, [&](bool, const std::string&) { ++answers; });
    }
    background.Finish();
    EXPECT_EQ(answers, 0);
    EXPECT_EQ(server.Connections(), 1);
}

}  // namespace
}  // namespace lumivar::test
