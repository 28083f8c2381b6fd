// The POP3 client over Winsock, against a scripted server on 127.0.0.1 in the same process.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/Pop3Connection.h"

namespace lumivar {
namespace {

// Accepts one connection and sends each reply after reading one line; an empty reply is
// silence until the client hangs up.
class WinsockPeer {
public:
    explicit WinsockPeer(std::vector<std::string> replies) {
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
        m_thread = std::thread([this, replies] {
            const SOCKET c = accept(m_listener, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            for (size_t i = 0; i < replies.size(); ++i) {
                if (i > 0) received.push_back(ReadLine(c));
                if (replies[i].empty()) {
                    char b;
                    recv(c, &b, 1, 0);
                    break;
                }
                // Two segments, so that a reply is only whole once both are in.
                const size_t half = replies[i].size() / 2;
                send(c, replies[i].data(), int(half), 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                send(c, replies[i].data() + half, int(replies[i].size() - half), 0);
            }
            closesocket(c);
        });
    }
    ~WinsockPeer() {
        closesocket(m_listener);
        Wait();
    }
    void Wait() {
        if (m_thread.joinable()) m_thread.join();
    }
    uint16_t Port() const { return m_port; }
    std::vector<std::string> received;

private:
    static std::string ReadLine(SOCKET c) {
        std::string line;
        char ch;
        while (recv(c, &ch, 1, 0) == 1 && ch != '\n') line += ch;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
    SOCKET m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};

TEST(Pop3Winsock, CountsTheMailboxWithRepliesCutInTwo) {
    WinsockPeer peer({"+OK ready\r\n", "+OK\r\n", "+OK in\r\n", "+OK 3 4500\r\n", "+OK bye\r\n"});
    {
        CPop3Connection pop3("127.0.0.1", peer.Port(), "张三", "pw");
        ASSERT_TRUE(pop3.Connect()) << pop3.GetError();
        EXPECT_EQ(pop3.Stat(), 3);
        EXPECT_TRUE(pop3.Quit());
    }
    peer.Wait();  // the peer is done once it has answered QUIT
    EXPECT_EQ(peer.received, (std::vector<std::string>{"USER \xD5\xC5\xC8\xFD", "PASS pw", "STAT", "QUIT"}));
}

TEST(Pop3Winsock, ASilentServerFailsWithinTheTimeLimit) {
    WinsockPeer peer({""});
    CPop3Connection pop3("127.0.0.1", peer.Port(), "a", "b");
    pop3.SetTimeout(500);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(pop3.Connect());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(pop3.GetError(), "Socket Error");
    EXPECT_LT(waited, std::chrono::seconds(5));
}

}  // namespace
}  // namespace lumivar
