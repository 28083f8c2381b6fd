// TLS with the system's own implementation (Schannel, through SSPI) over a connected socket.
// Schannel never touches the socket: its tokens and records go through our send and recv, so
// the socket's own time-outs bound every step.
#pragma once

#include <winsock2.h>
#include <windows.h>
#define SECURITY_WIN32
#include <security.h>

#include <string>
#include <string_view>

#include "net/TcpStream.h"

namespace lumivar {

class CTlsSession {
public:
    explicit CTlsSession(SOCKET socket) : m_socket(socket) {}
    ~CTlsSession();
    CTlsSession(const CTlsSession&) = delete;
    CTlsSession& operator=(const CTlsSession&) = delete;

    TlsError Handshake(const std::string& host, int limitMs);
    bool Send(std::string_view bytes);
    // As recv: bytes, 0 at the end (the peer's close_notify or its close), -1 on an error.
    int Receive(char* buffer, int size);

private:
    // ISC until it is done, starting from what m_in holds; false on any failure.
    bool Negotiate(ULONGLONG deadline);
    TlsError CheckCertificate() const;
    bool ReadMore();

    SOCKET m_socket;
    std::wstring m_host;
    CredHandle m_cred{};
    CtxtHandle m_context{};
    bool m_haveCred = false, m_haveContext = false, m_ended = false;
    SecPkgContext_StreamSizes m_sizes{};
    std::string m_in;     // records received, not yet decrypted
    std::string m_plain;  // decrypted, not yet handed out
};

}  // namespace lumivar
