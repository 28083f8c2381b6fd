// The TCP connection over Winsock. Wine honours SO_RCVTIMEO, so every wait is bounded there too.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>
#include <mutex>

#include "net/TcpSocket.h"

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

bool CTcpSocket::Connect(const std::string& host, uint16_t port, int timeoutMs) {
    Close();
    StartWinsock();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    sockaddr_in address = *reinterpret_cast<sockaddr_in*>(found->ai_addr);
    freeaddrinfo(found);
    address.sin_port = htons(port);

    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    m_socket = intptr_t(s);
    // Connect without blocking, then wait at most the limit for it to complete.
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_SET(s, &writable);
        FD_ZERO(&failed);
        FD_SET(s, &failed);
        timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        if (WSAGetLastError() != WSAEWOULDBLOCK || select(0, nullptr, &writable, &failed, &limit) != 1 ||
            !FD_ISSET(s, &writable)) {
            Close();
            return false;
        }
    }
    nonBlocking = 0;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    const DWORD limit = DWORD(timeoutMs);
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
    return true;
}

bool CTcpSocket::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const int n = send(SOCKET(m_socket), bytes.data(), int(bytes.size()), 0);
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

int CTcpSocket::Receive(char* buffer, int size) {
    if (m_socket == kNone) return -1;
    const int n = recv(SOCKET(m_socket), buffer, size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

void CTcpSocket::Close() {
    if (m_socket != kNone) closesocket(SOCKET(m_socket));
    m_socket = kNone;
    m_lines.Clear();
}

std::shared_ptr<const ITcpConnector> SystemTcp() { return std::make_shared<CConnectorOf<CTcpSocket>>(); }

}  // namespace lumivar
