// One HTTP GET as the program makes it, and the port that carries it. The real transport
// is CHttpClient; tests give a scripted one.
#pragma once

#include <cstdint>
#include <string>

namespace lumivar {

// A parsed http URL: what the request line and the connection need.
struct HttpUrl {
    std::string host;
    uint16_t port = 80;
    std::string target = "/";  // path and query, as sent
    std::string HostField() const { return port == 80 ? host : host + ":" + std::to_string(port); }
    std::string Absolute() const { return "http://" + HostField() + target; }
    bool operator==(const HttpUrl&) const = default;
};

struct HttpRequest {
    HttpUrl url;
    std::string agent;
    std::string headers;   // extra lines, the block ending in an empty line
    bool reload = true;    // demand a fresh copy from the origin, past any cache
};

struct HttpReply {
    enum class Outcome {
        NoResponse,  // nothing usable came: no connection, no status line, cut-off headers
        Complete,    // the whole body (or its first kMaxBody bytes) was read
        ReadFailed,  // the body broke off: a time-out, an error, or fewer bytes than announced
    };
    Outcome outcome = Outcome::NoResponse;
    int status = 0;     // 0: the transport could not tell it
    std::string body;   // what was read
};

class IHttpTransport {
public:
    virtual ~IHttpTransport() = default;
    // Blocks for up to its time limit: never call it on the GUI thread. Safe from any thread.
    virtual HttpReply Get(const HttpRequest& request) const = 0;
};

}  // namespace lumivar
