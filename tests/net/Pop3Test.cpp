// The POP3 client over the system's sockets, against a scripted server on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "net/Pop3Connection.h"
#include "net/Pop3Responder.h"

namespace lumivar::test {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
using Script = Pop3Responder::Script;

constexpr auto With = &Pop3Responder::With;

TEST(Pop3Connection, EachWayALoginFailsHasItsErrorAndSendsNoMoreThanItMust) {
    const Strings upToPass{"USER alice", "PASS secret"};
    const struct {
        const char* name;
        Script script;
        const char* error;
        Strings sent;
        std::string user = "alice", pass = "secret";
    } cases[] = {
        {"greeting refused", With(&Script::greeting, "-ERR busy\r\n"), "Server didn't connect", {}},
        {"user refused", With(&Script::user, "-ERR who?\r\n"), "Bad user name", {"USER alice"}},
        {"pass refused", With(&Script::pass, "-ERR no\r\n"), "Invalid username/password combination", upToPass},
        {"closed mid-reply", With(&Script::pass, "+OK"), "Socket Error", upToPass},
        {"silent at pass", With(&Script::pass, ""), "Socket Error", upToPass},  // within the time limit
        // A line break in the account would let the settings speak POP3 of their own.
        {"CR in user", {}, "Bad user name", {}, "alice\r"},
        {"LF in password", {}, "Invalid username/password combination", {}, "alice", "secret\nDELE 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pop3Responder server(c.script);
        CPop3Connection pop3("localhost", server.Port(), c.user.c_str(), c.pass.c_str());
        pop3.SetTimeout(300);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(pop3.Connect());
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(pop3.GetError(), c.error);
        EXPECT_EQ(server.Received(), c.sent);
        EXPECT_LT(waited, 5s);
    }
    uint16_t port;
    { Pop3Responder gone; port = gone.Port(); }
    CPop3Connection nowhere("127.0.0.1", port, "alice", "secret");
    EXPECT_FALSE(nowhere.Connect());
    EXPECT_EQ(nowhere.GetError(), "Unable to connect to server");
}

// The count is the first number of the STAT reply; replies may come cut into TCP segments.
TEST(Pop3Connection, LogsInOnceCountsAndLogsOutOnClose) {
    const struct { const char* reply; int count; const char* error = "OK"; } cases[] = {
        {"+OK 0 0\r\n", 0}, {"+OK 12|7 9000\r\n", 127},  // the number cut between segments
        {"+OK mailbox3 holds 5\r\n", 3},                 // a digit in a word comes first
        {"+OK 99999999999 1\r\n", INT_MAX},              // too big for an int: held, not wrapped
        {"+OK nothing here\r\n", -1}, {"-ERR 4 locked\r\n", -1, "STATus couldn't be retrieved"},
        {"\r\n", -1, "STATus couldn't be retrieved"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        Script script = With(&Script::stat, c.reply);
        script.greeting = "+OK POP3 |server ready\r\n";
        script.pass = "+OK logged in\r|\n";
        Pop3Responder server(script);
        {
            CPop3Connection pop3("localhost", server.Port(), "alice", "secret");
            ASSERT_TRUE(pop3.Connect());
            ASSERT_TRUE(pop3.Connect());  // already logged in: kept, without traffic
            EXPECT_EQ(pop3.Stat(), c.count);
            EXPECT_EQ(pop3.GetError(), c.error);
            // A failed STAT leaves nothing open: the next check really logs in again.
            EXPECT_EQ(pop3.IsConnected(), c.count >= 0);
        }  // the destructor logs out what is still open
        Strings sent{"USER alice", "PASS secret", "STAT"};
        if (c.count >= 0) sent.push_back("QUIT");
        EXPECT_EQ(server.Received(), sent);
        EXPECT_EQ(server.Connections(), 1);
    }
}

}  // namespace
}  // namespace lumivar::test
