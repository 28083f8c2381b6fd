// The test buttons of the mail and web page settings pages: in the background, one at a time,
// on the shell's scripted peers.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "fake/FakeShell.h"
#include "net/HomepagePage.h"
#include "net/MailPage.h"

namespace lumivar::test {
namespace {

using Strings = std::vector<std::string>;

// The account test logs in and out again; the page shows one of two lines.
TEST(MailPage, TheAccountTestLogsInAndOutWithoutBlocking) {
    // pass: the server's reply to PASS; tls: what its offer of STLS comes to, if it makes one
    const struct { const char* pass; bool ok; Strings heard; TlsError tls = TlsError::Unavailable; } rows[] = {
        {"+OK in\r\n", true, {"CAPA", "USER bob", "PASS pw", "QUIT"}},
        {"-ERR no\r\n", false, {"CAPA", "USER bob", "PASS pw"}},
        {"+OK in\r\n", false, {"CAPA", "STLS", "<TLS>"}, TlsError::WrongName},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pass);
        auto tcp = std::make_shared<fake::FakeTcp>();
        fake::FakeTcp::Script script = fake::FakeTcp::Pop3("PASS", r.pass);
        if (r.tls != TlsError::Unavailable)
            script.tls = r.tls, script.replies["CAPA"] = "+OK\r\nSTLS\r\n.\r\n", script.replies["STLS"] = "+OK\r\n";
        tcp->SetScript(script);
        fake::FakeBackground background;
        CMailPage page(tcp);
        page.m_strMailServer = "mail.test", page.m_strMailUser = "bob", page.m_strMailPass = "pw";
        std::vector<std::pair<bool, std::string>> answers;
        ASSERT_TRUE(page.StartAccountTest(background, [&](bool ok, const std::string& m) { answers.push_back({ok, m}); }));
        EXPECT_FALSE(page.StartAccountTest(background, [&](bool, const std::string&) { ADD_FAILURE(); }));
        EXPECT_TRUE(answers.empty()) << "nothing waits on the network before the background runs";
        background.Finish();
        const std::string failed = std::string(CMailPage::kTestFailed) +
                                   (r.tls == TlsError::WrongName ? "\r\n服务器的证书不属于所连接的主机" : "");
        EXPECT_EQ(answers, (decltype(answers){{r.ok, r.ok ? CMailPage::kTestPassed : failed}}));
        EXPECT_FALSE(page.AccountTestRunning());
        EXPECT_EQ(tcp->Connections(), Strings{"mail.test:110"});
        EXPECT_EQ(tcp->Received(), r.heard);
    }
}

// The address test opens the browser at once and tries the address in the background, with
// the proxy account when the page says so. Its box is the program's: it comes after the page
// closed too.
TEST(HomepagePage, TheAddressTestOpensTheBrowserAndTellsWhetherTheAddressAnswers) {
    const struct { const char* name; bool answers, proxy, closeFirst; TlsError tls = TlsError::None; } rows[] = {
        {"answers", true, false, false}, {"through the proxy", true, true, false}, {"silent", false, false, false},
        {"page closed first", true, false, true}, {"a certificate for another name", false, false, false, TlsError::WrongName}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        fake::FakeShell shell;
        shell.background.manual = true;
        if (r.answers) shell.http->Page("http://h.test/", "hello");
        if (r.tls != TlsError::None) {
            HttpReply refused;
            refused.tls = r.tls;
            shell.http->Answer("http://h.test/", refused);
        }
        std::optional<CHomepagePage> page(std::in_place,
                                          HomepagePagePorts{shell.system, shell.dialogs, shell.background, shell.http});
        page->m_strAddress = " h.test/", page->m_bProxy = r.proxy, page->m_strProxyUser = "me";
        page->m_strProxyPass = "pw";
        page->OnTest();
        page->OnTest();  // while the first is out
        EXPECT_EQ(shell.system.opened, Strings{"http://h.test/"});
        EXPECT_TRUE(page->Testing());
        EXPECT_TRUE(shell.dialogs.messages.empty());
        if (r.closeFirst) page.reset();
        shell.background.Finish();
        ASSERT_EQ(shell.http->Requests().size(), 1u);
        const char* proxy = r.proxy ? "Proxy-authorization: Basic bWU6cHc=\r\n" : "";
        EXPECT_EQ(shell.http->Requests()[0].proxyHeaders, proxy);
        const std::string message = r.answers ? CHomepagePage::kReachable
                                    : std::string(CHomepagePage::kUnreachable) +
                                          (r.tls == TlsError::WrongName ? "\r\n服务器的证书不属于所连接的主机" : "");
        EXPECT_EQ(shell.dialogs.messages, (std::vector<std::pair<std::string, std::string>>{{message, "Lumivar"}}));
        EXPECT_TRUE(!page || !page->Testing());
    }
}

}  // namespace
}  // namespace lumivar::test
