// The POP3 client against a scripted peer (the real sockets are the Wine tests' and the fuzzer's).
#include <gtest/gtest.h>

#include <climits>

#include "fake/FakeTcp.h"
#include "net/Pop3Connection.h"

namespace lumivar::test {
namespace {

using Strings = std::vector<std::string>;

const auto With = fake::FakeTcp::Pop3;  // the usual server, with one reply changed
constexpr int kNoLogin = -2;

// Each way a login fails has its error and sends no more than it must. Logged in, the count is the
// first number of the STAT reply, and the close logs out what is still open; replies may come cut
// into pieces.
TEST(Pop3Connection, LogsInOnceCountsAndLogsOutOrSaysWhyNot) {
    const auto stat = [](const char* reply) {
        fake::FakeTcp::Script script = With("STAT", reply);
        script.greeting = "+OK POP3 |server ready\r\n";
        script.replies["PASS"] = "+OK logged in\r|\n";
        return script;
    };
    // TLS where the server asks for it: from the first byte on 995, after STLS where CAPA offers it.
    const auto tls = [](fake::FakeTcp::Script script, TlsError result, bool offered = true) {
        if (offered) script.replies["CAPA"] = "+OK\r\nUSER\r\nSTLS\r\n.\r\n", script.replies["STLS"] = "+OK go\r\n";
        script.tls = result;
        return script;
    };
    const Strings upToPass{"CAPA", "USER alice", "PASS secret"}, upToStat{"CAPA", "USER alice", "PASS secret", "STAT"},
        all{"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}, afterTls{"USER alice", "PASS secret", "STAT", "QUIT"};
    const auto then = [](Strings first, const Strings& rest) { return first.insert(first.end(), rest.begin(), rest.end()), first; };
    const struct {
        const char* name;
        fake::FakeTcp::Script script;
        int count;  // kNoLogin: the login fails
        const char* error;
        Strings sent;
        std::string user = "alice", pass = "secret";
        size_t connections = 1;
        std::string server = "localhost", connected = "localhost:110";
    } cases[] = {
        {"greeting refused", With("greeting", "-ERR busy\r\n"), kNoLogin, "Server didn't connect", {}},
        {"user refused", With("USER", "-ERR who?\r\n"), kNoLogin, "Bad user name", {"CAPA", "USER alice"}},
        {"pass refused", With("PASS", "-ERR no\r\n"), kNoLogin, "Invalid username/password combination", upToPass},
        {"closed mid-reply", With("PASS", "+OK"), kNoLogin, "Socket Error", upToPass},
        {"silent at pass", With("PASS", ""), kNoLogin, "Socket Error", upToPass},
        // A line break in the account would let the settings speak POP3 of their own: no connection.
        {"CR in user", With("", ""), kNoLogin, "Bad user name", {}, "alice\r", "secret", 0},
        {"LF in password", With("", ""), kNoLogin, "Invalid username/password combination", {}, "alice", "secret\nDELE 1", 0},
        {"nobody listening", {false, "", {}}, kNoLogin, "Unable to connect to server", {}},
        {"an empty mailbox", stat("+OK 0 0\r\n"), 0, "OK", all},
        {"the number cut between receives", stat("+OK 12|7 9000\r\n"), 127, "OK", all},
        {"a digit in a word comes first", stat("+OK mailbox3 holds 5\r\n"), 3, "OK", all},
        {"too big for an int: held, not wrapped", stat("+OK 99999999999 1\r\n"), INT_MAX, "OK", all},
        // A failed STAT leaves nothing open: the next check really logs in again.
        {"no number", stat("+OK nothing here\r\n"), -1, "OK", upToStat},
        {"refused", stat("-ERR 4 locked\r\n"), -1, "STATus couldn't be retrieved", upToStat},
        {"STLS offered", tls(stat("+OK 2 9\r\n"), TlsError::None), 2, "OK", then({"CAPA", "STLS", "<TLS>"}, afterTls)},
        {"STLS offered, a certificate for another name", tls(With("", ""), TlsError::WrongName), kNoLogin,
         TlsErrorText(TlsError::WrongName), {"CAPA", "STLS", "<TLS>"}},
        {"STLS offered, then refused", [&] {
             auto s = tls(With("", ""), TlsError::None);
             return s.replies["STLS"] = "-ERR not now\r\n", s;
         }(), kNoLogin,
         "Server didn't connect", {"CAPA", "STLS"}},
        {"CAPA without STLS", tls(stat("+OK 1 1\r\n"), TlsError::None, false), 1, "OK", all, "alice", "secret", 1,
         "[::1]:2110", "::1:2110"},
        {"995", tls(stat("+OK 4 4\r\n"), TlsError::None, false), 4, "OK", then({"<TLS>"}, afterTls), "alice", "secret",
         1, "pop.example.cn:995", "pop.example.cn:995"},
        {"995, untrusted", tls(With("", ""), TlsError::Untrusted, false), kNoLogin, TlsErrorText(TlsError::Untrusted),
         {"<TLS>"}, "alice", "secret", 1, "pop.example.cn:995", "pop.example.cn:995"},
        {"a bad port", With("", ""), kNoLogin, "Unable to connect to server", {}, "alice", "secret", 0, "host:99999"},
        {"an empty line", stat("\r\n"), -1, "STATus couldn't be retrieved", upToStat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeTcp peer;
        peer.SetScript(c.script);
        {
            CPop3Connection pop3(c.server.c_str(), 110, c.user.c_str(), c.pass.c_str(), peer.NewStream());
            EXPECT_EQ(pop3.Connect(), c.count != kNoLogin);
            if (c.count != kNoLogin) {
                ASSERT_TRUE(pop3.Connect());  // already logged in: kept, without traffic
                EXPECT_EQ(pop3.Stat(), c.count);
                EXPECT_EQ(pop3.IsConnected(), c.count >= 0);
            }
            EXPECT_EQ(pop3.GetError(), c.error);
        }  // the destructor logs out what is still open
        EXPECT_EQ(peer.Received(), c.sent);
        EXPECT_EQ(peer.Connections().size(), c.connections);
        if (c.connections) {
            EXPECT_EQ(peer.Connections()[0], c.connected);
        }
    }
}

}  // namespace
}  // namespace lumivar::test
