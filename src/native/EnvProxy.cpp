// The native build's proxy: the environment, as Unix programs take it.
#include <cstdlib>

#include "net/HttpProxy.h"

namespace lumivar {

ProxyConfig SystemProxyConfig(const HttpUrl&) {
    const auto get = [](const char* a, const char* b) {
        const char* v = std::getenv(a);
        if (!v) v = std::getenv(b);
        return std::string(v ? v : "");
    };
    return ParseProxyEnvironment(get("http_proxy", "HTTP_PROXY"), get("https_proxy", "HTTPS_PROXY"),
                                 get("no_proxy", "NO_PROXY"));
}

std::shared_ptr<const IProxySettings> SystemProxy() { return std::make_shared<CProxySettingsOf<SystemProxyConfig>>(); }

}  // namespace lumivar
