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
#include <string>

#include "net/TcpSocket.h"
#include "ports/SocketAddress.h"

namespace lumivar {

// The native build has no TLS: its sockets refuse to start it.
class CTlsSession {};

CTcpSocket::CTcpSocket() = default;
CTcpSocket::~CTcpSocket() { Close(); }

namespace {
// One address, without blocking, then at most the limit for the connection to complete.
int ConnectTo(const addrinfo& a, int timeoutMs) {
    const int s = socket(a.ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return s;
    const int flags = fcntl(s, F_GETFL);
    fcntl(s, F_SETFL, flags | O_NONBLOCK);
    if (connect(s, a.ai_addr, a.ai_addrlen) != 0) {
        pollfd p{s, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (errno != EINPROGRESS || poll(&p, 1, timeoutMs) != 1 ||
            getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
            close(s);
            return -1;
        }
    }
    fcntl(s, F_SETFL, flags);
    return s;
}
}  // namespace

bool CTcpSocket::Connect(const std::string& host, uint16_t port, int timeoutMs) {
    Close();
    const int s = ConnectFirst(host, port, timeoutMs, -1, ConnectTo);
    if (s < 0) return false;
    m_socket = s;
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    return true;
}

TlsError CTcpSocket::StartTls(const std::string&, int) {
    Close();
    return TlsError::Unavailable;
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
