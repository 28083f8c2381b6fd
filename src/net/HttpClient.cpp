#include "net/HttpClient.h"

#include "base/Text.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <string_view>

namespace lumivar {

namespace {

using Clock = std::chrono::steady_clock;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Content-Length of a header block, or -1 when it has none (the body then runs to the close).
// The first value of a header, trimmed; empty when there is none.
std::string HeaderValue(const std::string& head, const std::string& lowerName) {
    const size_t at = Lower(head).find("\r\n" + lowerName + ":");
    if (at == std::string::npos) return {};
    const size_t from = at + 3 + lowerName.size();
    return std::string(Trim(std::string_view(head).substr(from, head.find("\r\n", from) - from)));
}

// The leading digits of Content-Length; -1 when there are none.
long long ContentLength(const std::string& head) {
    const std::string value = HeaderValue(head, "content-length");
    long long n = 0;
    size_t digits = 0;
    while (digits < value.size() && digits < 18 && IsDigit(value[digits])) n = n * 10 + (value[digits++] - '0');
    return digits ? n : -1;
}

}  // namespace

int CHttpClient::ParseStatusLine(const std::string& line) {
    // HTTP/d.d SP ddd [SP reason]
    if (line.size() < 12 || line.compare(0, 5, "HTTP/") != 0 || !IsDigit(line[5]) || line[6] != '.' ||
        !IsDigit(line[7]) || line[8] != ' ' || !IsDigit(line[9]) || !IsDigit(line[10]) || !IsDigit(line[11]) ||
        (line.size() > 12 && line[12] != ' '))
        return 0;
    const int status = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    return status >= 100 ? status : 0;
}

bool CHttpClient::ReadHead(ITcpStream& stream, std::string& received, size_t& headEnd,
                           const std::function<bool()>& late) const {
    char buffer[16384];
    while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
        // A close before the empty line cuts the headers short: nothing there can be trusted.
        if (received.size() > m_limits.maxHeader || late()) return false;
        const int n = stream.Receive(buffer, sizeof buffer);
        if (n <= 0) return false;
        received.append(buffer, size_t(n));
    }
    return true;
}

HttpReply CHttpClient::Get(const HttpRequest& request) const {
    HttpReply reply;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_limits.totalMs);
    const std::function<bool()> late = [&] { return Clock::now() >= deadline; };
    const auto left = [&] {
        return int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    };
    const HttpUrl& url = request.url;

    const ProxyConfig proxy = m_proxy ? m_proxy->For(url) : ProxyConfig{};
    std::string proxyHost;
    uint16_t proxyPort = 0;
    const bool viaProxy = proxy.Route(url, proxyHost, proxyPort);
    const std::unique_ptr<ITcpStream> stream = m_tcp ? m_tcp->NewStream() : nullptr;
    if (!stream || !stream->Connect(viaProxy ? proxyHost : url.host, viaProxy ? proxyPort : url.port, m_limits.stepMs))
        return reply;

    std::string received;
    size_t headEnd = 0;
    if (url.tls) {
        // Through a proxy the secure connection is tunnelled; the proxy sees only its own lines.
        if (viaProxy) {
            const std::string authority = url.HostName() + ":" + std::to_string(url.port);
            if (!stream->SendAll("CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority + "\r\n" +
                                 request.proxyHeaders + "\r\n") ||
                !ReadHead(*stream, received, headEnd, late))
                return reply;
            const int status = ParseStatusLine(received.substr(0, received.find("\r\n")));
            if (status / 100 != 2) {
                // The proxy's refusal (407: it wants credentials) is the answer.
                if (status) reply.status = status, reply.outcome = HttpReply::Outcome::Complete;
                return reply;
            }
            if (received.size() > headEnd + 4) return reply;  // bytes before the handshake: not a tunnel
            received.clear();
        }
        reply.tls = stream->StartTls(url.host, std::min(left(), m_limits.stepMs));
        if (reply.tls != TlsError::None || late()) return reply;
    }

    // A proxy is given the whole URL; the Pragma line keeps caches of HTTP/1.0 in line too.
    const bool plainProxy = viaProxy && !url.tls;
    std::string text = "GET " + (plainProxy ? url.Absolute() : url.target) + " HTTP/1.0\r\n";
    text += "Host: " + url.HostField() + "\r\n";
    text += "User-Agent: " + request.agent + "\r\n";
    if (request.reload) text += "Pragma: no-cache\r\nCache-Control: no-cache\r\n";
    if (plainProxy) text += request.proxyHeaders;
    text += request.headers;
    if (text.size() < 4 || text.compare(text.size() - 4, 4, "\r\n\r\n") != 0) text += "\r\n";
    if (late() || !stream->SendAll(text)) return reply;

    // Status line and headers, up to the empty line; what follows it is the body's start.
    if (!ReadHead(*stream, received, headEnd, late)) return reply;
    const std::string head = received.substr(0, headEnd + 2);
    reply.status = ParseStatusLine(head.substr(0, head.find("\r\n")));
    if (reply.status == 0) return reply;
    reply.outcome = HttpReply::Outcome::ReadFailed;
    if (reply.status >= 300 && reply.status < 400) reply.location = HeaderValue(head, "location");
    if (reply.status >= 400 || !reply.location.empty()) {
        reply.outcome = HttpReply::Outcome::Complete;  // the body of an error or a redirect is not wanted
        return reply;
    }

    const long long length = ContentLength(head);
    reply.body = received.substr(headEnd + 4);
    const auto enough = [&] {
        return (length >= 0 && reply.body.size() >= size_t(length)) || reply.body.size() >= m_limits.maxBody;
    };
    char buffer[16384];
    while (!enough()) {
        if (late()) return reply;
        const int n = stream->Receive(buffer, sizeof buffer);
        if (n < 0) return reply;
        if (n == 0) {
            if (length >= 0) return reply;  // fewer bytes than announced
            break;
        }
        reply.body.append(buffer, size_t(n));
    }
    if (length >= 0 && reply.body.size() > size_t(length)) reply.body.resize(size_t(length));
    if (reply.body.size() > m_limits.maxBody) reply.body.resize(m_limits.maxBody);
    reply.outcome = HttpReply::Outcome::Complete;
    return reply;
}

}  // namespace lumivar
