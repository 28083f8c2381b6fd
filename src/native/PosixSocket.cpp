// The TCP connection over BSD sockets, for the native build.
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

#include <memory>

#include "net/TcpSocket.h"

namespace lumivar {

bool CTcpSocket::Connect(const std::string& host, uint16_t port, int timeoutMs) {
    Close();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    sockaddr_in address = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
    freeaddrinfo(found);
    address.sin_port = htons(port);

    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    m_socket = s;
    // Connect without blocking, then wait at most the limit for it to complete.
    const int flags = fcntl(s, F_GETFL);
    fcntl(s, F_SETFL, flags | O_NONBLOCK);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        pollfd p{s, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (errno != EINPROGRESS || poll(&p, 1, timeoutMs) != 1 ||
            getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            Close();
            return false;
        }
    }
    fcntl(s, F_SETFL, flags);
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    return true;
}

bool CTcpSocket::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = send(int(m_socket), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

int CTcpSocket::Receive(char* buffer, int size) {
    if (m_socket == kNone) return -1;
    const ssize_t n = recv(int(m_socket), buffer, std::size_t(size), 0);
    return n < 0 ? -1 : int(n);
}

void CTcpSocket::Close() {
    if (m_socket != kNone) close(int(m_socket));
    m_socket = kNone;
    m_lines.Clear();
}

std::shared_ptr<const ITcpConnector> SystemTcp() { return std::make_shared<CConnectorOf<CTcpSocket>>(); }

}  // namespace lumivar
