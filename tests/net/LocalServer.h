// A TCP peer on 127.0.0.1 for the network tests: it accepts one connection at a time and
// plays a script against it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace lumivar::test {

class LocalServer {
public:
    // The script gets the accepted connection; it returns when it is done with it.
    explicit LocalServer(std::function<void(int client)> script) : m_listener(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        bind(m_listener, reinterpret_cast<sockaddr*>(&a), size);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
        m_port = ntohs(a.sin_port);
        listen(m_listener, 4);
        m_thread = std::thread([this, script] {
            for (int client; (client = accept(m_listener, nullptr, nullptr)) >= 0; close(client)) script(client);
        });
    }
    ~LocalServer() {
        shutdown(m_listener, SHUT_RDWR);  // ends the accept loop
        close(m_listener);
        m_thread.join();
    }
    uint16_t Port() const { return m_port; }

    static void Send(int client, const std::string& bytes) { send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // Up to and without CR LF; empty when closed.
    static std::string ReadLine(int client) {
        std::string line;
        for (char c; recv(client, &c, 1, 0) == 1;) {
            if (c == '\n' && line.ends_with('\r')) return line.substr(0, line.size() - 1);
            line += c;
        }
        return {};
    }

private:
    int m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};

}  // namespace lumivar::test
