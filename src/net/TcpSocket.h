// The system's TCP connection, implemented once per platform (win32/Win32Socket.cpp,
// native/PosixSocket.cpp) and handed out through SystemTcp(); the core sees only ITcpStream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/TcpStream.h"

namespace lumivar {

class CTcpSocket final : public ITcpStream {
public:
    CTcpSocket() = default;
    ~CTcpSocket() override { Close(); }
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    bool Connect(const std::string& host, uint16_t port, int timeoutMs) override;
    bool SendAll(std::string_view bytes) override;
    int Receive(char* buffer, int size) override;
    bool ReceiveLine(std::string& line, std::size_t maxLength) override { return m_lines.Next(*this, line, maxLength); }
    void Close() override;
    bool IsOpen() const override { return m_socket != kNone; }

private:
    static constexpr intptr_t kNone = -1;
    intptr_t m_socket = kNone;
    CLineBuffer m_lines;
};

}  // namespace lumivar
