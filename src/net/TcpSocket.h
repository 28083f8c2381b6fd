// The system's TCP connection, implemented once per platform (win32/Win32Socket.cpp,
// native/PosixSocket.cpp) and handed out through SystemTcp(); the core sees only ITcpStream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/TcpStream.h"

namespace lumivar {

class CTlsSession;  // the platform's TLS over this socket, once started

class CTcpSocket final : public ITcpStream {
public:
    CTcpSocket();
    ~CTcpSocket() override;
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    bool Connect(const std::string& host, uint16_t port, int timeoutMs) override;
    TlsError StartTls(const std::string& host, int limitMs) override;
    bool SendAll(std::string_view bytes) override;
    int Receive(char* buffer, int size) override;
    bool ReceiveLine(std::string& line, std::size_t maxLength) override { return m_lines.Next(*this, line, maxLength); }
    void Close() override;
    bool IsOpen() const override { return m_socket != kNone; }

private:
    static constexpr intptr_t kNone = -1;
    intptr_t m_socket = kNone;
    std::unique_ptr<CTlsSession> m_tls;
    CLineBuffer m_lines;
};

}  // namespace lumivar
