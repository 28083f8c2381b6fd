#include "net/HttpProxy.h"

#include "base/Text.h"
#include "net/HostPort.h"

#include <algorithm>
#include <string_view>

namespace lumivar {

namespace {

std::vector<std::string_view> Split(std::string_view s, std::string_view separators) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = s.find_first_of(separators);
        const std::string_view part = Trim(s.substr(0, at));
        if (!part.empty()) parts.push_back(part);
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

bool Glob(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) return text.empty();
    if (pattern.front() == '*') {
        for (size_t i = 0; i <= text.size(); ++i)
            if (Glob(pattern.substr(1), text.substr(i))) return true;
        return false;
    }
    return !text.empty() && pattern.front() == text.front() && Glob(pattern.substr(1), text.substr(1));
}

// "host:port" ("[v6]:port"), with or without "http://" and a trailing slash; false when unusable.
bool ParseProxyAddress(std::string_view s, std::string& host, uint16_t& port) {
    s = Trim(s);
    if (Lower(s.substr(0, 7)) == "http://") s.remove_prefix(7);
    const size_t at = s.rfind('@');  // credentials in the address are not used
    if (at != std::string_view::npos) s.remove_prefix(at + 1);
    return ParseHostPort(s.substr(0, s.find('/')), 80, host, port);
}

}  // namespace

bool ProxyConfig::UsedFor(const std::string& target) const {
    if (!enabled) return false;
    const std::string name = Lower(target);
    if (bypassLocal && name.find('.') == std::string::npos && name.find(':') == std::string::npos) return false;
    return std::none_of(bypass.begin(), bypass.end(), [&](const std::string& p) { return Glob(p, name); });
}

bool ProxyConfig::Route(const HttpUrl& url, std::string& proxyHost, uint16_t& proxyPort) const {
    const std::string& via = url.tls ? tlsHost : host;
    if (via.empty() || !UsedFor(url.host)) return false;
    proxyHost = via;
    proxyPort = url.tls ? tlsPort : port;
    return true;
}

ProxyConfig ParseInternetSettings(bool enable, const std::string& server, const std::string& override) {
    ProxyConfig config;
    if (!enable) return config;
    if (server.find('=') == std::string::npos) {
        // One proxy for every scheme.
        if (!ParseProxyAddress(server, config.host, config.port)) return {};
        config.tlsHost = config.host, config.tlsPort = config.port;
    } else {
        for (std::string_view entry : Split(server, ";")) {
            const size_t eq = entry.find('=');
            if (eq == std::string_view::npos) continue;
            const std::string scheme = Lower(Trim(entry.substr(0, eq)));
            if (scheme == "http" && !ParseProxyAddress(entry.substr(eq + 1), config.host, config.port)) config.host.clear();
            if (scheme == "https" && !ParseProxyAddress(entry.substr(eq + 1), config.tlsHost, config.tlsPort))
                config.tlsHost.clear();
        }
        if (config.host.empty() && config.tlsHost.empty()) return {};
    }
    for (std::string_view entry : Split(override, "; \t")) {
        if (Lower(entry) == "<local>")
            config.bypassLocal = true;
        else
            config.bypass.push_back(Lower(entry));
    }
    config.enabled = true;
    return config;
}

ProxyConfig ParseScriptAnswer(const std::string& answer) {
    for (std::string_view entry : Split(answer, ";")) {
        entry = Trim(entry);
        const std::string word = Lower(entry.substr(0, entry.find_first_of(" \t")));
        if (word == "direct") return {};
        if (word == "proxy" || word == "http") entry = Trim(entry.substr(word.size()));
        else if (word == "socks" || word == "socks4" || word == "socks5" || word == "https") continue;  // not spoken here
        ProxyConfig config;
        if (!ParseProxyAddress(entry, config.host, config.port)) continue;
        config.tlsHost = config.host, config.tlsPort = config.port;
        config.enabled = true;
        return config;
    }
    return {};
}

ProxyConfig ParseProxyEnvironment(const std::string& httpProxy, const std::string& httpsProxy,
                                  const std::string& noProxy) {
    ProxyConfig config;
    if (!ParseProxyAddress(httpProxy, config.host, config.port)) config.host.clear();
    if (!ParseProxyAddress(httpsProxy, config.tlsHost, config.tlsPort)) config.tlsHost.clear();
    if (config.host.empty() && config.tlsHost.empty()) return {};
    for (std::string_view entry : Split(noProxy, ", \t")) {
        std::string pattern = Lower(entry);
        if (pattern == "*") {
            config.bypass.push_back("*");
            continue;
        }
        if (pattern.front() == '.') pattern.erase(0, 1);
        config.bypass.push_back(pattern);          // the domain itself
        config.bypass.push_back("*." + pattern);   // and every name under it
    }
    config.enabled = true;
    return config;
}

}  // namespace lumivar
