#include "net/Pop3Responder.h"

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace lumivar::test {

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

void Pop3Responder::Serve(int client) {
    ++m_connections;
    // False when the server stops here: no reply (it waits for the client to give up) or half a one.
    auto reply = [client](const std::string& text) {
        if (text.empty()) {
            char b;
            recv(client, &b, 1, 0);
            return false;
        }
        std::string sent;
        for (std::size_t start = 0, bar; start <= text.size(); start = bar + 1) {
            bar = std::min(text.find('|', start), text.size());
            if (start > 0) std::this_thread::sleep_for(std::chrono::milliseconds(40));
            sent += text.substr(start, bar - start);
            LocalServer::Send(client, text.substr(start, bar - start));
        }
        return sent.ends_with("\r\n");
    };
    Script script;
    {
        std::lock_guard lock(m_mutex);
        script = m_script;
    }
    if (!reply(script.greeting)) return;
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
        if (!reply(text) || verb == "QUIT") return;
    }
}

}  // namespace lumivar::test
