// A minimal HTTP/1.0 GET over the TCP connections it is given, TLS for https, through the
// proxy it is given when there is one (tunnelled with CONNECT for https). Our own rather than the system's HTTP stack: that one ignores its
// time-outs under Wine.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "net/HttpProxy.h"
#include "net/HttpTransport.h"
#include "net/TcpStream.h"

namespace lumivar {

struct HttpLimits {
    // No wait (connecting, sending, each receive) lasts longer than stepMs, and none starts
    // after totalMs: a request is over within totalMs + stepMs, 30 s with these values.
    int stepMs = 10000;
    int totalMs = 20000;
    // Enough for any page worth watching; an endless stream cannot exhaust memory, while the
    // monitor holds the stored page and a fresh copy at once.
    std::size_t maxBody = 2u << 20;
    std::size_t maxHeader = 64u << 10;
};

class CHttpClient : public IHttpTransport {
public:
    CHttpClient(std::shared_ptr<const ITcpConnector> tcp, std::shared_ptr<const IProxySettings> proxy,
                HttpLimits limits = {})
        : m_tcp(std::move(tcp)), m_proxy(std::move(proxy)), m_limits(limits) {}
    // Over the system's connections and proxy.
    CHttpClient() : CHttpClient(SystemTcp(), SystemProxy()) {}
    HttpReply Get(const HttpRequest& request) const override;

    // "HTTP/1.x 200 ..." → 200; 0 when the line is not a status line.
    static int ParseStatusLine(const std::string& line);

private:
    // Reads up to the empty line after the headers; false when it does not come in time.
    bool ReadHead(ITcpStream& stream, std::string& received, std::size_t& headEnd,
                  const std::function<bool()>& late) const;

    std::shared_ptr<const ITcpConnector> m_tcp;
    std::shared_ptr<const IProxySettings> m_proxy;  // none: always direct
    HttpLimits m_limits;
};

}  // namespace lumivar
