// The system's HTTP proxy: where requests go, and which hosts bypass it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/HttpTransport.h"

namespace lumivar {

struct ProxyConfig {
    bool enabled = false;
    std::string host;     // for http:// addresses; empty: they go direct
    uint16_t port = 80;
    std::string tlsHost;  // for https:// ones, tunnelled with CONNECT; empty: direct
    uint16_t tlsPort = 80;
    bool bypassLocal = false;            // "<local>": names without a dot go direct
    std::vector<std::string> bypass;     // host patterns; '*' matches any run of characters

    bool UsedFor(const std::string& host) const;  // not bypassed
    // The proxy for that address: false when it goes direct.
    bool Route(const HttpUrl& url, std::string& proxyHost, uint16_t& proxyPort) const;
};

// Windows' per-user Internet Settings: ProxyEnable, ProxyServer ("host:port" for every
// scheme, or "http=host:port;https=..." per scheme) and ProxyOverride ("<local>;*.example.com").
ProxyConfig ParseInternetSettings(bool enable, const std::string& server, const std::string& override);

// What the system's automatic configuration script chose for one address: proxies in the
// order to try ("a:8080;b:3128", "PROXY a:8080; DIRECT"); the first is taken for both schemes.
// Empty, or DIRECT first: no proxy.
ProxyConfig ParseScriptAnswer(const std::string& answer);

// The Unix convention: http_proxy and https_proxy ("http://host:port/"), no_proxy
// ("a.com,.b.org,*").
ProxyConfig ParseProxyEnvironment(const std::string& httpProxy, const std::string& httpsProxy,
                                  const std::string& noProxy);

// The proxy as the HTTP client is given it: asked anew for each request, so that a change
// of the settings applies at once. May wait on the network (an automatic configuration
// script); safe from any thread, never called on the GUI thread.
class IProxySettings {
public:
    virtual ~IProxySettings() = default;
    virtual ProxyConfig For(const HttpUrl& url) const = 0;
};

// Settings that `read` fetches afresh each time they are asked for.
template <ProxyConfig (*read)(const HttpUrl&)>
class CProxySettingsOf final : public IProxySettings {
public:
    ProxyConfig For(const HttpUrl& url) const override { return read(url); }
};

// The system's settings for that address: SystemProxyConfig reads them now, SystemProxy()
// each time it is asked. Each platform defines them (win32/Win32Proxy.cpp, native/EnvProxy.cpp).
ProxyConfig SystemProxyConfig(const HttpUrl& url);
std::shared_ptr<const IProxySettings> SystemProxy();

}  // namespace lumivar
