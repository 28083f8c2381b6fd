// The TCP connection over Winsock, with TLS over it once asked. Wine honours SO_RCVTIMEO, so
// every wait is bounded there too.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>
#include <mutex>
#include <string>

#include "net/TcpSocket.h"
#include "ports/SocketAddress.h"
#include "win32/Win32Tls.h"

namespace lumivar {

namespace {
void StartWinsock() {
    static std::once_flag once;
    std::call_once(once, [] {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    });
}
}  // namespace

CTcpSocket::CTcpSocket() = default;
CTcpSocket::~CTcpSocket() { Close(); }

namespace {
// One address, without blocking, then at most the limit for the connection to complete.
SOCKET ConnectTo(const addrinfo& a, int timeoutMs) {
    const SOCKET s = socket(a.ai_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, a.ai_addr, int(a.ai_addrlen)) != 0) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        FD_ZERO(&failed);
        FD_SET(s, &failed);
        timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (WSAGetLastError() != WSAEWOULDBLOCK || select(0, nullptr, &writable, &failed, &limit) != 1 ||
            !FD_ISSET(s, &writable)) {
            closesocket(s);
            return INVALID_SOCKET;
        }
    }
    nonBlocking = 0;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    return s;
}
}  // namespace

bool CTcpSocket::Connect(const std::string& host, uint16_t port, int timeoutMs) {
    Close();
    StartWinsock();
    const SOCKET s = ConnectFirst(host, port, timeoutMs, INVALID_SOCKET, ConnectTo);
    if (s == INVALID_SOCKET) return false;
    m_socket = intptr_t(s);
    const DWORD limit = DWORD(timeoutMs);
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    return true;
}

TlsError CTcpSocket::StartTls(const std::string& host, int limitMs) {
    if (m_socket == kNone || m_tls) return TlsError::Handshake;
    m_lines.Clear();  // a line read ahead in plain text must not pass for a secure one
    auto tls = std::make_unique<CTlsSession>(SOCKET(m_socket));
    const TlsError error = tls->Handshake(host, limitMs);
    if (error != TlsError::None) {
        Close();
        return error;
    }
    m_tls = std::move(tls);
    return error;
}

bool CTcpSocket::SendAll(std::string_view bytes) {
    if (m_tls) return m_tls->Send(bytes);
    while (!bytes.empty()) {
        const int n = send(SOCKET(m_socket), bytes.data(), int(bytes.size()), 0);
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

int CTcpSocket::Receive(char* buffer, int size) {
    if (m_socket == kNone) return -1;
    if (m_tls) return m_tls->Receive(buffer, size);
    const int n = recv(SOCKET(m_socket), buffer, size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

void CTcpSocket::Close() {
    m_tls.reset();
    if (m_socket != kNone) closesocket(SOCKET(m_socket));
    m_socket = kNone;
    m_lines.Clear();
}

std::shared_ptr<const ITcpConnector> SystemTcp() { return std::make_shared<CConnectorOf<CTcpSocket>>(); }

}  // namespace lumivar
