#include "net/HttpClient.h"

#include "base/Text.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace lumivar {

namespace {

using Clock = std::chrono::steady_clock;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Content-Length of a header block, or -1 when it has none (the body then runs to the close).
long long ContentLength(const std::string& head) {
    const std::string lower = Lower(head);
    size_t at = 0;
    while ((at = lower.find("\r\ncontent-length:", at)) != std::string::npos) {
        at += 17;
        while (at < lower.size() && (lower[at] == ' ' || lower[at] == '\t')) ++at;
        long long n = 0;
        size_t digits = 0;
        while (at < lower.size() && IsDigit(lower[at]) && digits < 18) n = n * 10 + (lower[at++] - '0'), ++digits;
        if (digits) return n;
    }
    return -1;
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

HttpReply CHttpClient::Get(const HttpRequest& request) const {
    HttpReply reply;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_limits.totalMs);
    const auto late = [&] { return Clock::now() >= deadline; };

    const ProxyConfig proxy = m_proxy ? m_proxy->Current() : ProxyConfig{};
    const bool viaProxy = proxy.UsedFor(request.url.host);
    const std::unique_ptr<ITcpStream> stream = m_tcp ? m_tcp->NewStream() : nullptr;
    if (!stream || !stream->Connect(viaProxy ? proxy.host : request.url.host,
                                    viaProxy ? proxy.port : request.url.port, m_limits.stepMs))
        return reply;

    // A proxy is given the whole URL; the Pragma line keeps caches of HTTP/1.0 in line too.
    std::string text = "GET " + (viaProxy ? request.url.Absolute() : request.url.target) + " HTTP/1.0\r\n";
    text += "Host: " + request.url.HostField() + "\r\n";
    text += "User-Agent: " + request.agent + "\r\n";
    if (request.reload) text += "Pragma: no-cache\r\nCache-Control: no-cache\r\n";
    text += request.headers;
    if (text.size() < 4 || text.compare(text.size() - 4, 4, "\r\n\r\n") != 0) text += "\r\n";
    if (late() || !stream->SendAll(text)) return reply;

    // Status line and headers, up to the empty line; what follows it is the body's start.
    std::string received;
    size_t headEnd;
    char buffer[16384];
    while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
        if (received.size() > m_limits.maxHeader || late()) return reply;
        const int n = stream->Receive(buffer, sizeof buffer);
        if (n <= 0) {
            // The peer closed or failed before its headers ended; a status line alone still
            // says what the answer was (a terse server that closes after it).
            if (n == 0 && received.find("\r\n") != std::string::npos && received.size() >= 2 &&
                received.compare(received.size() - 2, 2, "\r\n") == 0)
                headEnd = received.size() - 2, received += "\r\n";
            else
                return reply;
            break;
        }
        received.append(buffer, size_t(n));
    }
    const std::string head = received.substr(0, headEnd + 2);
    reply.status = ParseStatusLine(head.substr(0, head.find("\r\n")));
    if (reply.status == 0) return reply;
    reply.outcome = HttpReply::Outcome::ReadFailed;
    if (reply.status >= 400) {
        reply.outcome = HttpReply::Outcome::Complete;  // the body of an error is not wanted
        return reply;
    }

    const long long length = ContentLength(head);
    reply.body = received.substr(headEnd + 4);
    const auto enough = [&] {
        return (length >= 0 && reply.body.size() >= size_t(length)) || reply.body.size() >= m_limits.maxBody;
    };
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
