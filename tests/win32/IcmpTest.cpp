// The ICMP library as the program loads it, and a real echo of this machine.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include "net/Ping.h"
#include "net/SystemIcmp.h"

namespace lumivar {
namespace {

TEST(Win32Icmp, LibraryLoadsWithItsThreeFunctionsAndAHandle) {
    auto session = CSystemIcmp().OpenEcho();
    ASSERT_EQ(session->GetState(), IEchoSession::State::Ready);
    CPing ping(std::move(session));
    EXPECT_EQ(ping.m_bValid, 1);
    EXPECT_EQ(ping.m_bLibraryError, 0);
}

TEST(Win32Icmp, EchoOfLoopbackAnswersWithTheFortyBytes) {
    CPing ping(CSystemIcmp().OpenEcho());
    ASSERT_TRUE(ping.m_bValid);
    ASSERT_TRUE(ping.Resolve("127.0.0.1"));
    // Named after this computer, as Winsock reports it.
    char name[255] = {};
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    ASSERT_EQ(gethostname(name, sizeof name), 0);
    WSACleanup();
    EXPECT_EQ(ping.m_strTargetName, name);

    std::string text;
    ASSERT_TRUE(ping.Ping(40, 5000, text)) << text;
    const std::string head = "Reply from 127.0.0.1 [" + std::string(name) + "] Time ";
    EXPECT_EQ(text.rfind(head, 0), 0u) << text;
    EXPECT_NE(text.find(" Size 40"), std::string::npos) << text;
}

// Only names the hosts table holds: no query may leave this machine.
TEST(Win32Icmp, NamesResolveThroughTheSystemsHostsTable) {
    auto session = CSystemIcmp().OpenEcho();
    uint32_t address = 0;
    ASSERT_TRUE(session->LookUp("localhost", address));
    EXPECT_EQ(DottedAddress(address), "127.0.0.1");
}

}  // namespace
}  // namespace lumivar
