// A TCP connection whose every step has a time limit, over Winsock or BSD sockets
// (the system part is chosen at link time, as the text codec is).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumivar {

class CTcpSocket {
public:
    CTcpSocket() = default;
    ~CTcpSocket() { Close(); }
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Looks the host up (IPv4) and connects within timeoutMs; from then on each send and each
    // receive waits at most timeoutMs too. False on any failure, and the socket is closed.
    bool Connect(const std::string& host, uint16_t port, int timeoutMs);
    bool SendAll(std::string_view bytes);
    // Bytes received (at most size): 0 when the peer closed, -1 on an error or a time-out.
    int Receive(char* buffer, int size);
    // One line that ends in CR LF, returned without it. False when the peer closes or fails
    // first, on a time-out, or when no CR LF comes within maxLength bytes.
    bool ReceiveLine(std::string& line, std::size_t maxLength);
    void Close();
    bool IsOpen() const { return m_socket != kNone; }

private:
    static constexpr intptr_t kNone = -1;
    intptr_t m_socket = kNone;
    std::string m_pending;  // received after the last line handed out
};

}  // namespace lumivar
