// The HTTP client over Winsock under Wine: the proxy of the user's Internet Settings, and the
// time limit against a server that never answers.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "net/HttpClient.h"
#include "net/RobotInternet.h"
#include "net/UpdateCheck.h"
#include "app/Strings.h"

namespace lumivar {
namespace {

// One connection on 127.0.0.1: the request is kept, then the reply sent (or, when silent,
// the connection is held until the client gives up).
class OneShotServer {
public:
    OneShotServer(std::string reply, bool silent) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        int size = sizeof a;
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
        m_port = ntohs(a.sin_port);
        listen(m_listener, 1);
        m_thread = std::thread([this, reply, silent] {
            const SOCKET c = accept(m_listener, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(c, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, size_t(n));
            }
            if (silent)
                recv(c, buffer, 1, 0);
            else
                send(c, reply.data(), int(reply.size()), 0);
            closesocket(c);
        });
    }
    ~OneShotServer() {
        closesocket(m_listener);
        m_thread.join();
    }
    uint16_t Port() const { return m_port; }
    std::string request;  // read after the fetch

private:
    SOCKET m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};

// Sets the proxy values for one test and puts back what was there.
class InternetSettings {
public:
    InternetSettings() {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                        nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        for (Saved& s : m_saved) {
            s.size = sizeof s.data;
            s.exists = RegQueryValueExW(m_key, s.name, nullptr, &s.type, s.data, &s.size) == ERROR_SUCCESS;
        }
    }
    ~InternetSettings() {
        for (Saved& s : m_saved)
            if (s.exists)
                RegSetValueExW(m_key, s.name, 0, s.type, s.data, s.size);
            else
                RegDeleteValueW(m_key, s.name);
        RegCloseKey(m_key);
    }
    void Set(DWORD enable, const std::wstring& server, const std::wstring& override) {
        RegSetValueExW(m_key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof enable);
        RegSetValueExW(m_key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                       DWORD((server.size() + 1) * sizeof(wchar_t)));
        RegSetValueExW(m_key, L"ProxyOverride", 0, REG_SZ, reinterpret_cast<const BYTE*>(override.c_str()),
                       DWORD((override.size() + 1) * sizeof(wchar_t)));
    }

private:
    struct Saved {
        const wchar_t* name;
        bool exists = false;
        DWORD type = 0, size = 0;
        BYTE data[1024] = {};
    } m_saved[3] = {{L"ProxyEnable"}, {L"ProxyServer"}, {L"ProxyOverride"}};
    HKEY m_key = nullptr;
};

TEST(HttpWine, RequestsGoThroughTheProxyOfTheInternetSettings) {
    OneShotServer proxy("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nV9 Build1", false);
    InternetSettings settings;
    settings.Set(1, L"http=127.0.0.1:" + std::to_wstring(proxy.Port()) + L";https=127.0.0.1:1", L"<local>");
    const ProxyConfig config = SystemProxyConfig();
    ASSERT_TRUE(config.enabled);
    EXPECT_EQ(config.port, proxy.Port());
    EXPECT_FALSE(config.UsedFor("localhost"));

    CRobotInternet robot(std::make_shared<CHttpClient>());
    std::string body, text;
    int code = -1;
    EXPECT_TRUE(robot.HttpGet("http://www.lumivar.com.cn/lumivar/update.ini", body, code, text));
    EXPECT_EQ(body, "V9 Build1");
    EXPECT_EQ(proxy.request.substr(0, proxy.request.find("\r\n")),
              "GET http://www.lumivar.com.cn/lumivar/update.ini HTTP/1.0");
    EXPECT_NE(proxy.request.find("\r\nUser-Agent: Mozilla\r\n"), std::string::npos);

    settings.Set(0, L"127.0.0.1:1", L"");
    EXPECT_FALSE(SystemProxyConfig().enabled);
}

TEST(HttpWine, TheUpdateFileComesThroughAProxyForEveryProtocol) {
    OneShotServer proxy("HTTP/1.0 200 OK\r\n\r\nV9 Build2", false);
    InternetSettings settings;
    settings.Set(1, L"127.0.0.1:" + std::to_wstring(proxy.Port()), L"<local>");
    CRobotInternet robot(std::make_shared<CHttpClient>());
    const UpdateAnswer answer = FetchUpdateFile(robot, kStrUpdateFileA, kStrUpdateFileB);
    EXPECT_EQ(answer.site, UpdateAnswer::Site::A);
    EXPECT_EQ(answer.body, "V9 Build2");
    EXPECT_EQ(proxy.request.substr(0, proxy.request.find("\r\n")), std::string("GET ") + kStrUpdateFileA + " HTTP/1.0");
}

TEST(HttpWine, ASilentServerIsGivenUpWithinTheLimit) {
    OneShotServer silent("", true);
    CRobotInternet robot(std::make_shared<CHttpClient>(HttpLimits{1000, 1500}, [] { return ProxyConfig{}; }));
    std::string body = "old", text;
    int code = -1;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(robot.HttpGet("http://127.0.0.1:" + std::to_string(silent.Port()) + "/", body, code, text));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(code, 3);
    EXPECT_EQ(body, "");
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_LT(waited, std::chrono::seconds(5));
}

}  // namespace
}  // namespace lumivar
