// The TCP connection against a real peer on 127.0.0.1.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "net/LocalServer.h"
#include "net/TcpSocket.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;

TEST(TcpSocket, LinesComeWholeHoweverTheyAreCutAndEndAtTheFirstFailure) {
    LocalServer server([](int c) {
        LocalServer::Send(c, "+OK ready\r");
        std::this_thread::sleep_for(30ms);  // a reply split between segments
        LocalServer::Send(c, "\n+OK two\r\n+OK thr");
        std::this_thread::sleep_for(30ms);
        LocalServer::Send(c, "ee\r\nno end");
    });
    CTcpSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", server.Port(), 2000));
    std::string line;
    for (const char* want : {"+OK ready", "+OK two", "+OK three"}) {
        ASSERT_TRUE(s.ReceiveLine(line, 512));
        EXPECT_EQ(line, want);
    }
    EXPECT_FALSE(s.ReceiveLine(line, 512));  // closed before its CR LF
}

TEST(TcpSocket, AnOverlongLineIsRefused) {
    LocalServer server([](int c) { LocalServer::Send(c, std::string(600, 'x') + "\r\n"); });
    CTcpSocket s;
    ASSERT_TRUE(s.Connect("localhost", server.Port(), 2000));
    std::string line;
    EXPECT_FALSE(s.ReceiveLine(line, 512));
}

TEST(TcpSocket, ASilentPeerTimesOutWithinTheLimit) {
    LocalServer server([](int c) {
        char b;
        recv(c, &b, 1, 0);  // waits until the client gives up
    });
    CTcpSocket s;
    ASSERT_TRUE(s.Connect("127.0.0.1", server.Port(), 300));
    const auto start = std::chrono::steady_clock::now();
    std::string line;
    EXPECT_FALSE(s.ReceiveLine(line, 512));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 250ms);
    EXPECT_LT(waited, 5s);
    s.Close();
}

TEST(TcpSocket, NoListenerAndNoSuchHostFail) {
    uint16_t port;
    { LocalServer gone([](int) {}); port = gone.Port(); }
    CTcpSocket s;
    EXPECT_FALSE(s.Connect("127.0.0.1", port, 2000));
    EXPECT_FALSE(s.IsOpen());
    EXPECT_FALSE(s.Connect("", port, 2000));
    std::string line;
    EXPECT_FALSE(s.ReceiveLine(line, 512));
}

}  // namespace
}  // namespace lumivar::test
