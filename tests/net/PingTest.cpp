// Addresses of both families, name resolution, echoes and the reply lines of CPing, through a
// scripted ICMP session.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "fake/FakeShell.h"
#include "net/Ping.h"
#include "net/SystemIcmp.h"

namespace lumivar::test {
namespace {

using fake::EchoScript;

const IpAddress kLoopback = AddressOf(127, 0, 0, 1);

IpAddress Ip6(const char* text) {
    IpAddress address;
    EXPECT_TRUE(ParseAddress(text, address)) << text;
    return address;
}

TEST(PingTest, AddressesParseAndPrintInTheirShortForm) {
    // Each literal, and the short text it prints as; "" when it is no address.
    const struct { const char* text; const char* shortText; } cases[] = {
        {"192.168.0.1", "192.168.0.1"}, {"010.001.002.003", "10.1.2.3"}, {"::", "::"}, {"::1", "::1"},
        {"2001:DB8:0:0:0:0:0:1", "2001:db8::1"}, {"2001:db8:0:1:0:0:0:1", "2001:db8:0:1::1"},
        {"1:0:0:2:0:0:0:3", "1:0:0:2::3"},        // the longer run of zeros is the one shortened
        {"1:0:0:2:3:0:0:4", "1::2:3:0:0:4"},      // of equal runs, the first
        {"1:2:3:4:5:6:0:8", "1:2:3:4:5:6:0:8"},   // a single zero group stays
        {"fe80::", "fe80::"}, {"::ffff:10.1.2.3", "::ffff:10.1.2.3"}, {"64:ff9b::192.0.2.1", "64:ff9b::c000:201"},
        {"1:2:3:4:5:6:7:8", "1:2:3:4:5:6:7:8"},
        {"1:2:3:4:5:6:7:8:9", ""}, {"1:2:3:4::5:6:7:8", ""}, {"1::2::3", ""}, {":1::", ""}, {"1:", ""},
        {"::12345", ""}, {"::g", ""}, {"[::1]", ""}, {"::1%eth0", ""}, {"1.2.3", ""}, {"256.1.1.1", ""},
        {"1:2:3:4:5:6:7:1.2.3.4", ""}, {"::1.2.3.4:5", ""}, {"", ""}, {":::", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        IpAddress address = AddressOf(9, 9, 9, 9);
        const bool parsed = ParseAddress(c.text, address);
        EXPECT_EQ(parsed, *c.shortText != '\0');
        if (!parsed) {
            EXPECT_EQ(address, AddressOf(9, 9, 9, 9)) << "a failed parse keeps what was there";
            continue;
        }
        EXPECT_EQ(AddressText(address), c.shortText);
        IpAddress again;
        EXPECT_TRUE(ParseAddress(AddressText(address), again) && again == address);
    }
}

TEST(PingTest, ResolvesLocalhostLiteralsAndNames) {
    fake::FakeIcmp icmp;
    EchoScript& script = *icmp.script;
    const IpAddress lan = AddressOf(192, 168, 0, 1), server = AddressOf(10, 1, 2, 3), six = Ip6("2001:db8::7");
    script.reverse[lan] = "router.lan";
    script.reverse[Ip6("::1")] = "ip6-localhost";
    script.names["fileserver"] = {server};
    script.names["dual"] = {six, server};
    const struct { const char* name; bool ok; std::string address, target; std::vector<IpAddress> all; } cases[] = {
        // Localhost in any case is the loopback named after this computer, without a look-up.
        {"lOCALhOST", true, "127.0.0.1", "DESKPC", {kLoopback}}, {"127.0.0.1", true, "127.0.0.1", "DESKPC", {kLoopback}},
        {"192.168.0.1", true, "192.168.0.1", "router.lan", {lan}},  // the reverse look-up's name
        {"010.001.002.003", true, "010.001.002.003", "UnknownHost", {server}},  // kept as given
        {"127.0.0.2", true, "127.0.0.2", "UnknownHost", {AddressOf(127, 0, 0, 2)}},  // no reverse name
        {"::1", true, "::1", "ip6-localhost", {Ip6("::1")}}, {"[::1]", true, "::1", "ip6-localhost", {Ip6("::1")}},
        {"[2001:DB8::7]", true, "2001:DB8::7", "UnknownHost", {six}},
        {"fileserver", true, "10.1.2.3", "fileserver", {server}},
        {"dual", true, "2001:db8::7", "dual", {six, server}},  // every address, the system's first aimed at
        {"no.such.host", false, "0.0.0.0", "UnknownHost", {}},
        {"localhost.", false, "0.0.0.0", "UnknownHost", {}},  // only the exact name is this computer
        {"[10.1.2.3]", false, "0.0.0.0", "UnknownHost", {}},  // brackets are for IPv6 only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPing p(icmp.OpenEcho());
        ASSERT_TRUE(p.Resolve("localhost"));  // a failure must reset what an earlier success set
        EXPECT_EQ(p.Resolve(c.name), c.ok);
        EXPECT_EQ(std::tuple(p.m_strTargetAddress, p.m_strTargetName, p.m_addresses),
                  std::tuple(c.address, c.target, c.all));
    }
    // Only names are looked up forwards, and the loopback never.
    EXPECT_EQ(script.lookUps, (std::vector<std::string>{"fileserver", "dual", "no.such.host", "localhost.", "[10.1.2.3]"}));
    EXPECT_EQ(std::count(script.reverseLookUps.begin(), script.reverseLookUps.end(), kLoopback), 0);
}

// Only an echo that came back counts; its reply line is for no one's eyes (the fuzz target checks those).
TEST(PingTest, PingSendsTheGPayloadAndOnlyAnAnswerCounts) {
    fake::FakeIcmp icmp;
    EchoScript& script = *icmp.script;
    CPing p(icmp.OpenEcho());
    std::string text;
    EXPECT_FALSE(p.Ping(40, 5000, text)) << "nothing resolved yet";
    EXPECT_TRUE(script.sent.empty());
    ASSERT_TRUE(p.Resolve("localhost"));
    // An answer within the millisecond, an error status, no record written (its time stays all ones), a timeout.
    script.replies = {EchoScript::Answer(0), EchoReply{.status = 11003}, std::nullopt};
    for (const bool answered : {true, false, false, false}) EXPECT_EQ(p.Ping(40, 5000, text), answered) << text;
    ASSERT_EQ(script.sent.size(), 4u);
    const auto& [address, payload, timeoutMs] = script.sent[0];
    EXPECT_EQ(std::tuple(address, payload, timeoutMs), std::tuple(kLoopback, std::string(40, 'G'), 5000u));
    EXPECT_FALSE(p.Ping(9000, 10, text));
    EXPECT_EQ(script.sent.back().payload.size(), 8192u) << "the payload buffer holds 8192 bytes";
}

TEST(PingTest, AFailedEchoMovesOnToTheNamesNextAddress) {
    fake::FakeIcmp icmp;
    EchoScript& script = *icmp.script;
    const IpAddress six = Ip6("2001:db8::7"), four = AddressOf(10, 1, 2, 3);
    script.names["dual"] = {six, four};
    CPing p(icmp.OpenEcho());
    ASSERT_TRUE(p.Resolve("dual"));
    script.replies = {EchoScript::TimedOut(), EchoScript::TimedOut(), EchoScript::Answer(), EchoScript::Answer()};
    std::string text;
    for (const bool answered : {false, false, true, true}) EXPECT_EQ(p.Ping(40, 5000, text), answered);
    std::vector<IpAddress> aimed;
    for (const auto& sent : script.sent) aimed.push_back(sent.address);
    // Round the list, and stay on the address that answered.
    EXPECT_EQ(aimed, (std::vector<IpAddress>{six, four, six, six}));
    EXPECT_EQ(text, "Reply from 2001:db8::7 [dual] Time 1 ms TTL 128 Size 40");
}

// The system's own echo, on both loopbacks, where this machine grants an ICMP socket.
TEST(SystemIcmp, BothLoopbacksAnswer) {
    CSystemIcmp icmp;
    for (const char* host : {"127.0.0.1", "::1"}) {
        SCOPED_TRACE(host);
        CPing p(icmp.OpenEcho());
        if (!p.m_bValid) GTEST_SKIP() << "no ICMP socket for this user";
        ASSERT_TRUE(p.Resolve(host));
        std::string text;
        EXPECT_TRUE(p.Ping(40, 2000, text)) << text;
        EXPECT_EQ(text.rfind(std::string("Reply from ") + host + " [", 0), 0u) << text;
        EXPECT_NE(text.find("Size 40"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace lumivar::test
