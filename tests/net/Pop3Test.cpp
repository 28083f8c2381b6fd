// The POP3 client against a scripted peer (the real sockets are the Wine tests' and the fuzzer's).
#include <gtest/gtest.h>

#include <climits>

#include "fake/FakeTcp.h"
#include "net/Pop3Connection.h"

namespace lumivar::test {
namespace {

using Strings = std::vector<std::string>;

// The usual server, with one reply changed.
fake::FakeTcp::Script With(const std::string& word, const std::string& reply) {
    fake::FakeTcp::Script s{true, "+OK POP3 ready\r\n",
                            {{"USER", "+OK\r\n"}, {"PASS", "+OK logged in\r\n"}, {"STAT", "+OK 0 0\r\n"}, {"QUIT", "+OK bye\r\n"}}};
    (word == "greeting" ? s.greeting : s.replies[word]) = reply;
    return s;
}

TEST(Pop3Connection, EachWayALoginFailsHasItsErrorAndSendsNoMoreThanItMust) {
    const Strings upToPass{"USER alice", "PASS secret"};
    const struct {
        const char* name;
        fake::FakeTcp::Script script;
        const char* error;
        Strings sent;
        std::string user = "alice", pass = "secret";
    } cases[] = {
        {"greeting refused", With("greeting", "-ERR busy\r\n"), "Server didn't connect", {}},
        {"user refused", With("USER", "-ERR who?\r\n"), "Bad user name", {"USER alice"}},
        {"pass refused", With("PASS", "-ERR no\r\n"), "Invalid username/password combination", upToPass},
        {"closed mid-reply", With("PASS", "+OK"), "Socket Error", upToPass},
        {"silent at pass", With("PASS", ""), "Socket Error", upToPass},
        // A line break in the account would let the settings speak POP3 of their own.
        {"CR in user", With("", ""), "Bad user name", {}, "alice\r"},
        {"LF in password", With("", ""), "Invalid username/password combination", {}, "alice", "secret\nDELE 1"},
        {"nobody listening", {false, "", {}}, "Unable to connect to server", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeTcp peer;
        peer.SetScript(c.script);
        CPop3Connection pop3("localhost", 110, c.user.c_str(), c.pass.c_str(), peer.NewStream());
        EXPECT_FALSE(pop3.Connect());
        EXPECT_EQ(pop3.GetError(), c.error);
        EXPECT_EQ(peer.Received(), c.sent);
    }
}

// The count is the first number of the STAT reply; replies may come cut into pieces.
TEST(Pop3Connection, LogsInOnceCountsAndLogsOutOnClose) {
    const struct { const char* reply; int count; const char* error = "OK"; } cases[] = {
        {"+OK 0 0\r\n", 0}, {"+OK 12|7 9000\r\n", 127},  // the number cut between receives
        {"+OK mailbox3 holds 5\r\n", 3},                 // a digit in a word comes first
        {"+OK 99999999999 1\r\n", INT_MAX},              // too big for an int: held, not wrapped
        {"+OK nothing here\r\n", -1}, {"-ERR 4 locked\r\n", -1, "STATus couldn't be retrieved"},
        {"\r\n", -1, "STATus couldn't be retrieved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        fake::FakeTcp peer;
        fake::FakeTcp::Script script = With("STAT", c.reply);
        script.greeting = "+OK POP3 |server ready\r\n";
        script.replies["PASS"] = "+OK logged in\r|\n";
        peer.SetScript(script);
        {
            CPop3Connection pop3("localhost", 110, "alice", "secret", peer.NewStream());
            ASSERT_TRUE(pop3.Connect());
            ASSERT_TRUE(pop3.Connect());  // already logged in: kept, without traffic
            EXPECT_EQ(pop3.Stat(), c.count);
            EXPECT_EQ(pop3.GetError(), c.error);
            // A failed STAT leaves nothing open: the next check really logs in again.
            EXPECT_EQ(pop3.IsConnected(), c.count >= 0);
        }  // the destructor logs out what is still open
        Strings sent{"USER alice", "PASS secret", "STAT"};
        if (c.count >= 0) sent.push_back("QUIT");
        EXPECT_EQ(peer.Received(), sent);
        EXPECT_EQ(peer.Connections().size(), 1u);
    }
}

}  // namespace
}  // namespace lumivar::test
