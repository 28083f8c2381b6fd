// The POP3 client against a scripted server on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "net/Pop3Connection.h"
#include "net/Pop3Responder.h"

namespace lumivar::test {
namespace {

using Strings = std::vector<std::string>;

CPop3Connection Client(const Pop3Responder& server, const char* user = "alice", const char* pass = "secret") {
    return CPop3Connection("127.0.0.1", server.Port(), user, pass);
}

TEST(Pop3Connection, LogsInCountsAndLogsOut) {
    Pop3Responder server;
    server.SetStatCount(2);
    CPop3Connection pop3 = Client(server);
    ASSERT_TRUE(pop3.Connect());
    EXPECT_TRUE(pop3.IsConnected());
    EXPECT_EQ(pop3.Stat(), 2);
    EXPECT_TRUE(pop3.Quit());
    EXPECT_FALSE(pop3.IsConnected());
    EXPECT_EQ(server.Received(), (Strings{"USER alice", "PASS secret", "STAT", "QUIT"}));
    EXPECT_EQ(pop3.GetError(), "OK");
}

// Each step's refusal, and what the client sent before it gave up.
TEST(Pop3Connection, ARefusalAtEachStepOfTheLoginFailsWithThatStepsText) {
    struct Case {
        const char* name;
        Pop3Responder::Script script;
        const char* error;
        Strings sent;
    };
    Pop3Responder::Script refusedGreeting, refusedUser, refusedPass, emptyPass, closedAtPass;
    refusedGreeting.greeting = "-ERR busy\r\n";
    refusedUser.user = "-ERR who?\r\n";
    refusedPass.pass = "-ERR wrong password\r\n";
    emptyPass.pass = "\r\n";
    closedAtPass.pass = "+OK";  // half a reply, then the server hangs up
    const Case cases[] = {
        {"greeting", refusedGreeting, "Server didn't connect", {}},
        {"user", refusedUser, "Bad user name", {"USER alice"}},
        {"pass", refusedPass, "Invalid username/password combination", {"USER alice", "PASS secret"}},
        {"empty reply", emptyPass, "Invalid username/password combination", {"USER alice", "PASS secret"}},
        {"closed", closedAtPass, "Socket Error", {"USER alice", "PASS secret"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pop3Responder server(c.script);
        CPop3Connection pop3 = Client(server);
        EXPECT_FALSE(pop3.Connect());
        EXPECT_FALSE(pop3.IsConnected());
        EXPECT_EQ(pop3.GetError(), c.error);
        EXPECT_EQ(server.Received(), c.sent);
    }
}

TEST(Pop3Connection, TheCountIsTheFirstNumberOfTheStatReply) {
    const struct {
        const char* reply;
        int count;
    } cases[] = {
        {"+OK 2 320\r\n", 2},
        {"+OK 0 0\r\n", 0},
        {"+OK 12|7 9000\r\n", 127},           // the number cut between segments
        {"+OK mailbox3 holds 5\r\n", 3},       // a digit in a word comes first
        {"+OK 99999999999 1\r\n", INT_MAX},   // too big for an int: held, not wrapped
        {"+OK nothing here\r\n", -1},
        {"-ERR 4 locked\r\n", -1},
        {"\r\n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        Pop3Responder server;
        server.SetStatReply(c.reply);
        CPop3Connection pop3 = Client(server);
        ASSERT_TRUE(pop3.Connect());
        EXPECT_EQ(pop3.Stat(), c.count);
        // A failed STAT leaves nothing open: the next check really logs in again.
        EXPECT_EQ(pop3.IsConnected(), c.count >= 0);
    }
}

TEST(Pop3Connection, AFailedStatClosesSoTheNextConnectLogsInAgain) {
    Pop3Responder server;
    server.SetStatReply("-ERR mailbox locked\r\n");
    CPop3Connection pop3 = Client(server);
    ASSERT_TRUE(pop3.Connect());
    EXPECT_EQ(pop3.Stat(), -1);
    EXPECT_EQ(pop3.GetError(), "STATus couldn't be retrieved");
    server.SetStatCount(1);
    ASSERT_TRUE(pop3.Connect());
    EXPECT_EQ(pop3.Stat(), 1);
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_EQ(server.Received(), (Strings{"USER alice", "PASS secret", "STAT", "USER alice", "PASS secret", "STAT"}));
}

TEST(Pop3Connection, RepliesCutIntoSegmentsAreReadWhole) {
    Pop3Responder::Script script;
    script.greeting = "+OK POP3 |server ready\r\n";
    script.user = "+|OK\r\n";
    script.pass = "+OK logged in\r|\n";
    script.stat = "+OK 4 |800\r\n";
    Pop3Responder server(script);
    CPop3Connection pop3 = Client(server);
    ASSERT_TRUE(pop3.Connect());
    EXPECT_EQ(pop3.Stat(), 4) << pop3.GetError();
    EXPECT_EQ(pop3.GetResponse(), "+OK 4 800");
    EXPECT_TRUE(pop3.Quit());
}

TEST(Pop3Connection, AnErrorToQuitIsReportedAndStillCloses) {
    Pop3Responder::Script script;
    script.quit = "-ERR cannot update\r\n";
    Pop3Responder server(script);
    CPop3Connection pop3 = Client(server);
    ASSERT_TRUE(pop3.Connect());
    EXPECT_FALSE(pop3.Quit());
    EXPECT_EQ(pop3.GetError(), "Error while QUITting");
    EXPECT_FALSE(pop3.IsConnected());
    EXPECT_TRUE(pop3.Quit());  // nothing left to log out of
}

TEST(Pop3Connection, ASilentServerFailsWithinTheTimeLimit) {
    for (const char* step : {"greeting", "pass"}) {
        SCOPED_TRACE(step);
        Pop3Responder::Script script;
        (std::string(step) == "greeting" ? script.greeting : script.pass) = "";
        Pop3Responder server(script);
        CPop3Connection pop3 = Client(server);
        pop3.SetTimeout(300);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(pop3.Connect());
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(pop3.GetError(), "Socket Error");
        EXPECT_GE(waited, std::chrono::milliseconds(250));
        EXPECT_LT(waited, std::chrono::seconds(5));
    }
}

TEST(Pop3Connection, AnOverlongReplyIsAFailure) {
    Pop3Responder::Script script;
    script.greeting = "+OK " + std::string(600, 'x') + "\r\n";
    Pop3Responder server(script);
    CPop3Connection pop3 = Client(server);
    EXPECT_FALSE(pop3.Connect());
    EXPECT_EQ(pop3.GetError(), "Socket Error");
}

TEST(Pop3Connection, NoServerMeansNoConnection) {
    uint16_t port;
    {
        Pop3Responder gone;
        port = gone.Port();
    }
    CPop3Connection pop3("127.0.0.1", port, "alice", "secret");
    EXPECT_FALSE(pop3.Connect());
    EXPECT_EQ(pop3.GetError(), "Unable to connect to server");
    CPop3Connection nameless("", 110, "alice", "secret");
    EXPECT_FALSE(nameless.Connect());
}

// A line break in the account would let the settings speak POP3 of their own.
TEST(Pop3Connection, AnAccountWithALineBreakIsRefusedBeforeAnythingIsSent) {
    const struct {
        const char* user;
        const char* pass;
        const char* error;
    } cases[] = {
        {"alice\r\nDELE 1", "secret", "Bad user name"},
        {"alice", "secret\nDELE 1", "Invalid username/password combination"},
        {"alice\r", "secret", "Bad user name"},
    };
    Pop3Responder server;
    for (const auto& c : cases) {
        CPop3Connection pop3 = Client(server, c.user, c.pass);
        EXPECT_FALSE(pop3.Connect());
        EXPECT_EQ(pop3.GetError(), c.error);
    }
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_TRUE(server.Received().empty());
}

TEST(Pop3Connection, TheAccountGoesOutAsGbkBytes) {
    Pop3Responder server;
    CPop3Connection pop3 = Client(server, "张三", "密码");
    ASSERT_TRUE(pop3.Connect());
    EXPECT_EQ(server.Received(), (Strings{"USER \xD5\xC5\xC8\xFD", "PASS \xC3\xDC\xC2\xEB"}));
}

TEST(Pop3Connection, AConnectionAlreadyLoggedInIsKeptWithoutTraffic) {
    Pop3Responder server;
    {
        CPop3Connection pop3 = Client(server);
        ASSERT_TRUE(pop3.Connect());
        ASSERT_TRUE(pop3.Connect());
        EXPECT_EQ(server.Connections(), 1);
    }  // the destructor logs out
    EXPECT_EQ(server.Received(), (Strings{"USER alice", "PASS secret", "QUIT"}));
}

TEST(Pop3Connection, NullValuesChangeNothing) {
    CPop3Connection pop3("mail.example", 110, nullptr, nullptr);
    EXPECT_EQ(pop3.GetUser(), "");
    EXPECT_EQ(pop3.GetPassword(), "");
    pop3.SetServer(nullptr, 995);
    EXPECT_EQ(pop3.GetServer(), "mail.example");
    EXPECT_EQ(pop3.GetPort(), 110);
    pop3.SetServer("pop.example", 1100);
    EXPECT_EQ(pop3.GetServer(), "pop.example");
    EXPECT_EQ(pop3.GetPort(), 1100);
    pop3.SetAccount("bob", nullptr);
    pop3.SetAccount(nullptr, "pw");
    EXPECT_EQ(pop3.GetUser(), "");
    pop3.SetAccount("bob", "pw");
    EXPECT_EQ(pop3.GetUser(), "bob");
    EXPECT_EQ(pop3.GetPassword(), "pw");
}

}  // namespace
}  // namespace lumivar::test
