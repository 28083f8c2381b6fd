#include "ScriptedStream.h"

#include <algorithm>
#include <cstring>

namespace lumivar::fuzz {

bool ScriptedStream::Connect(const std::string&, uint16_t, int) {
    Close();
    m_open = true;
    m_left = m_script.bytes;
    return true;
}

bool ScriptedStream::SendAll(std::string_view) { return m_open; }

int ScriptedStream::Receive(char* buffer, int size) {
    if (!m_open || size <= 0) return -1;
    if (m_left.empty()) return m_script.failAtEnd ? -1 : 0;
    const std::size_t n = std::min({m_left.size(), m_script.piece, std::size_t(size)});
    std::memcpy(buffer, m_left.data(), n);
    m_left.remove_prefix(n);
    return int(n);
}

void ScriptedStream::Close() {
    m_open = false;
    m_left = {};
    m_lines.Clear();
}

}  // namespace lumivar::fuzz
