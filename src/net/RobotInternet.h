// One-shot HTTP GET into a string, with a small error code and its text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "net/HttpTransport.h"

namespace lumivar {

class CRobotInternet {
public:
    // Beyond the classic codes 0-7: what TLS and redirects add.
    enum : int {
        kTlsFailed = 8,
        kUntrusted,
        kWrongName,
        kExpired,
        kNoTls,
        kTooManyRedirects,
        kInsecureRedirect,
    };
    static constexpr int kMaxRedirects = 5;
    static constexpr int kMaxChainMs = 60000;  // no new hop once the redirects have taken this long

    explicit CRobotInternet(std::shared_ptr<const IHttpTransport> transport) : m_transport(std::move(transport)) {}

    int m_bReadFromCache = 0;   // 0: every request demands a fresh copy
    int m_bWriteToCache = 0;    // we keep no cache; kept for its meaning
    int m_nSessionCount = 0;
    std::string m_strProxyAuthScheme = "basic";
    std::string m_strProxyUserName;  // UTF-8 here, GBK bytes on the wire
    std::string m_strProxyPassword;
    std::string m_strServerUser;
    std::string m_strServerPassword;
    std::string m_strAgent = "Mozilla";

    // True exactly when errorCode is 0. body: see the .cpp for when it is written.
    bool HttpGet(const std::string& url, std::string& body, int& errorCode, std::string& errorText);
    // The lines for the server, with its credentials only when asked; the block ends in an
    // empty line. The proxy's credentials go in lines of their own, for the proxy alone.
    std::string ServerHeaders(bool credentials) const;
    std::string ProxyHeaders() const;
    static std::string Base64Encode(std::string_view bytes);
    static std::string ErrorText(int code);

    // Trimmed, and "http://" (or "http:" before "//") put in front of an address without a colon.
    static std::string CanonicalizeUrl(std::string_view url);
    // False unless an http or https URL with a host (and a valid port, if any).
    static bool ParseUrl(const std::string& canonical, HttpUrl& url);
    // A redirect's Location, absolute or relative to the address that gave it.
    static bool ResolveLocation(const HttpUrl& base, std::string_view location, HttpUrl& next);
    static bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }
    static int TlsCode(TlsError error);

private:
    std::shared_ptr<const IHttpTransport> m_transport;
};

}  // namespace lumivar
