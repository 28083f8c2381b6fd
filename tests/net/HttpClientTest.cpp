// The HTTP client on the wire, against scripted peers on 127.0.0.1, and the proxy settings.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "net/HttpClient.h"
#include "net/LocalServer.h"
#include "net/RobotInternet.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

// Reads a request up to its empty line; the lines as received.
std::vector<std::string> ReadRequest(int client) {
    std::vector<std::string> lines;
    for (std::string line = LocalServer::ReadLine(client); !line.empty(); line = LocalServer::ReadLine(client))
        lines.push_back(line);
    return lines;
}

struct Recorder {
    std::mutex mutex;
    std::vector<std::string> lines;
    void Keep(std::vector<std::string> l) {
        std::lock_guard lock(mutex);
        lines = std::move(l);
    }
    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex);
        return lines;
    }
};

std::shared_ptr<CHttpClient> Client(HttpLimits limits = {}, ProxyConfig proxy = {}) {
    return std::make_shared<CHttpClient>(limits, [proxy] { return proxy; });
}

struct Got {
    bool ok;
    int code;
    std::string body;
};
Got Fetch(std::shared_ptr<CHttpClient> client, const std::string& url, const std::string& proxyUser = "") {
    CRobotInternet robot(client);
    robot.m_strProxyUserName = proxyUser;
    Got got{false, -1, "untouched"};
    std::string text;
    got.ok = robot.HttpGet(url, got.body, got.code, text);
    return got;
}

TEST(HttpClient, SendsTheRequestLineAndHeadersAsWritten) {
    Recorder seen;
    LocalServer server([&](int c) {
        seen.Keep(ReadRequest(c));
        LocalServer::Send(c, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<p>hi</p>");
    });
    const std::string url = "127.0.0.1:" + std::to_string(server.Port());
    const Got got = Fetch(Client(), "http://" + url + "/a/b?c=1#top");
    EXPECT_TRUE(got.ok);
    EXPECT_EQ(got.body, "<p>hi</p>");
    EXPECT_EQ(seen.Lines(), (std::vector<std::string>{"GET /a/b?c=1 HTTP/1.0", "Host: " + url, "User-Agent: Mozilla",
                                                     "Pragma: no-cache", "Cache-Control: no-cache", "Accept: */*"}));
}

TEST(HttpClient, ThroughAProxyTheRequestLineCarriesTheWholeUrl) {
    Recorder seen;
    LocalServer proxy([&](int c) {
        seen.Keep(ReadRequest(c));
        LocalServer::Send(c, "HTTP/1.0 200 OK\r\nContent-Length: 27\r\n\r\nV1.25 2004 Build12.18extra!");
    });
    ProxyConfig config;
    config.enabled = true;
    config.host = "127.0.0.1";
    config.port = proxy.Port();
    const Got got = Fetch(Client({}, config), "http://www.lumivar.com.cn/lumivar/update.ini", "用户");
    EXPECT_TRUE(got.ok);
    EXPECT_EQ(got.body, "V1.25 2004 Build12.18extra!");
    const auto lines = seen.Lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "GET http://www.lumivar.com.cn/lumivar/update.ini HTTP/1.0");
    EXPECT_EQ(lines[1], "Host: www.lumivar.com.cn");
    EXPECT_EQ(lines[6], "Proxy-authorization: Basic 08O7pzo=");  // GBK D3C3 BBA7 and ":"
}

TEST(HttpClient, StatusLinesAreClassifiedStrictly) {
    struct Case {
        const char* reply;
        bool ok;
        int code;
        const char* body;
    } cases[] = {
        {"HTTP/1.0 200 OK\r\n\r\nbody", true, 0, "body"},
        {"HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n", true, 0, ""},
        {"HTTP/1.1 404 Not Found\r\n\r\nmissing", false, 5, "untouched"},
        {"HTTP/1.1 407 Proxy\r\n\r\n", false, 6, "untouched"},
        {"HTTP/1.1 500 Oops\r\n\r\n", false, 3, "untouched"},
        {"HTTP/1.0 200\r\n\r\nno reason", true, 0, "no reason"},
        {"<html>no status line</html>", false, 3, ""},
        {"HTTP/1.0 2000 OK\r\n\r\n", false, 3, ""},
        {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nshort", false, 3, "short"},  // fewer than announced
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", true, 0, "abc"},
        {"", false, 3, ""},  // closes without answering
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        LocalServer server([&](int s) {
            ReadRequest(s);
            LocalServer::Send(s, c.reply);
        });
        const Got got = Fetch(Client(), "http://127.0.0.1:" + std::to_string(server.Port()) + "/");
        EXPECT_EQ(got.ok, c.ok);
        EXPECT_EQ(got.code, c.code);
        EXPECT_EQ(got.body, c.body);
    }
}

TEST(HttpClient, NulBytesSurviveAndTheBodyIsCapped) {
    const std::string page = std::string("<a>\0<b>", 7) + std::string(3000, 'x');
    LocalServer server([&](int s) {
        ReadRequest(s);
        LocalServer::Send(s, "HTTP/1.0 200 OK\r\n\r\n" + page);
    });
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/";
    EXPECT_EQ(Fetch(Client(), url).body, page);
    HttpLimits small;
    small.maxBody = 1000;
    const Got capped = Fetch(Client(small), url);
    EXPECT_TRUE(capped.ok);
    EXPECT_EQ(capped.body, page.substr(0, 1000));
}

TEST(HttpClient, ASilentServerFailsWithinTheLimit) {
    LocalServer server([](int s) {
        char b;
        recv(s, &b, 1, 0);
        ReadRequest(s);
        recv(s, &b, 1, 0);  // holds the connection until the client gives up
    });
    HttpLimits limits;
    limits.stepMs = 300;
    limits.totalMs = 600;
    const auto start = std::chrono::steady_clock::now();
    const Got got = Fetch(Client(limits), "http://127.0.0.1:" + std::to_string(server.Port()) + "/");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(got.code, 3);
    EXPECT_EQ(got.body, "");
    EXPECT_GE(waited, 250ms);
    EXPECT_LT(waited, 3s);
}

TEST(HttpClient, ATrickleStopsAtTheOverallLimitWithWhatCame) {
    LocalServer server([](int s) {
        ReadRequest(s);
        LocalServer::Send(s, "HTTP/1.0 200 OK\r\n\r\n");
        for (int i = 0; i < 40; ++i) {
            if (send(s, "x", 1, MSG_NOSIGNAL) != 1) return;
            std::this_thread::sleep_for(50ms);
        }
    });
    HttpLimits limits;
    limits.stepMs = 300;
    limits.totalMs = 500;
    const auto start = std::chrono::steady_clock::now();
    const Got got = Fetch(Client(limits), "http://127.0.0.1:" + std::to_string(server.Port()) + "/");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(got.code, 3);
    EXPECT_FALSE(got.body.empty());
    EXPECT_LT(got.body.size(), 40u);
    EXPECT_LT(waited, 1500ms);
}

TEST(HttpClient, NoListenerIsAConnectionFailure) {
    uint16_t port;
    { LocalServer gone([](int) {}); port = gone.Port(); }
    const Got got = Fetch(Client(), "http://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(got.code, 3);
    EXPECT_EQ(got.body, "");
}

TEST(ProxySettings, InternetSettingsAsWindowsKeepsThem) {
    struct Case {
        bool enable;
        const char* server;
        const char* override;
        const char* host;  // "" when no proxy
        uint16_t port;
    } cases[] = {
        {true, "127.0.0.1:8080", "", "127.0.0.1", 8080},
        {true, "proxy.corp", "", "proxy.corp", 80},
        {true, "http=web:3128;https=secure:443", "", "web", 3128},
        {true, "ftp=f:21;https=s:443", "", "", 0},
        {true, "http://p:81/", "", "p", 81},
        {false, "127.0.0.1:8080", "", "", 0},
        {true, "", "", "", 0},
        {true, "p:99999", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        const ProxyConfig config = ParseInternetSettings(c.enable, c.server, c.override);
        EXPECT_EQ(config.enabled, *c.host != 0);
        if (*c.host) {
            EXPECT_EQ(config.host, c.host);
            EXPECT_EQ(config.port, c.port);
        }
    }
}

TEST(ProxySettings, BypassListsSendSomeHostsDirect) {
    const ProxyConfig win = ParseInternetSettings(true, "p:1", "<local>; *.intra.cn;10.*");
    struct Case {
        const char* host;
        bool proxied;
    } winCases[] = {{"www.lumivar.com.cn", true}, {"localhost", false}, {"a.INTRA.cn", false},
                    {"intra.cn", true}, {"10.1.2.3", false}, {"127.0.0.1", true}};
    for (const Case& c : winCases) EXPECT_EQ(win.UsedFor(c.host), c.proxied) << c.host;

    const ProxyConfig env = ParseProxyEnvironment("http://127.0.0.1:3128/", "localhost, .example.org,10.0.0.1");
    ASSERT_TRUE(env.enabled);
    EXPECT_EQ(env.port, 3128);
    Case envCases[] = {{"localhost", false}, {"example.org", false}, {"www.example.org", false},
                       {"notexample.org", true}, {"10.0.0.1", false}, {"lumivar.github.io", true}};
    for (const Case& c : envCases) EXPECT_EQ(env.UsedFor(c.host), c.proxied) << c.host;
    EXPECT_FALSE(ParseProxyEnvironment("p:1", "*").UsedFor("any.host"));
    EXPECT_FALSE(ParseProxyEnvironment("", "").enabled);
}

}  // namespace
}  // namespace lumivar::test
