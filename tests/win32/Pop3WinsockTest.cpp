// The POP3 client over Winsock against a scripted server in this process.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "net/LocalServer.h"
#include "net/Pop3Connection.h"

namespace lumivar {
namespace {

using test::LocalServer;

TEST(Pop3Winsock, LogsInAsGbkCountsTheMailboxAndQuits) {
    std::vector<std::string> heard;
    LocalServer peer([&](test::Socket c) {
        LocalServer::Send(c, "+OK ready\r\n");
        for (const char* reply : {"+OK\r\n", "+OK in\r\n", "+OK 3 4500\r\n", "+OK bye\r\n"}) {
            heard.push_back(LocalServer::ReadLine(c));
            LocalServer::Send(c, reply);
        }
    });
    CPop3Connection pop3("127.0.0.1", peer.Port(), "张三", "pw");
    ASSERT_TRUE(pop3.Connect()) << pop3.GetError();
    EXPECT_EQ(pop3.Stat(), 3);
    EXPECT_TRUE(pop3.Quit());
    peer.Stop();
    EXPECT_EQ(heard, (std::vector<std::string>{"USER \xD5\xC5\xC8\xFD", "PASS pw", "STAT", "QUIT"}));
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

}  // namespace
}  // namespace lumivar
