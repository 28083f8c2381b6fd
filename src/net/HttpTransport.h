// One HTTP GET as the program makes it, and the port that carries it. The real transport
// is CHttpClient; tests give a scripted one.
#pragma once

#include <cstdint>
#include <string>

#include "net/TcpStream.h"

namespace lumivar {

// A parsed http or https URL: what the request line and the connection need.
struct HttpUrl {
    bool tls = false;  // https
    std::string host;  // an IPv6 literal without its brackets
    uint16_t port = 80;
    std::string target = "/";  // path and query, as sent
    uint16_t DefaultPort() const { return tls ? 443 : 80; }
    std::string HostName() const { return host.find(':') == std::string::npos ? host : "[" + host + "]"; }
    std::string HostField() const { return port == DefaultPort() ? HostName() : HostName() + ":" + std::to_string(port); }
    // Scheme, host and port: where credentials given for an address belong.
    std::string Origin() const { return (tls ? "https://" : "http://") + HostField(); }
    std::string Absolute() const { return Origin() + target; }
    bool operator==(const HttpUrl&) const = default;
};

struct HttpRequest {
    HttpUrl url;
    std::string agent;
    std::string headers;       // extra lines for the server, the block ending in an empty line
    std::string proxyHeaders;  // lines for a proxy alone (its credentials), each ending in CR LF
    bool reload = true;        // demand a fresh copy from the origin, past any cache
};

struct HttpReply {
    enum class Outcome {
        NoResponse,  // nothing usable came: no connection, no TLS, no status line, cut-off headers
        Complete,    // the whole body (or its first kMaxBody bytes) was read
        ReadFailed,  // the body broke off: a time-out, an error, or fewer bytes than announced
    };
    Outcome outcome = Outcome::NoResponse;
    int status = 0;        // 0: the transport could not tell it
    std::string body;      // what was read
    std::string location;  // where a redirect points, as the server wrote it
    TlsError tls = TlsError::None;  // why the connection could not be made secure
};

class IHttpTransport {
public:
    virtual ~IHttpTransport() = default;
    // Blocks for up to its time limit: never call it on the GUI thread. Safe from any thread.
    virtual HttpReply Get(const HttpRequest& request) const = 0;
};

}  // namespace lumivar
