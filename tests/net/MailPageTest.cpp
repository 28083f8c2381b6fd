// The mail page's account test.
#include <gtest/gtest.h>

#include "fake/FakeShell.h"
#include "net/MailPage.h"
#include "net/Pop3Responder.h"

namespace lumivar::test {
namespace {

// The test logs in and out again in the background; the page shows one of two lines, and
// none once it is closed.
TEST(MailPage, TheAccountTestLogsInAndOutWithoutBlocking) {
    for (const bool accepted : {true, false}) {
        Pop3Responder::Script script;
        if (!accepted) script.pass = "-ERR no\r\n";
        Pop3Responder server(script);
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
        EXPECT_EQ(answers, (decltype(answers){{accepted, accepted ? "成功连接，可以继续！" : "连接错误，请重新检查服务器设置！"}}));
        EXPECT_FALSE(page.AccountTestRunning());
        EXPECT_EQ(server.Received().size(), accepted ? 3u : 2u);
    }
    Pop3Responder server;
    fake::FakeBackground background;
    {
        CMailPage page;
        page.UsePortForTests(server.Port());
        page.m_strMailServer = "127.0.0.1";
        page.StartAccountTest(background, [&](bool, const std::string&) { ADD_FAILURE() << "answer to a closed page"; });
    }
    background.Finish();
    EXPECT_EQ(server.Connections(), 1);
}

}  // namespace
}  // namespace lumivar::test
