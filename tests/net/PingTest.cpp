// Name resolution, echoes and the reply lines of CPing, through a scripted ICMP session;
// and one real echo of this machine where the system lets us send one.
#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

#include "fake/FakeIcmp.h"
#include "net/Ping.h"
#include "net/SystemIcmp.h"

namespace lumivar::test {
namespace {

using fake::EchoScript;
using fake::FakeIcmp;

const uint32_t kLoopback = AddressOf(127, 0, 0, 1);

class PingTest : public ::testing::Test {
protected:
    CPing& Make() {
        ping = std::make_unique<CPing>(icmp.OpenEcho());
        return *ping;
    }
    EchoScript& script() { return *icmp.script; }
    FakeIcmp icmp;
    std::unique_ptr<CPing> ping;
};

TEST(PingAddress, DottedQuadsParseStrictly) {
    struct Case {
        const char* text;
        bool ok;
        uint32_t address;
    } cases[] = {
        {"192.168.0.1", true, AddressOf(192, 168, 0, 1)},
        {"0.0.0.0", true, AddressOf(0, 0, 0, 0)},
        {"255.255.255.255", true, 0xFFFFFFFF},
        {"010.1.1.1", true, AddressOf(10, 1, 1, 1)},
        {"256.1.1.1", false, 0},
        {"1.2.3", false, 0},
        {"1.2.3.4.5", false, 0},
        {"1.2.3.", false, 0},
        {" 1.2.3.4", false, 0},
        {"1.2.3.4 ", false, 0},
        {"1..3.4", false, 0},
        {"0001.2.3.4", false, 0},
        {"http://1.2.3.4", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t address = 7;
        EXPECT_EQ(ParseDotted(c.text, address), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(address, c.address) << c.text;
        }
    }
    EXPECT_EQ(DottedAddress(AddressOf(192, 168, 0, 1)), "192.168.0.1");
    EXPECT_EQ(DottedAddress(AddressOf(10, 1, 1, 1)), "10.1.1.1");
    EXPECT_EQ(DottedAddress(0xFFFFFFFF), "255.255.255.255");
    // Network byte order: the first number is the first byte in memory.
    const uint32_t a = AddressOf(10, 20, 30, 40);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&a)[0], 10);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&a)[3], 40);
}

TEST_F(PingTest, LocalhostInAnyCaseIsLoopbackNamedAfterThisComputerWithoutALookUp) {
    for (const char* name : {"localhost", "LocalHost", "LOCALHOST", "lOCALhOST", "127.0.0.1"}) {
        CPing& p = Make();
        ASSERT_TRUE(p.Resolve(name)) << name;
        EXPECT_EQ(p.m_strTargetAddress, "127.0.0.1") << name;
        EXPECT_EQ(p.m_dwTargetAddress, kLoopback) << name;
        EXPECT_EQ(p.m_strTargetName, "DESKPC") << name;
    }
    EXPECT_TRUE(script().lookUps.empty());
    EXPECT_TRUE(script().reverseLookUps.empty());

    script().computerName.clear();  // the system cannot tell its name
    CPing& p = Make();
    ASSERT_TRUE(p.Resolve("localhost"));
    EXPECT_EQ(p.m_strTargetName, "LOCALHOST");
}

TEST_F(PingTest, ResolvesDottedAddressesAndNames) {
    const uint32_t lan = AddressOf(192, 168, 0, 1), server = AddressOf(10, 1, 2, 3);
    script().reverse[lan] = "router.lan";
    script().names["fileserver"] = server;
    script().names["Intranet.Example"] = AddressOf(172, 16, 0, 9);
    struct Case {
        const char* name;
        bool ok;
        const char* address;
        const char* target;
        uint32_t dw;
    } cases[] = {
        {"192.168.0.1", true, "192.168.0.1", "router.lan", lan},        // reverse look-up's official name
        {"192.168.0.2", true, "192.168.0.2", "UnknownHost", AddressOf(192, 168, 0, 2)},  // none known
        {"010.001.002.003", true, "010.001.002.003", "UnknownHost", AddressOf(10, 1, 2, 3)},  // kept as given
        {"127.0.0.2", true, "127.0.0.2", "UnknownHost", AddressOf(127, 0, 0, 2)},  // not the loopback rule
        {"fileserver", true, "10.1.2.3", "fileserver", server},
        {"Intranet.Example", true, "172.16.0.9", "Intranet.Example", AddressOf(172, 16, 0, 9)},
        {"no.such.host", false, "0.0.0.0", "UnknownHost", kInaddrNone},
        {"http://fileserver", false, "0.0.0.0", "UnknownHost", kInaddrNone},
        {"localhost.", false, "0.0.0.0", "UnknownHost", kInaddrNone},
    };
    for (const Case& c : cases) {
        CPing& p = Make();
        ASSERT_TRUE(p.Resolve("localhost"));  // a failure must reset what an earlier success set
        EXPECT_EQ(p.Resolve(c.name), c.ok) << c.name;
        EXPECT_EQ(p.m_strTargetAddress, c.address) << c.name;
        EXPECT_EQ(p.m_strTargetName, c.target) << c.name;
        EXPECT_EQ(p.m_dwTargetAddress, c.dw) << c.name;
    }
    // Dotted addresses are never looked up forwards.
    EXPECT_EQ(script().lookUps, (std::vector<std::string>{"fileserver", "Intranet.Example", "no.such.host",
                                                          "http://fileserver", "localhost."}));
}

TEST_F(PingTest, DescribeReplyGivesEveryStatusItsLine) {
    const char* texts[] = {
        "OK", "Buffer too small", "Dest Net Unreachable", "Dest Host Unreachable", "Dest Prot Unreachable",
        "Dest Port Unreachable", "No Resources", "Bad IP Option", "Hardware Error", "Packet Too Big",
        "Request Timed Out", "Bad Request", "Bad Route", "TTL Expired Transit", "TTL Expired Re-Assembly",
        "Parameter Problem", "Source Quench", "Option Too Large", "Bad Destination", "Address Deleted",
        "Spec MTU Change", "MTU Change", "Unload"};
    CPing& p = Make();
    for (uint32_t status = 11000; status <= 11022; ++status) {
        EchoReply reply{};
        reply.status = status;
        std::string text = "previous|";
        EXPECT_FALSE(p.DescribeReply(reply, text)) << status;
        const std::string expected = status == 11010 ? "Request Timed Out"
                                                     : "Ping: Error - Status = " + std::to_string(status) + " " +
                                                           texts[status - 11000];
        EXPECT_EQ(text, "previous|" + expected) << "appended, not replaced";
        EXPECT_STREQ(CPing::StatusText(status), texts[status - 11000]);
    }
    for (uint32_t status : {1u, 10999u, 11023u, 11050u}) {
        EchoReply reply{};
        reply.status = status;
        std::string text;
        EXPECT_FALSE(p.DescribeReply(reply, text));
        EXPECT_EQ(text, "Ping: Error - Status = " + std::to_string(status));
        EXPECT_EQ(CPing::StatusText(status), nullptr);
    }
}

TEST_F(PingTest, PingSendsTheGPayloadAndReadsTheFirstRecord) {
    CPing& p = Make();
    ASSERT_TRUE(p.Resolve("localhost"));
    EchoReply unreachable{};
    unreachable.status = 11003;
    script().replies = {EchoScript::Answer(kLoopback, 0, 128, 40), unreachable, std::nullopt};
    script().standing = EchoScript::TimedOut();
    std::string text = "stale";
    EXPECT_TRUE(p.Ping(40, 5000, text));
    EXPECT_EQ(text, "Reply from 127.0.0.1 [DESKPC] Time 0 ms TTL 128 Size 40");
    EXPECT_FALSE(p.Ping(40, 5000, text));
    EXPECT_EQ(text, "Ping: Error - Status = 11003 Dest Host Unreachable");
    EXPECT_FALSE(p.Ping(40, 5000, text));  // nothing written: the preset time is still all ones
    EXPECT_EQ(text, "Reply from 127.0.0.1 [DESKPC] Time Out");
    EXPECT_FALSE(p.Ping(40, 5000, text));
    EXPECT_EQ(text, "Request Timed Out");
    ASSERT_EQ(script().sent.size(), 4u);
    EXPECT_EQ(script().sent[0].address, kLoopback);
    EXPECT_EQ(script().sent[0].payload, std::string(40, 'G'));
    EXPECT_EQ(script().sent[0].timeoutMs, 5000u);

    EXPECT_FALSE(p.Ping(9000, 10, text));
    EXPECT_EQ(script().sent.back().payload.size(), 8192u) << "the payload buffer holds 8192 bytes";
}

TEST_F(PingTest, PingWithoutTheLibraryIsASocketErrorAndSendsNothing) {
    for (auto state : {IEchoSession::State::NoLibrary, IEchoSession::State::MissingFunctions,
                       IEchoSession::State::NoHandle}) {
        script().state = state;
        CPing& p = Make();
        p.Resolve("localhost");
        std::string text = "stale";
        EXPECT_FALSE(p.Ping(40, 5000, text));
        EXPECT_EQ(text, "Socket error!");
    }
    EXPECT_TRUE(script().sent.empty());
}

// The system's own echo of 127.0.0.1: a ping socket where the group range allows it, or a
// raw socket for root.
TEST(SystemPing, LoopbackAnswers) {
    CPing ping(CSystemIcmp().OpenEcho());
    if (!ping.m_bValid) {
        std::ifstream range("/proc/sys/net/ipv4/ping_group_range");
        std::string low, high;
        range >> low >> high;
        GTEST_SKIP() << "no ICMP socket here: ping_group_range is " << low << " " << high << " for gid " << getgid()
                     << " and no raw-socket right";
    }
    ASSERT_TRUE(ping.Resolve("127.0.0.1"));
    std::string text;
    ASSERT_TRUE(ping.Ping(40, 5000, text)) << text;
    EXPECT_EQ(text.rfind("Reply from 127.0.0.1 [", 0), 0u) << text;
    EXPECT_NE(text.find(" Size 40"), std::string::npos) << text;
}

}  // namespace
}  // namespace lumivar::test
