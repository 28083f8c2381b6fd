#include "net/LocalServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumivar::test {

LocalServer::LocalServer(std::function<void(int)> script) {
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t size = sizeof a;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
    m_port = ntohs(a.sin_port);
    listen(m_listener, 4);
    m_thread = std::thread([this, script] {
        for (;;) {
            const int client = accept(m_listener, nullptr, nullptr);
            if (client < 0) return;  // the listener was shut
            script(client);
            close(client);
        }
    });
}

LocalServer::~LocalServer() {
    shutdown(m_listener, SHUT_RDWR);
    close(m_listener);
    m_thread.join();
}

void LocalServer::Send(int client, const std::string& bytes) { send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

std::string LocalServer::ReadLine(int client) {
    std::string line;
    char c;
    while (recv(client, &c, 1, 0) == 1) {
        if (c == '\n' && !line.empty() && line.back() == '\r') {
            line.pop_back();
            return line;
        }
        line += c;
    }
    return {};
}

}  // namespace lumivar::test
