// The HTTP client: on the wire against scripted peers on 127.0.0.1, its rules over a scripted
// transport, and the proxy settings.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <thread>
#include <tuple>

#include "fake/FakeShell.h"
#include "net/HttpClient.h"
#include "net/LocalServer.h"
#include "net/RobotInternet.h"
#include "settings/Gbk.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

struct Got { bool ok; int code; std::string body; };
Got Fetch(const std::string& url, HttpLimits limits = {}, ProxyConfig proxy = {}, const std::string& proxyUser = "") {
    CRobotInternet robot(std::make_shared<CHttpClient>(SystemTcp(), std::make_shared<fake::FakeProxy>(proxy), limits));
    robot.m_strProxyUserName = proxyUser;
    Got got{false, -1, "untouched"};
    std::string text;
    got.ok = robot.HttpGet(url, got.body, got.code, text);
    return got;
}
std::string UrlOf(uint16_t port) { return "http://127.0.0.1:" + std::to_string(port) + "/"; }

TEST(HttpClient, SendsTheRequestLineAndHeadersDirectOrTheWholeUrlToAProxy) {
    // The server answers with the request it read.
    LocalServer server([](int c) { LocalServer::Send(c, "HTTP/1.1 200 OK\r\n\r\n" + LocalServer::ReadRequest(c)); });
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    const Got direct = Fetch("http://" + host + "/a/b?c=1#top", {}, {}, "用户");  // no proxy: no proxy line
    EXPECT_TRUE(direct.ok);
    EXPECT_EQ(direct.body, "GET /a/b?c=1 HTTP/1.0\nHost: " + host +
                               "\nUser-Agent: Mozilla\nPragma: no-cache\nCache-Control: no-cache\nAccept: */*\n");
    ProxyConfig proxy;
    proxy.enabled = true, proxy.host = "127.0.0.1", proxy.port = server.Port();
    const Got proxied = Fetch("http://www.lumivar.com.cn/lumivar/update.ini", {}, proxy, "用户");
    EXPECT_EQ(proxied.body, "GET http://www.lumivar.com.cn/lumivar/update.ini HTTP/1.0\nHost: www.lumivar.com.cn\n"
                            "User-Agent: Mozilla\nPragma: no-cache\nCache-Control: no-cache\n"
                            "Proxy-authorization: Basic 08O7pzo=\nAccept: */*\n");  // GBK D3C3 BBA7 and ":"
    // https through the proxy: a tunnel asked for with the proxy's credentials, the rest secret
    // (this build's sockets have no TLS, so it ends there).
    std::string request;
    LocalServer connect([&](int c) {
        request = LocalServer::ReadRequest(c);
        LocalServer::Send(c, "HTTP/1.1 200 Connection established\r\n\r\n");
    });
    ProxyConfig tunnel;
    tunnel.enabled = true, tunnel.tlsHost = "127.0.0.1", tunnel.tlsPort = connect.Port();
    const Got tunnelled = Fetch("https://[2001:db8::1]/secret", {}, tunnel, "用户");
    EXPECT_EQ(tunnelled.code, CRobotInternet::kNoTls);
    EXPECT_EQ(request, "CONNECT [2001:db8::1]:443 HTTP/1.1\nHost: [2001:db8::1]:443\nProxy-authorization: Basic 08O7pzo=\n");
}

TEST(HttpClient, RepliesAreClassifiedStrictlyAndBodiesKeptWholeUpToTheCap) {
    const std::string page = std::string("<a>\0<b>", 7) + std::string(3000, 'x');
    const struct { std::string reply; bool ok; int code; std::string body; } cases[] = {
        {"HTTP/1.0 200 OK\r\n\r\nbody", true, 0, "body"},
        {"HTTP/1.1 403 Forbidden\r\n\r\nno", false, 6, "untouched"},
        {"HTTP/1.1 500 Oops\r\n\r\n", false, 3, "untouched"},
        {"<html>no status line</html>", false, 3, ""},
        {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nshort", false, 3, "short"},  // fewer than announced
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", true, 0, "abc"},
        {"HTTP/1.0 200 OK\r\n\r\n" + page, true, 0, page.substr(0, 1000)},  // NUL bytes and all, capped
        {"", false, 3, ""},   // closes without a status line
        {"HTTP/1.0 200 OK\r\nServer: x\r\n", false, 3, ""},  // closes inside the headers
        {"-", false, 3, ""},  // nobody listens
    };
    HttpLimits limits;
    limits.maxBody = 1000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.substr(0, 40));
        auto server = std::make_unique<LocalServer>([&](int s) {
            LocalServer::ReadRequest(s);
            LocalServer::Send(s, c.reply);
        });
        const uint16_t port = server->Port();
        if (c.reply == "-") server.reset();
        const Got got = Fetch(UrlOf(port), limits);
        EXPECT_EQ(std::tuple(got.ok, got.code, got.body), std::tuple(c.ok, c.code, c.body));
    }
}

// A silent server meets the per-read limit; a trickling one the overall limit, keeping what came.
TEST(HttpClient, SilentAndTricklingServersStopAtTheLimits) {
    const struct { const char* name; std::function<void(int)> script; std::size_t least, most; } cases[] = {
        {"silent", [](int s) {
             LocalServer::ReadRequest(s);
             char b;
             recv(s, &b, 1, 0);  // holds the connection until the client gives up
         }, 0, 0},
        {"trickle", [](int s) {
             LocalServer::ReadRequest(s);
             LocalServer::Send(s, "HTTP/1.0 200 OK\r\n\r\n");
             for (int i = 0; i < 40 && send(s, "x", 1, MSG_NOSIGNAL) == 1; ++i) std::this_thread::sleep_for(50ms);
         }, 1, 39},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LocalServer server(c.script);
        const auto start = std::chrono::steady_clock::now();
        const Got got = Fetch(UrlOf(server.Port()), HttpLimits{300, 500});
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(got.code, 3);
        EXPECT_GE(got.body.size(), c.least);
        EXPECT_LE(got.body.size(), c.most);
        EXPECT_GE(waited, 250ms);
        EXPECT_LT(waited, 1500ms);
    }
}

TEST(RobotInternet, AddressesAreCanonicalisedAsTypedAndBadOnesNeverFetched) {
    // fetched: the URL requested; "" when refused before any connection.
    const struct { const char *typed, *canonical, *fetched; } cases[] = {
        {"  www.example.com/a b \t", "http://www.example.com/a b", "http://www.example.com/a%20b"},
        {"//host/x?q=1#frag", "http://host/x?q=1#frag", "http://host/x?q=1"},
        {"HTTP://Host:8080", "HTTP://Host:8080", "http://Host:8080/"},
        {"http://user:pw@host:80?x", "http://user:pw@host:80?x", "http://host/?x"},
        {"www.example.com:8080/page", "www.example.com:8080/page", ""},  // a port without a scheme
        {"https://host:443/", "https://host:443/", "https://host/"}, {"HTTPS://h:8443", "HTTPS://h:8443", "https://h:8443/"},
        {"http://[::1]:8080/x", "http://[::1]:8080/x", "http://[::1]:8080/x"}, {"http://[::1/", "http://[::1/", ""},
        {"http://a:b:1/", "http://a:b:1/", ""}, {"ftp://host/", "ftp://host/", ""},
        {"/path", "http:/path", ""}, {"http://host:0/", "http://host:0/", ""},
        {"", "http://", ""},
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
        EXPECT_EQ(code, *c.fetched ? 3 : *c.typed ? 1 : 2);  // 3: the scripted transport answers nothing
        if (!*c.fetched) {
            EXPECT_EQ(text, *c.typed ? "Invalid URL" : "Invalid parameter");
            EXPECT_EQ(body, "before");
        }
    }
}

// Names go as GBK bytes, and whole, far past any 256-byte buffer.
TEST(RobotInternet, CredentialLinesCarryTheNamesWholeAndTheProxyOneOnlyForTheBasicScheme) {
    CRobotInternet robot(std::make_shared<fake::FakeHttp>());
    robot.m_strProxyUserName = "张三";
    robot.m_strProxyPassword = std::string(400, 'p');
    robot.m_strServerUser = "web";
    robot.m_strServerPassword = "s";
    const std::string proxy = CRobotInternet::Base64Encode(Utf8ToGbk("张三") + ":" + std::string(400, 'p'));
    EXPECT_EQ(proxy.rfind("1cXI/Tpw", 0), 0u);  // D5 C5 C8 FD ":" "p"
    EXPECT_EQ(proxy.size(), 540u);
    EXPECT_EQ(robot.ProxyHeaders(), "Proxy-authorization: Basic " + proxy + "\r\n");
    EXPECT_EQ(robot.ServerHeaders(true), "Accept: */*\r\nAuthorization: Basic d2ViOnM=\r\n\r\n");
    EXPECT_EQ(robot.ServerHeaders(false), "Accept: */*\r\n\r\n");
    robot.m_strProxyAuthScheme = "Basic";  // only the exact lower-case scheme sends the proxy line
    EXPECT_EQ(robot.ProxyHeaders(), "");
}

// Redirects are followed to the final page, relative ones against the address that gave them,
// five hops at most and never from https down to http; the server account goes only to the
// origin it was given for.
TEST(RobotInternet, RedirectsAreFollowedToTheFinalPageWithinTheirRules) {
    const auto moved = [](const char* to, int status = 301) { return HttpReply{HttpReply::Outcome::Complete, status, "", to}; };
    using Hops = std::vector<std::pair<std::string, HttpReply>>;
    const struct { const char* name; Hops hops; int code; std::string body; Strings fetched, credited; } rows[] = {
        {"http to https elsewhere", {{"http://a.test/", moved("https://b.test/x")}}, 0, "final",
         {"http://a.test/", "https://b.test/x"}, {"http://a.test/"}},
        {"relative, and back home", {{"http://a.test/d/p?q", moved("n", 302)}, {"http://a.test/d/n", moved("//b.test/", 307)},
                                     {"http://b.test/", moved("?z", 308)}, {"http://b.test/?z", moved("http://a.test/r", 303)}},
         0, "final", {"http://a.test/d/p?q", "http://a.test/d/n", "http://b.test/", "http://b.test/?z", "http://a.test/r"},
         {"http://a.test/d/p?q", "http://a.test/d/n", "http://a.test/r"}},
        {"https down to http", {{"https://a.test/", moved("http://a.test/")}}, CRobotInternet::kInsecureRedirect, "untouched",
         {"https://a.test/"}, {"https://a.test/"}},
        {"a redirect without a place", {{"http://a.test/", moved("")}}, 3, "untouched", {"http://a.test/"}, {"http://a.test/"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        auto http = std::make_shared<fake::FakeHttp>();
        for (const auto& [url, reply] : r.hops) http->Answer(url, reply);
        for (const char* last : {"https://b.test/x", "http://a.test/r"}) http->Page(last, "final");
        CRobotInternet robot(http);
        robot.m_strServerUser = "me";
        std::string body = "untouched", text;
        int code = -1;
        robot.HttpGet(r.hops.front().first, body, code, text);
        EXPECT_EQ(std::tie(code, body), std::tie(r.code, r.body));
        EXPECT_EQ(http->Urls(), r.fetched);
        Strings credited;
        for (const HttpRequest& q : http->Requests())
            if (q.headers.find("Authorization: Basic") != std::string::npos) credited.push_back(q.url.Absolute());
        EXPECT_EQ(credited, r.credited);
    }
    auto loop = std::make_shared<fake::FakeHttp>();
    for (int i = 0; i < 7; ++i) loop->Answer("http://a.test/" + std::to_string(i), moved(("/" + std::to_string(i + 1)).c_str()));
    CRobotInternet robot(loop);
    std::string body, text;
    int code = -1;
    EXPECT_FALSE(robot.HttpGet("http://a.test/0", body, code, text));
    EXPECT_EQ(code, CRobotInternet::kTooManyRedirects);
    EXPECT_EQ(loop->Urls().size(), 6u);  // the address and five hops
}

TEST(ProxySettings, ReadAsTheSystemKeepsThemWithBypassListsSendingSomeHostsDirect) {
    // Each scheme's proxy as "host:port"; "" goes direct. Typed in, or a configuration script's answer.
    const auto typed = [](const char* server) { return ParseInternetSettings(true, server, ""); };
    const struct { ProxyConfig config; const char* http; const char* https; } cases[] = {
        {typed("proxy.corp"), "proxy.corp:80", "proxy.corp:80"}, {typed("http=web:3128;https=secure:443"), "web:3128", "secure:443"},
        {typed("ftp=f:21;https=s:443"), "", "s:443"}, {typed("http://p:81/"), "p:81", "p:81"},
        {ParseInternetSettings(false, "p:8080", ""), "", ""}, {typed("p:99999"), "", ""},
        {typed("[::1]:8080"), "::1:8080", "::1:8080"}, {typed("ftp=f:21"), "", ""},
        {ParseScriptAnswer("a:8080;b:3128"), "a:8080", "a:8080"}, {ParseScriptAnswer("PROXY p:81; DIRECT"), "p:81", "p:81"},
        {ParseScriptAnswer("DIRECT; PROXY p:81"), "", ""}, {ParseScriptAnswer("SOCKS s:1080; PROXY p:3128"), "p:3128", "p:3128"},
        {ParseScriptAnswer(" proxy [::1]:3128 "), "::1:3128", "::1:3128"}, {ParseScriptAnswer(""), "", ""},
        {ParseScriptAnswer("p"), "p:80", "p:80"}, {ParseScriptAnswer("PROXY"), "", ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto route = [&](const char* url) {
            HttpUrl parsed;
            std::string host;
            uint16_t port = 0;
            CRobotInternet::ParseUrl(url, parsed);
            return cases[i].config.Route(parsed, host, port) ? host + ":" + std::to_string(port) : "";
        };
        EXPECT_EQ(route("http://www.lumivar.com.cn/"), cases[i].http);
        EXPECT_EQ(route("https://www.lumivar.com.cn/"), cases[i].https);
    }
    const ProxyConfig win = ParseInternetSettings(true, "p:1", "<local>; *.intra.cn;10.*");
    const ProxyConfig env = ParseProxyEnvironment("http://127.0.0.1:3128/", "", "localhost, .example.org");
    const struct { const ProxyConfig& config; const char* host; bool proxied; } hosts[] = {
        {win, "www.lumivar.com.cn", true}, {win, "localhost", false}, {win, "a.INTRA.cn", false}, {win, "intra.cn", true},
        {win, "10.1.2.3", false}, {win, "127.0.0.1", true}, {win, "::1", true}, {env, "example.org", false}, {env, "www.example.org", false},
        {env, "notexample.org", true}, {env, "lumivar.github.io", true},
    };
    for (const auto& c : hosts) EXPECT_EQ(c.config.UsedFor(c.host), c.proxied) << c.host;
}

}  // namespace
}  // namespace lumivar::test
