#include "ScriptedSocket.h"

#include <algorithm>
#include <cstring>

#include "net/TcpSocket.h"

namespace lumivar {

namespace {
std::string_view g_bytes;
std::size_t g_piece = 1;
bool g_failAtEnd = false;
}  // namespace

void fuzz::Script(std::string_view bytes, std::size_t piece, bool failAtEnd) {
    g_bytes = bytes;
    g_piece = piece;
    g_failAtEnd = failAtEnd;
}

bool CTcpSocket::Connect(const std::string&, uint16_t, int) {
    Close();
    m_socket = 1;
    return true;
}

bool CTcpSocket::SendAll(std::string_view) { return m_socket != kNone; }

int CTcpSocket::Receive(char* buffer, int size) {
    if (m_socket == kNone || size <= 0) return -1;
    if (g_bytes.empty()) return g_failAtEnd ? -1 : 0;
    const std::size_t n = std::min({g_bytes.size(), g_piece, std::size_t(size)});
    std::memcpy(buffer, g_bytes.data(), n);
    g_bytes.remove_prefix(n);
    return int(n);
}

void CTcpSocket::Close() {
    m_socket = kNone;
    m_pending.clear();
}

}  // namespace lumivar
