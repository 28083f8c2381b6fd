#include "net/RobotInternet.h"

#include "base/Text.h"

#include <cctype>
#include <chrono>

#include "net/HostPort.h"
#include "settings/Gbk.h"

namespace lumivar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Bytes that cannot stand in a request line travel percent-encoded, as a browser sends them.
std::string EncodeTarget(std::string_view s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string CRobotInternet::CanonicalizeUrl(std::string_view url) {
    // Blanks are ASCII bytes, which never occur inside a multibyte character in UTF-8.
    while (!url.empty() && IsBlank(url.front())) url.remove_prefix(1);
    while (!url.empty() && IsBlank(url.back())) url.remove_suffix(1);
    std::string out(url);
    if (out.find(':') == std::string::npos) out = (!out.empty() && out[0] == '/' ? "http:" : "http://") + out;
    return out;
}

bool CRobotInternet::ParseUrl(const std::string& canonical, HttpUrl& url) {
    const size_t colon = canonical.find(':');
    if (colon == std::string::npos || canonical.compare(colon + 1, 2, "//") != 0) return false;
    const std::string scheme = Lower(canonical.substr(0, colon));
    if (scheme != "http" && scheme != "https") return false;
    const std::string rest = canonical.substr(colon + 3);
    const size_t end = rest.find_first_of("/?#");
    std::string authority = rest.substr(0, end);
    std::string target = end == std::string::npos ? "" : rest.substr(end);
    target = target.substr(0, target.find('#'));
    if (target.empty() || target[0] != '/') target = "/" + target;
    const size_t at = authority.rfind('@');  // credentials in the address are not sent
    if (at != std::string::npos) authority.erase(0, at + 1);
    HttpUrl parsed;
    parsed.tls = scheme == "https";
    if (!authority.empty() && authority.back() == ':') authority.pop_back();  // "host:" is the default port
    if (!ParseHostPort(authority, parsed.DefaultPort(), parsed.host, parsed.port)) return false;
    parsed.target = EncodeTarget(target);
    url = parsed;
    return true;
}

bool CRobotInternet::ResolveLocation(const HttpUrl& base, std::string_view location, HttpUrl& next) {
    std::string ref(Trim(location));
    if (ref.empty()) return false;
    const size_t colon = ref.find(':');
    if (colon != std::string::npos && ref.find_first_of("/?#") > colon) return ParseUrl(ref, next);
    if (ref.compare(0, 2, "//") == 0) return ParseUrl((base.tls ? "https:" : "http:") + ref, next);
    std::string path = base.target.substr(0, base.target.find('?'));
    if (ref[0] == '/')
        path = ref;
    else if (ref[0] == '?')
        path += ref;
    else
        path = path.substr(0, path.rfind('/') + 1) + ref;
    return ParseUrl(base.Origin() + path, next);
}

std::string CRobotInternet::ErrorText(int code) {
    switch (code) {
    case 0: return "Successful";
    case 1: return "Invalid URL";
    case 2: return "Invalid parameter";
    case 3: return "Connection failed";
    case 4: return "Timed out";
    case 5: return "Not found";
    case 6: return "Not authorized";
    case 7: return "Disk/file error";
    case kTlsFailed: return TlsErrorText(TlsError::Handshake);
    case kUntrusted: return TlsErrorText(TlsError::Untrusted);
    case kWrongName: return TlsErrorText(TlsError::WrongName);
    case kExpired: return TlsErrorText(TlsError::Expired);
    case kNoTls: return TlsErrorText(TlsError::Unavailable);
    case kTooManyRedirects: return "网页转向的次数过多";
    case kInsecureRedirect: return "网页从加密的地址转向了不加密的地址，没有跟随";
    default: return "CRobotInternet error " + std::to_string(code);
    }
}

std::string CRobotInternet::Base64Encode(std::string_view bytes) {
    // Encoded whole, however long: no fixed working buffer.
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        out += alphabet[group >> 18 & 63];
        out += alphabet[group >> 12 & 63];
        out += n > 1 ? alphabet[group >> 6 & 63] : '=';
        out += n > 2 ? alphabet[group & 63] : '=';
    }
    return out;
}

std::string CRobotInternet::ServerHeaders(bool credentials) const {
    std::string headers = "Accept: */*\r\n";
    if (credentials && !m_strServerUser.empty())
        headers += "Authorization: Basic " + Base64Encode(Utf8ToGbk(m_strServerUser + ":" + m_strServerPassword)) +
                   "\r\n";
    return headers + "\r\n";
}

std::string CRobotInternet::ProxyHeaders() const {
    if (m_strProxyAuthScheme != "basic" || m_strProxyUserName.empty()) return {};
    return "Proxy-authorization: Basic " + Base64Encode(Utf8ToGbk(m_strProxyUserName + ":" + m_strProxyPassword)) +
           "\r\n";
}

int CRobotInternet::TlsCode(TlsError error) {
    switch (error) {
    case TlsError::None: return 0;
    case TlsError::Unavailable: return kNoTls;
    case TlsError::Untrusted: return kUntrusted;
    case TlsError::WrongName: return kWrongName;
    case TlsError::Expired: return kExpired;
    case TlsError::Handshake: break;
    }
    return kTlsFailed;
}

// body is written on success and when the transfer fails (with what was read, often nothing);
// an empty or bad URL and an HTTP error status leave it as it was.
bool CRobotInternet::HttpGet(const std::string& url, std::string& body, int& errorCode, std::string& errorText) {
    errorText.clear();
    errorCode = 0;
    HttpRequest request;
    request.proxyHeaders = ProxyHeaders();
    request.agent = m_strAgent;
    request.reload = !m_bReadFromCache;
    if (url.empty()) {
        errorCode = 2;
    } else if (!ParseUrl(CanonicalizeUrl(url), request.url)) {
        errorCode = 1;
    } else {
        // Server credentials belong to the address they were given with, not to where it sends us.
        const std::string origin = request.url.Origin();
        const auto start = std::chrono::steady_clock::now();
        for (int hops = 0;; ++hops) {
            request.headers = ServerHeaders(request.url.Origin() == origin);
            ++m_nSessionCount;
            const HttpReply reply = m_transport ? m_transport->Get(request) : HttpReply{};
            const int status = reply.status ? reply.status : 200;
            HttpUrl next;
            if (reply.outcome == HttpReply::Outcome::NoResponse) {
                body.clear();
                errorCode = TlsCode(reply.tls) ? TlsCode(reply.tls) : 3;
            } else if (IsRedirect(status) && !reply.location.empty()) {
                if (hops == kMaxRedirects) {
                    errorCode = kTooManyRedirects;
                } else if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(kMaxChainMs)) {
                    errorCode = 4;  // each hop has its limits, and so has the whole chain
                } else if (!ResolveLocation(request.url, reply.location, next)) {
                    errorCode = 3;
                } else if (request.url.tls && !next.tls) {
                    errorCode = kInsecureRedirect;
                } else {
                    request.url = next;
                    continue;
                }
            } else if (status == 403 || status == 407) {
                errorCode = 6;
            } else if (status == 404) {
                errorCode = 5;
            } else if (status >= 300) {
                errorCode = 3;
            } else {
                body = reply.body;
                errorCode = reply.outcome == HttpReply::Outcome::Complete ? 0 : 3;
            }
            break;
        }
    }
    errorText = ErrorText(errorCode);
    return errorCode == 0;
}

}  // namespace lumivar
