#include "net/HttpProxy.h"

#include "base/Text.h"

#include <algorithm>
#include <cctype>
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

// "host:port", with or without "http://" and a trailing slash; false when unusable.
bool ParseHostPort(std::string_view s, ProxyConfig& config) {
    s = Trim(s);
    if (Lower(s.substr(0, 7)) == "http://") s.remove_prefix(7);
    const size_t at = s.rfind('@');  // credentials in the address are not used
    if (at != std::string_view::npos) s.remove_prefix(at + 1);
    s = s.substr(0, s.find('/'));
    const size_t colon = s.rfind(':');
    config.port = 80;
    if (colon != std::string_view::npos) {
        const std::string_view digits = s.substr(colon + 1);
        unsigned port = 0;
        if (digits.empty() || digits.size() > 5) return false;
        for (char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
            port = port * 10 + unsigned(c - '0');
        }
        if (port == 0 || port > 65535) return false;
        config.port = uint16_t(port);
        s = s.substr(0, colon);
    }
    if (s.empty()) return false;
    config.host = std::string(s);
    return true;
}

}  // namespace

bool ProxyConfig::UsedFor(const std::string& target) const {
    if (!enabled) return false;
    const std::string name = Lower(target);
    if (bypassLocal && name.find('.') == std::string::npos) return false;
    return std::none_of(bypass.begin(), bypass.end(), [&](const std::string& p) { return Glob(p, name); });
}

ProxyConfig ParseInternetSettings(bool enable, const std::string& server, const std::string& override) {
    ProxyConfig config;
    if (!enable) return config;
    std::string_view address = server;
    if (server.find('=') != std::string::npos) {
        address = {};  // per protocol: only an http entry serves http requests
        for (std::string_view entry : Split(server, ";")) {
            const size_t eq = entry.find('=');
            if (eq != std::string_view::npos && Lower(Trim(entry.substr(0, eq))) == "http") address = entry.substr(eq + 1);
        }
    }
    if (!ParseHostPort(address, config)) return {};
    for (std::string_view entry : Split(override, "; \t")) {
        if (Lower(entry) == "<local>")
            config.bypassLocal = true;
        else
            config.bypass.push_back(Lower(entry));
    }
    config.enabled = true;
    return config;
}

ProxyConfig ParseProxyEnvironment(const std::string& httpProxy, const std::string& noProxy) {
    ProxyConfig config;
    if (!ParseHostPort(httpProxy, config)) return {};
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
