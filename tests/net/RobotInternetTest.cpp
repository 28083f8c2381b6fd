// The HTTP client's rules over a scripted transport: addresses, codes, bodies, headers.
#include <gtest/gtest.h>

#include <memory>

#include "fake/FakeHttp.h"
#include "net/RobotInternet.h"
#include "settings/Gbk.h"

namespace lumivar::test {
namespace {

using Outcome = HttpReply::Outcome;

TEST(RobotInternet, AddressesAreCanonicalisedAsTyped) {
    struct Case {
        const char* typed;
        const char* canonical;
        const char* fetched;  // the URL requested; "" when refused before any connection
    } cases[] = {
        {"www.example.com", "http://www.example.com", "http://www.example.com/"},
        {"  www.example.com/a b \t", "http://www.example.com/a b", "http://www.example.com/a%20b"},
        {"//host/x?q=1#frag", "http://host/x?q=1#frag", "http://host/x?q=1"},
        {"http://Host:8080", "http://Host:8080", "http://Host:8080/"},
        {"HTTP://host/", "HTTP://host/", "http://host/"},
        {"http://user:pw@host/p", "http://user:pw@host/p", "http://host/p"},
        {"http://host:80/", "http://host:80/", "http://host/"},
        {"http://host?x", "http://host?x", "http://host/?x"},
        {"www.example.com:8080/page", "www.example.com:8080/page", ""},  // a port without a scheme
        {"localhost:80", "localhost:80", ""},
        {"https://host/", "https://host/", ""},
        {"ftp://host/", "ftp://host/", ""},
        {"/path", "http:/path", ""},
        {"http://", "http://", ""},
        {"http://host:0/", "http://host:0/", ""},
        {"http://host:65536/", "http://host:65536/", ""},
        {"http://host:8x/", "http://host:8x/", ""},
        {"   ", "http://", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(CRobotInternet::CanonicalizeUrl(c.typed), c.canonical);
        auto http = std::make_shared<fake::FakeHttp>();
        CRobotInternet robot(http);
        std::string body = "before", text;
        int code = -1;
        const bool ok = robot.HttpGet(c.typed, body, code, text);
        if (*c.fetched) {
            ASSERT_EQ(http->Urls(), std::vector<std::string>{c.fetched});
            EXPECT_EQ(code, 3);  // the scripted transport answers nothing
        } else {
            EXPECT_TRUE(http->Urls().empty());
            EXPECT_EQ(code, 1);
            EXPECT_EQ(text, "Invalid URL");
            EXPECT_EQ(body, "before");
        }
        EXPECT_FALSE(ok);
    }
}

TEST(RobotInternet, StatusAndOutcomeGiveTheCodeTextAndBody) {
    struct Case {
        const char* name;
        HttpReply reply;
        int code;
        const char* text;
        const char* body;  // what the caller's body holds afterwards (it held "old")
    } cases[] = {
        {"200", {Outcome::Complete, 200, "page"}, 0, "Successful", "page"},
        {"301 not followed", {Outcome::Complete, 301, "moved"}, 0, "Successful", "moved"},
        {"302 empty", {Outcome::Complete, 302, ""}, 0, "Successful", ""},
        {"no status is 200", {Outcome::Complete, 0, "raw"}, 0, "Successful", "raw"},
        {"401", {Outcome::Complete, 401, "x"}, 3, "Connection failed", "old"},
        {"403", {Outcome::Complete, 403, "x"}, 6, "Not authorized", "old"},
        {"404", {Outcome::Complete, 404, "x"}, 5, "Not found", "old"},
        {"407", {Outcome::Complete, 407, "x"}, 6, "Not authorized", "old"},
        {"500", {Outcome::Complete, 500, "x"}, 3, "Connection failed", "old"},
        {"unreachable", {Outcome::NoResponse, 0, ""}, 3, "Connection failed", ""},
        {"read broke off", {Outcome::ReadFailed, 200, "par"}, 3, "Connection failed", "par"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
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

TEST(RobotInternet, AnEmptyUrlIsAnInvalidParameterAndTouchesNothing) {
    auto http = std::make_shared<fake::FakeHttp>();
    CRobotInternet robot(http);
    std::string body = "kept", text = "stale";
    int code = -1;
    EXPECT_FALSE(robot.HttpGet("", body, code, text));
    EXPECT_EQ(code, 2);
    EXPECT_EQ(text, "Invalid parameter");
    EXPECT_EQ(body, "kept");
    EXPECT_EQ(robot.m_nSessionCount, 0);
    EXPECT_TRUE(http->Requests().empty());
}

TEST(RobotInternet, BodiesKeepEveryByteNulIncluded) {
    auto http = std::make_shared<fake::FakeHttp>();
    const std::string page("a\0b\0c", 5);
    http->Page("http://h/", page);
    CRobotInternet robot(http);
    std::string body, text;
    int code;
    ASSERT_TRUE(robot.HttpGet("h", body, code, text));
    EXPECT_EQ(body, page);
}

TEST(RobotInternet, RequestsCarryTheAgentTheReloadAndTheHeaderBlock) {
    auto http = std::make_shared<fake::FakeHttp>();
    CRobotInternet robot(http);
    std::string body, text;
    int code;
    robot.HttpGet("h", body, code, text);
    robot.HttpGet("h", body, code, text);
    const auto requests = http->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].agent, "Mozilla");
    EXPECT_TRUE(requests[0].reload);
    EXPECT_EQ(requests[0].headers, "Accept: */*\r\n\r\n");
    EXPECT_EQ(robot.m_nSessionCount, 2);
}

TEST(RobotInternet, Base64PadsShortGroups) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"", ""}, {"M", "TQ=="}, {"Ma", "TWE="}, {"Man", "TWFu"}, {"Aladdin:open sesame", "QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
        {std::string("\xff\x00\x80", 3), "/wCA"},
    };
    for (const Case& c : cases) EXPECT_EQ(CRobotInternet::Base64Encode(c.in), c.out) << c.in;
}

TEST(RobotInternet, CredentialLinesFollowTheSchemeAndTheNames) {
    CRobotInternet robot(nullptr);
    robot.m_strProxyUserName = "user";
    EXPECT_EQ(robot.BuildRequestHeaders(), "Accept: */*\r\nProxy-authorization: Basic dXNlcjo=\r\n\r\n");  // "user:"
    robot.m_strProxyPassword = "pw";
    robot.m_strServerUser = "web";
    robot.m_strServerPassword = "s";
    EXPECT_EQ(robot.BuildRequestHeaders(),
              "Accept: */*\r\nProxy-authorization: Basic dXNlcjpwdw==\r\nAuthorization: Basic d2ViOnM=\r\n\r\n");
    robot.m_strProxyAuthScheme = "Basic";  // only the exact lower-case scheme sends the proxy line
    robot.m_strServerUser.clear();
    EXPECT_EQ(robot.BuildRequestHeaders(), "Accept: */*\r\n\r\n");
}

TEST(RobotInternet, CredentialsGoAsGbkBytesAndWhole) {
    CRobotInternet robot(nullptr);
    robot.m_strProxyUserName = "张三";
    robot.m_strProxyPassword = std::string(400, 'p');  // far past any 256-byte buffer
    const std::string headers = robot.BuildRequestHeaders();
    const std::string want = CRobotInternet::Base64Encode(Utf8ToGbk("张三") + ":" + std::string(400, 'p'));
    EXPECT_EQ(want.size(), 4u * ((4 + 1 + 400 + 2) / 3));
    EXPECT_EQ(headers, "Accept: */*\r\nProxy-authorization: Basic " + want + "\r\n\r\n");
    EXPECT_EQ(CRobotInternet::Base64Encode(Utf8ToGbk("张三")), "1cXI/Q==");
}

TEST(RobotInternet, ErrorTextsByCode) {
    const char* texts[] = {"Successful", "Invalid URL", "Invalid parameter", "Connection failed",
                           "Timed out", "Not found", "Not authorized", "Disk/file error"};
    for (int code = 0; code < 8; ++code) EXPECT_EQ(CRobotInternet::ErrorText(code), texts[code]);
    EXPECT_EQ(CRobotInternet::ErrorText(9), "CRobotInternet error 9");
    EXPECT_EQ(CRobotInternet::ErrorText(-1), "CRobotInternet error -1");
}

}  // namespace
}  // namespace lumivar::test
