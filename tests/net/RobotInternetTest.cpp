// The HTTP client's rules over a scripted transport: addresses, codes, bodies, headers.
#include <gtest/gtest.h>

#include <memory>

#include "fake/FakeHttp.h"
#include "net/RobotInternet.h"
#include "settings/Gbk.h"

namespace lumivar::test {
namespace {

using Outcome = HttpReply::Outcome;

TEST(RobotInternet, AddressesAreCanonicalisedAsTypedAndBadOnesNeverFetched) {
    // fetched: the URL requested; "" when refused before any connection.
    const struct { const char *typed, *canonical, *fetched; } cases[] = {
        {"www.example.com", "http://www.example.com", "http://www.example.com/"},
        {"  www.example.com/a b \t", "http://www.example.com/a b", "http://www.example.com/a%20b"},
        {"//host/x?q=1#frag", "http://host/x?q=1#frag", "http://host/x?q=1"},
        {"HTTP://Host:8080", "HTTP://Host:8080", "http://Host:8080/"},
        {"http://user:pw@host:80?x", "http://user:pw@host:80?x", "http://host/?x"},
        {"www.example.com:8080/page", "www.example.com:8080/page", ""},  // a port without a scheme
        {"https://host/", "https://host/", ""}, {"/path", "http:/path", ""}, {"http://host:0/", "http://host:0/", ""},
        {"http://host:65536/", "http://host:65536/", ""}, {"   ", "http://", ""}, {"", "http://", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(CRobotInternet::CanonicalizeUrl(c.typed), c.canonical);
        auto http = std::make_shared<fake::FakeHttp>();
        CRobotInternet robot(http);
        std::string body = "before", text;
        int code = -1;
        EXPECT_FALSE(robot.HttpGet(c.typed, body, code, text));
        EXPECT_EQ(http->Urls(), *c.fetched ? std::vector<std::string>{c.fetched} : std::vector<std::string>{});
        if (*c.fetched) {
            EXPECT_EQ(code, 3);  // the scripted transport answers nothing
        } else {
            EXPECT_EQ(text, *c.typed ? "Invalid URL" : "Invalid parameter");
            EXPECT_EQ(code, *c.typed ? 1 : 2);
            EXPECT_EQ(body, "before");
        }
    }
}

TEST(RobotInternet, StatusAndOutcomeGiveTheCodeTextAndBody) {
    // body: what the caller's body holds afterwards (it held "old").
    const struct { HttpReply reply; int code; const char *text, *body; } cases[] = {
        {{Outcome::Complete, 200, "page"}, 0, "Successful", "page"},
        {{Outcome::Complete, 301, "moved"}, 0, "Successful", "moved"},  // not followed
        {{Outcome::Complete, 0, "raw"}, 0, "Successful", "raw"},        // no status is 200
        {{Outcome::Complete, 401, "x"}, 3, "Connection failed", "old"},
        {{Outcome::Complete, 403, "x"}, 6, "Not authorized", "old"},
        {{Outcome::Complete, 404, "x"}, 5, "Not found", "old"},
        {{Outcome::NoResponse, 0, ""}, 3, "Connection failed", ""},
        {{Outcome::ReadFailed, 200, "par"}, 3, "Connection failed", "par"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.status);
        auto http = std::make_shared<fake::FakeHttp>();
        http->Answer("http://h/", c.reply);
        CRobotInternet robot(http);
        std::string body = "old", text;
        int code = -1;
        EXPECT_EQ(robot.HttpGet("http://h/", body, code, text), c.code == 0);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(body, c.body);
    }
}

TEST(RobotInternet, RequestsCarryTheAgentAReloadAndCredentialLinesByTheSchemeAndNames) {
    auto http = std::make_shared<fake::FakeHttp>();
    CRobotInternet robot(http);
    std::string body, text;
    int code;
    robot.HttpGet("h", body, code, text);
    ASSERT_EQ(http->Requests().size(), 1u);
    EXPECT_EQ(http->Requests()[0].agent, "Mozilla");
    EXPECT_TRUE(http->Requests()[0].reload);
    EXPECT_EQ(http->Requests()[0].headers, "Accept: */*\r\n\r\n");

    robot.m_strProxyUserName = "user";
    EXPECT_EQ(robot.BuildRequestHeaders(), "Accept: */*\r\nProxy-authorization: Basic dXNlcjo=\r\n\r\n");  // "user:"
    robot.m_strProxyPassword = "pw";
    robot.m_strServerUser = "web";
    robot.m_strServerPassword = "s";
    EXPECT_EQ(robot.BuildRequestHeaders(),
              "Accept: */*\r\nProxy-authorization: Basic dXNlcjpwdw==\r\nAuthorization: Basic d2ViOnM=\r\n\r\n");
    EXPECT_EQ(CRobotInternet::Base64Encode(std::string("\xff\x00\x80", 3)), "/wCA");
    // Names go as GBK bytes, and whole, far past any 256-byte buffer.
    robot.m_strServerUser.clear();
    robot.m_strProxyUserName = "张三";
    robot.m_strProxyPassword = std::string(400, 'p');
    const std::string want = CRobotInternet::Base64Encode(Utf8ToGbk("张三") + ":" + std::string(400, 'p'));
    EXPECT_EQ(want.rfind("1cXI/Tpw", 0), 0u);  // D5 C5 C8 FD ":" "p"
    EXPECT_EQ(robot.BuildRequestHeaders(), "Accept: */*\r\nProxy-authorization: Basic " + want + "\r\n\r\n");
    robot.m_strProxyAuthScheme = "Basic";  // only the exact lower-case scheme sends the proxy line
    EXPECT_EQ(robot.BuildRequestHeaders(), "Accept: */*\r\n\r\n");
}

}  // namespace
}  // namespace lumivar::test
