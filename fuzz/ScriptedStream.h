// The peer of the fuzzed network clients: a stream that replays bytes, given to the clients
// through their TCP port, so that the reply parsers run with no socket at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "net/TcpStream.h"

namespace lumivar::fuzz {

// What a connection receives, in pieces of at most `piece` bytes; at its end the peer closes,
// or fails as a time-out does when `failAtEnd` is set. The bytes are the fuzz input's.
struct PeerScript {
    std::string_view bytes;
    std::size_t piece = 1;
    bool failAtEnd = false;
};

// The first byte of a fuzz input chooses how the rest arrives.
inline PeerScript ScriptFrom(const uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    return {rest, data[0] & 0x40 ? 1u + (data[0] & 0x3F) : 4096u, (data[0] & 0x80) != 0};
}

// Each connection hears the script from its start; whatever is sent is taken and dropped.
class ScriptedStream final : public ITcpStream {
public:
    explicit ScriptedStream(PeerScript script) : m_script(script) {}
    bool Connect(const std::string& host, uint16_t port, int timeoutMs) override;
    bool SendAll(std::string_view bytes) override;
    int Receive(char* buffer, int size) override;
    bool ReceiveLine(std::string& line, std::size_t maxLength) override { return m_lines.Next(*this, line, maxLength); }
    void Close() override;
    bool IsOpen() const override { return m_open; }

private:
    const PeerScript m_script;
    std::string_view m_left;
    bool m_open = false;
    CLineBuffer m_lines;
};

class ScriptedTcp final : public ITcpConnector {
public:
    explicit ScriptedTcp(PeerScript script) : m_script(script) {}
    std::unique_ptr<ITcpStream> NewStream() const override { return std::make_unique<ScriptedStream>(m_script); }

private:
    const PeerScript m_script;
};

}  // namespace lumivar::fuzz
