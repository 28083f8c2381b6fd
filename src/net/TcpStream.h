// A TCP connection as the network clients use it, and the port they get new ones from. The
// shell gives the system's; tests and the fuzzers give scripted ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumivar {

// Why a connection could not be made secure.
enum class TlsError { None, Unavailable, Handshake, Untrusted, WrongName, Expired };
// What the person is told: "" for None.
const char* TlsErrorText(TlsError error);

class ITcpStream {
public:
    virtual ~ITcpStream() = default;
    // Looks the host up (every address family; a bare IPv6 literal too) and connects to its
    // addresses in turn, all within timeoutMs; from then on each send and each receive waits
    // at most timeoutMs too. False on any failure, and the stream is closed.
    virtual bool Connect(const std::string& host, uint16_t port, int timeoutMs) = 0;
    // From here on the connection speaks TLS to `host`, whose certificate must chain to a root
    // the system trusts and carry that name; the handshake is over within limitMs. Anything
    // but None closes the stream: there is no going on in plain text.
    virtual TlsError StartTls(const std::string& host, int limitMs) {
        (void)host, (void)limitMs;
        Close();
        return TlsError::Unavailable;
    }
    virtual bool SendAll(std::string_view bytes) = 0;
    // Bytes received (at most size): 0 when the peer closed, -1 on an error or a time-out.
    virtual int Receive(char* buffer, int size) = 0;
    // One line that ends in CR LF, returned without it. False when the peer closes or fails
    // first, on a time-out, or when no CR LF comes within maxLength bytes.
    virtual bool ReceiveLine(std::string& line, std::size_t maxLength) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};

// Where connections come from. Shared, as a check may outlive the main window; safe from any
// thread, while each stream it hands out is used by one thread at a time.
class ITcpConnector {
public:
    virtual ~ITcpConnector() = default;
    virtual std::unique_ptr<ITcpStream> NewStream() const = 0;  // not yet connected
};

// Connections of one stream type, each a new stream of it.
template <class Stream>
class CConnectorOf final : public ITcpConnector {
public:
    std::unique_ptr<ITcpStream> NewStream() const override { return std::make_unique<Stream>(); }
};

// The system's connections, over Winsock or BSD sockets: each platform defines it
// (win32/Win32Socket.cpp, native/PosixSocket.cpp), as it does the text codec.
std::shared_ptr<const ITcpConnector> SystemTcp();

// Lines out of a stream's bytes: ReceiveLine for every kind of stream, over its Receive.
class CLineBuffer {
public:
    bool Next(ITcpStream& stream, std::string& line, std::size_t maxLength);
    void Clear() { m_pending.clear(); }

private:
    std::string m_pending;  // received after the last line handed out
};

}  // namespace lumivar
