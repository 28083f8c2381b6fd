// Name resolution, echoes and the reply lines of CPing, through a scripted ICMP session.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "fake/FakeShell.h"
#include "net/Ping.h"

namespace lumivar::test {
namespace {

using fake::EchoScript;

const uint32_t kLoopback = AddressOf(127, 0, 0, 1);

TEST(PingTest, ResolvesLocalhostDottedAddressesAndNames) {
    fake::FakeIcmp icmp;
    EchoScript& script = *icmp.script;
    const uint32_t lan = AddressOf(192, 168, 0, 1), server = AddressOf(10, 1, 2, 3);
    script.reverse[lan] = "router.lan";
    script.names["fileserver"] = server;
    const struct { const char* name; bool ok; std::string address, target; uint32_t dw; } cases[] = {
        // Localhost in any case is the loopback named after this computer, without a look-up.
        {"lOCALhOST", true, "127.0.0.1", "DESKPC", kLoopback}, {"127.0.0.1", true, "127.0.0.1", "DESKPC", kLoopback},
        {"192.168.0.1", true, "192.168.0.1", "router.lan", lan},  // the reverse look-up's name
        {"010.001.002.003", true, "010.001.002.003", "UnknownHost", server},  // kept as given
        {"127.0.0.2", true, "127.0.0.2", "UnknownHost", AddressOf(127, 0, 0, 2)},  // no reverse name
        {"fileserver", true, "10.1.2.3", "fileserver", server},
        {"no.such.host", false, "0.0.0.0", "UnknownHost", kInaddrNone},
        {"localhost.", false, "0.0.0.0", "UnknownHost", kInaddrNone},  // only the exact name is this computer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPing p(icmp.OpenEcho());
        ASSERT_TRUE(p.Resolve("localhost"));  // a failure must reset what an earlier success set
        EXPECT_EQ(p.Resolve(c.name), c.ok);
        EXPECT_EQ(std::tuple(p.m_strTargetAddress, p.m_strTargetName, p.m_dwTargetAddress),
                  std::tuple(c.address, c.target, c.dw));
    }
    // Only names are looked up forwards, and the loopback never.
    EXPECT_EQ(script.lookUps, (std::vector<std::string>{"fileserver", "no.such.host", "localhost."}));
    EXPECT_EQ(std::count(script.reverseLookUps.begin(), script.reverseLookUps.end(), kLoopback), 0);
}

// Only an echo that came back counts; its reply line is for no one's eyes (the fuzz target checks those).
TEST(PingTest, PingSendsTheGPayloadAndOnlyAnAnswerCounts) {
    fake::FakeIcmp icmp;
    EchoScript& script = *icmp.script;
    CPing p(icmp.OpenEcho());
    ASSERT_TRUE(p.Resolve("localhost"));
    // An answer within the millisecond, an error status, no record written (its time stays all ones), a timeout.
    script.replies = {EchoScript::Answer(kLoopback, 0), EchoReply{.status = 11003}, std::nullopt};
    std::string text;
    for (const bool answered : {true, false, false, false}) EXPECT_EQ(p.Ping(40, 5000, text), answered) << text;
    ASSERT_EQ(script.sent.size(), 4u);
    const auto& [address, payload, timeoutMs] = script.sent[0];
    EXPECT_EQ(std::tuple(address, payload, timeoutMs), std::tuple(kLoopback, std::string(40, 'G'), 5000u));
    EXPECT_FALSE(p.Ping(9000, 10, text));
    EXPECT_EQ(script.sent.back().payload.size(), 8192u) << "the payload buffer holds 8192 bytes";
}

}  // namespace
}  // namespace lumivar::test
