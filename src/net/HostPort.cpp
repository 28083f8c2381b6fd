#include "net/HostPort.h"

namespace lumivar {

bool ParseHostPort(std::string_view text, uint16_t defaultPort, std::string& host, uint16_t& port) {
    std::string_view name = text, digits;
    bool hasPort = false;
    if (!text.empty() && text.front() == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return false;
        name = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return false;
            digits = rest.substr(1), hasPort = true;
        }
    } else if (const size_t colon = text.find(':'); colon != std::string_view::npos) {
        name = text.substr(0, colon);
        digits = text.substr(colon + 1), hasPort = true;
    }
    unsigned value = defaultPort;
    if (hasPort) {
        if (digits.empty() || digits.size() > 5) return false;
        value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + unsigned(c - '0');
        }
        if (value == 0 || value > 65535) return false;
    }
    if (name.empty()) return false;
    for (char c : name)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\\' || c == '[' || c == ']' ||
            (c == ':' && text.front() != '['))
            return false;
    host = std::string(name);
    port = uint16_t(value);
    return true;
}

}  // namespace lumivar
