// The POP3 client over Winsock against a silent server in this process.
#include <gtest/gtest.h>

#include <chrono>

#include "net/LocalServer.h"
#include "net/Pop3Connection.h"

namespace lumivar {
namespace {

using test::LocalServer;

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
