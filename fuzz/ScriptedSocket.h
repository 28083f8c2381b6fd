// The peer of the fuzzed network clients: CTcpSocket's system part replaced at link time by
// one that replays bytes, so the reply parsers run with no socket at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumivar::fuzz {

// What the next connection receives, in pieces of at most `piece` bytes; at its end the peer
// closes, or fails as a time-out does when `failAtEnd` is set.
void Script(std::string_view bytes, std::size_t piece, bool failAtEnd);

// The first byte of a fuzz input chooses how the rest arrives.
inline std::string_view ScriptFrom(const uint8_t* data, std::size_t size) {
    if (size == 0) {
        Script({}, 1, false);
        return {};
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    Script(rest, data[0] & 0x40 ? 1 + (data[0] & 0x3F) : 4096, data[0] & 0x80);
    return rest;
}

}  // namespace lumivar::fuzz
