// A POP3 server on 127.0.0.1 for the tests: it answers each command with a scripted reply
// and records every command line it receives.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/LocalServer.h"

namespace lumivar::test {

class Pop3Responder {
public:
    // Replies by step: "" is no reply at all; a "|" cuts a reply into two TCP segments;
    // a reply that does not end its line is sent and then the server hangs up.
    struct Script {
        std::string greeting = "+OK POP3 ready\r\n";
        std::string user = "+OK\r\n";
        std::string pass = "+OK logged in\r\n";
        std::string stat = "+OK 0 0\r\n";
        std::string quit = "+OK bye\r\n";
    };
    // The usual script with one step's reply changed.
    static Script With(std::string Script::*step, std::string reply) {
        Script script;
        script.*step = std::move(reply);
        return script;
    }
    Pop3Responder() : Pop3Responder(Script{}) {}
    explicit Pop3Responder(Script script)
        : m_script(std::move(script)), m_server(std::make_unique<LocalServer>([this](int c) { Serve(c); })) {}

    uint16_t Port() const { return m_server->Port(); }
    void SetScript(const Script& script) { std::lock_guard lock(m_mutex); m_script = script; }
    void SetStatCount(int count) { SetStatReply("+OK " + std::to_string(count) + " " + std::to_string(count * 1200) + "\r\n"); }
    void SetStatReply(const std::string& reply) { std::lock_guard lock(m_mutex); m_script.stat = reply; }
    // Command lines, over every connection so far.
    std::vector<std::string> Received() { std::lock_guard lock(m_mutex); return m_received; }
    int Connections() const { return m_connections; }

private:
    // False when the server stops here: no reply (it waits for the client to give up) or half a one.
    static bool Reply(int client, const std::string& text) {
        if (text.empty()) {
            char b;
            recv(client, &b, 1, 0);
            return false;
        }
        for (std::size_t start = 0, bar; start <= text.size(); start = bar + 1) {
            bar = std::min(text.find('|', start), text.size());
            if (start > 0) std::this_thread::sleep_for(std::chrono::milliseconds(40));
            LocalServer::Send(client, text.substr(start, bar - start));
        }
        return text.ends_with('\n');  // the cuts may fall inside the CR LF
    }
    void Serve(int client) {
        ++m_connections;
        const Script script = [this] {
            std::lock_guard lock(m_mutex);
            return m_script;
        }();
        if (!Reply(client, script.greeting)) return;
        for (std::string line; !(line = LocalServer::ReadLine(client)).empty();) {
            {
                std::lock_guard lock(m_mutex);
                m_received.push_back(line);
            }
            const std::string verb = line.substr(0, 4);
            const std::string& text = verb == "USER" ? script.user
                                      : verb == "PASS" ? script.pass
                                      : verb == "STAT" ? script.stat
                                      : verb == "QUIT" ? script.quit
                                                       : std::string("-ERR unknown\r\n");
            if (!Reply(client, text) || verb == "QUIT") return;
        }
    }

    std::mutex m_mutex;
    Script m_script;
    std::vector<std::string> m_received;
    std::atomic<int> m_connections{0};
    std::unique_ptr<LocalServer> m_server;  // last: it stops before the rest goes
};

}  // namespace lumivar::test
