// The network clients over Winsock: the HTTP client takes its proxy from the user's Internet
// Settings, the POP3 client's time limit holds, and echoes go through the system's ICMP library.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "net/HttpClient.h"
#include "net/LocalServer.h"
#include "net/Ping.h"
#include "net/Pop3Connection.h"
#include "net/RobotInternet.h"
#include "net/SystemIcmp.h"

namespace lumivar {
namespace {

using test::LocalServer;

const wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The proxy values as they were before the test, put back after it.
struct SavedProxyValues {
    struct Value { const wchar_t* name; LSTATUS found = 0; DWORD type = 0, size = 1024; BYTE data[1024] = {}; };
    Value values[4] = {{L"ProxyEnable"}, {L"ProxyServer"}, {L"ProxyOverride"}, {L"AutoConfigURL"}};
    SavedProxyValues() {
        for (Value& v : values) v.found = RegGetValueW(HKEY_CURRENT_USER, kKey, v.name, RRF_RT_ANY, &v.type, v.data, &v.size);
    }
    ~SavedProxyValues() {
        for (Value& v : values)
            v.found == ERROR_SUCCESS ? RegSetKeyValueW(HKEY_CURRENT_USER, kKey, v.name, v.type, v.data, v.size)
                                     : RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, v.name);
    }
};

void SetProxy(DWORD enable, const std::wstring& server) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ProxyEnable", REG_DWORD, &enable, sizeof enable);
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ProxyServer", REG_SZ, server.c_str(), DWORD(server.size() * 2 + 2));
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ProxyOverride", REG_SZ, L"<local>", sizeof L"<local>");
}

// A proxy on 127.0.0.1 that answers every request with "V9 Build1" and keeps its first line.
struct RecordingProxy {
    std::string requestLine;
    LocalServer server{[this](test::Socket c) {
        const std::string request = LocalServer::ReadRequest(c);
        requestLine = request.substr(0, request.find('\n'));
        LocalServer::Send(c, "HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nV9 Build1");
    }};
};

// The body fetched from url with the system's proxy settings, or "failed".
std::string FetchAsTheProgram(const std::string& url) {
    CRobotInternet robot(std::make_shared<CHttpClient>());
    std::string body, text;
    int code = -1;
    return robot.HttpGet(url, body, code, text) ? body : "failed";
}

TEST(HttpWine, RequestsGoThroughTheProxyOfTheInternetSettings) {
    RecordingProxy recorder;
    LocalServer& proxy = recorder.server;
    const std::wstring at = L"127.0.0.1:" + std::to_wstring(proxy.Port());
    const SavedProxyValues saved;
    SetProxy(0, at);
    const HttpUrl site{.host = "www.lumivar.com.cn"};
    EXPECT_FALSE(SystemProxyConfig(site).enabled);
    SetProxy(1, L"http=" + at + L";https=127.0.0.1:1");
    const ProxyConfig config = SystemProxyConfig(site);
    // Nothing may go past the proxy to the real site.
    ASSERT_TRUE(config.enabled);
    ASSERT_EQ(config.host + ":" + std::to_string(config.port), "127.0.0.1:" + std::to_string(proxy.Port()));
    EXPECT_FALSE(config.UsedFor("localhost"));

    EXPECT_EQ(FetchAsTheProgram("http://www.lumivar.com.cn/lumivar/update.ini"), "V9 Build1");
    proxy.Stop();
    EXPECT_EQ(recorder.requestLine, "GET http://www.lumivar.com.cn/lumivar/update.ini HTTP/1.0");
}

// Where an automatic configuration script is set, it chooses the proxy for each address; where
// it cannot be had, the proxy typed in serves. Every address here is on 127.0.0.1, so that
// nothing leaves the machine whatever the script does.
TEST(HttpWine, AnAutomaticConfigurationScriptChoosesTheProxyForEachAddress) {
    RecordingProxy recorder;
    LocalServer& proxy = recorder.server;
    const std::string port = std::to_string(proxy.Port());
    const std::string script = "function FindProxyForURL(url, host) {\n"
                               "  return url.indexOf('/via') >= 0 ? 'PROXY 127.0.0.1:" + port + "' : 'DIRECT';\n}\n";
    LocalServer pac([&](test::Socket c) {
        LocalServer::ReadRequest(c);
        LocalServer::Send(c, "HTTP/1.0 200 OK\r\nContent-Type: application/x-ns-proxy-autoconfig\r\nContent-Length: " +
                                 std::to_string(script.size()) + "\r\n\r\n" + script);
    });
    const SavedProxyValues saved;
    SetProxy(1, L"127.0.0.1:1");
    const auto setScript = [](const std::string& url) {
        const std::wstring w(url.begin(), url.end());
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"AutoConfigURL", REG_SZ, w.c_str(), DWORD(w.size() * 2 + 2));
    };
    setScript("http://127.0.0.1:" + std::to_string(pac.Port()) + "/proxy.pac");
    const HttpUrl via{.host = "127.0.0.1", .port = 1, .target = "/via"}, other{.host = "127.0.0.1", .port = 1, .target = "/other"};
    const ProxyConfig chosen = SystemProxyConfig(via);
    EXPECT_TRUE(chosen.enabled && chosen.host == "127.0.0.1" && chosen.port == proxy.Port() &&
                chosen.tlsHost == "127.0.0.1" && chosen.tlsPort == proxy.Port());
    EXPECT_FALSE(SystemProxyConfig(other).enabled) << "DIRECT";

    EXPECT_EQ(FetchAsTheProgram("http://127.0.0.1:1/via"), "V9 Build1");
    proxy.Stop();
    EXPECT_EQ(recorder.requestLine, "GET http://127.0.0.1:1/via HTTP/1.0");

    pac.Stop();
    setScript("http://127.0.0.1:1/none.pac");
    const ProxyConfig typed = SystemProxyConfig(via);
    EXPECT_TRUE(typed.enabled && typed.port == 1) << "the typed-in proxy, when the script is not there";
}

// The receive time limit holds under Wine: not given up early, nor waited out forever.
TEST(Pop3Winsock, ASilentServerFailsWithinTheTimeLimit) {
    LocalServer peer([](test::Socket c) { LocalServer::ReadLine(c); });
    CPop3Connection pop3("127.0.0.1", peer.Port(), "a", "b");
    pop3.SetTimeout(500);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(pop3.Connect());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(pop3.GetError(), "Socket Error");
    EXPECT_GE(waited, std::chrono::milliseconds(400));
    EXPECT_LT(waited, std::chrono::seconds(5));
}

// The loopback answers; an IPv6 echo answers too, or fails with a status where the system
// (Wine, for one) has no IPv6 echo, and never outlasts its time limit.
TEST(IcmpWine, TheLoopbackAnswersAndAnIpv6EchoAnswersOrFailsInTime) {
    CSystemIcmp icmp;
    CPing ping(icmp.OpenEcho());
    ASSERT_TRUE(ping.m_bValid);
    std::string text;
    ASSERT_TRUE(ping.Resolve("127.0.0.1"));
    EXPECT_TRUE(ping.Ping(40, 2000, text)) << text;
    EXPECT_EQ(text.rfind("Reply from 127.0.0.1 [", 0), 0u) << text;

    ASSERT_TRUE(ping.Resolve("[::1]"));
    const auto start = std::chrono::steady_clock::now();
    const bool answered = ping.Ping(40, 1000, text);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(answered ? text.rfind("Reply from ::1 [", 0) == 0 : text.rfind("Ping: Error - Status = 110", 0) == 0)
        << text;
}

}  // namespace
}  // namespace lumivar
