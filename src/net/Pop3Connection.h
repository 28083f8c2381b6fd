// A POP3 client that logs in, counts the waiting messages and logs out: besides USER, PASS,
// STAT and QUIT it sends only CAPA and STLS, to go over to TLS where the server offers it. Its calls wait on the network, so it runs off
// the GUI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/TcpStream.h"

namespace lumivar {

class CPop3Connection {
public:
    // Connecting, and then each reply, waits at most this long; a reply line longer than
    // kMaxReplyLine bytes is refused (RFC 1939 allows 512 with its CR LF).
    static constexpr int kTimeoutMs = 15000;
    static constexpr std::size_t kMaxReplyLine = 512;
    static constexpr uint16_t kTlsPort = 995;
    static constexpr int kMaxCapabilities = 64;

    // Null user or password: empty. It talks over `stream`, a system socket unless given one;
    // without a stream it never connects.
    CPop3Connection(const char* server, int port, const char* user, const char* password,
                    std::unique_ptr<ITcpStream> stream = SystemTcp()->NewStream());
    ~CPop3Connection();
    CPop3Connection(const CPop3Connection&) = delete;
    CPop3Connection& operator=(const CPop3Connection&) = delete;

    void SetServer(const char* server, int port);  // null: no change
    void SetAccount(const char* user, const char* password);  // either null: no change
    void SetTimeout(int ms) { m_nTimeoutMs = ms; }

    bool Connect();
    bool ReadResponse(int index);
    int Stat();  // the message count, or -1
    bool Quit();

    const std::string& GetServer() const { return m_strServer; }
    int GetPort() const { return m_nPort; }
    const std::string& GetUser() const { return m_strUser; }
    const std::string& GetPassword() const { return m_strPass; }
    const std::string& GetError() const { return m_strError; }
    TlsError TlsFailure() const { return m_tlsError; }  // why the last connection could not be made secure
    const std::string& GetResponse() const { return m_strResponse; }
    bool IsConnected() const { return m_bConnected != 0; }

private:
    bool Command(const std::string& command, int index);  // sends it and reads its reply
    bool Secure(const std::string& host);   // TLS from here on, or false with the reason
    bool Upgrade(const std::string& host);  // CAPA, and STLS when offered
    void Drop();  // closes the socket and forgets the login

    std::string m_strServer;
    std::string m_strError = "OK";
    std::string m_strResponse;
    int m_bConnected = 0;
    int m_nPort = 110;
    std::string m_strUser;  // UTF-8, as the settings hold them; the wire gets GBK
    std::string m_strPass;
    int m_nTimeoutMs = kTimeoutMs;
    TlsError m_tlsError = TlsError::None;
    std::unique_ptr<ITcpStream> m_socket;
};

}  // namespace lumivar
