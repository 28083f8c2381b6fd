// A POP3 server on 127.0.0.1 for the tests: it answers each command with a scripted reply
// and records every command line it receives.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/LocalServer.h"

namespace lumivar::test {

class Pop3Responder {
public:
    // Replies by step: "" is no reply at all; a "|" cuts a reply into two TCP segments;
    // a reply without its CR LF is sent and then the server hangs up.
    struct Script {
        std::string greeting = "+OK POP3 ready\r\n";
        std::string user = "+OK\r\n";
        std::string pass = "+OK logged in\r\n";
        std::string stat = "+OK 0 0\r\n";
        std::string quit = "+OK bye\r\n";
    };
    Pop3Responder() : Pop3Responder(Script{}) {}
    explicit Pop3Responder(Script script);

    uint16_t Port() const { return m_server->Port(); }
    void SetScript(const Script& script);
    void SetStatCount(int count) { SetStatReply("+OK " + std::to_string(count) + " " + std::to_string(count * 1200) + "\r\n"); }
    void SetStatReply(const std::string& reply);
    std::vector<std::string> Received();  // command lines, over every connection so far
    int Connections() const { return m_connections; }

private:
    void Serve(int client);

    std::mutex m_mutex;
    Script m_script;
    std::vector<std::string> m_received;
    std::atomic<int> m_connections{0};
    std::unique_ptr<LocalServer> m_server;  // last: it stops before the rest goes
};

}  // namespace lumivar::test
