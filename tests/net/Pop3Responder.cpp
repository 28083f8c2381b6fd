#include "net/Pop3Responder.h"

#include <sys/socket.h>

#include <chrono>
#include <thread>

namespace lumivar::test {

Pop3Responder::Pop3Responder() : Pop3Responder(Script{}) {}

Pop3Responder::Pop3Responder(Script script) : m_script(std::move(script)) {
    m_server = std::make_unique<LocalServer>([this](int c) { Serve(c); });
}

void Pop3Responder::SetScript(const Script& script) {
    std::lock_guard lock(m_mutex);
    m_script = script;
}

void Pop3Responder::SetStatReply(const std::string& reply) {
    std::lock_guard lock(m_mutex);
    m_script.stat = reply;
}

std::vector<std::string> Pop3Responder::Received() {
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::vector<std::string> Pop3Responder::Segments(const std::string& reply) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = reply.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(reply.substr(start, bar - start));
    parts.push_back(reply.substr(start));
    return parts;
}

void Pop3Responder::Serve(int client) {
    ++m_connections;
    auto reply = [&](const std::string& text) {
        if (text.empty()) {
            char b;
            recv(client, &b, 1, 0);  // silent until the client gives up
            return false;
        }
        std::string whole;
        for (const std::string& part : Segments(text)) {
            if (!whole.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(40));
            LocalServer::Send(client, part);
            whole += part;
        }
        return whole.ends_with("\r\n");  // half a reply, then the server hangs up
    };
    Script script;
    {
        std::lock_guard lock(m_mutex);
        script = m_script;
    }
    if (!reply(script.greeting)) return;
    for (;;) {
        const std::string line = LocalServer::ReadLine(client);
        if (line.empty()) return;
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
        if (!reply(text) || verb == "QUIT") return;
    }
}

}  // namespace lumivar::test
