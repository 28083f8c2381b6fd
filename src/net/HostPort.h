// A host with its port, as addresses, proxy settings and the mail server write them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivar {

// "host", "host:port", "[v6]" or "[v6]:port": the host without brackets and the port, or
// defaultPort when none is written. False for an empty host, a port outside 1-65535 or not all
// digits, and a host with blanks, a backslash or an unbracketed second colon.
bool ParseHostPort(std::string_view text, uint16_t defaultPort, std::string& host, uint16_t& port);

}  // namespace lumivar
