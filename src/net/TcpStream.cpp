#include "net/TcpStream.h"

namespace lumivar {

bool CLineBuffer::Next(ITcpStream& stream, std::string& line, std::size_t maxLength) {
    for (;;) {
        const std::size_t end = m_pending.find("\r\n");
        if (end != std::string::npos) {
            if (end > maxLength) return false;
            line = m_pending.substr(0, end);
            m_pending.erase(0, end + 2);
            return true;
        }
        if (m_pending.size() > maxLength + 1) return false;  // a CR LF may still end it at maxLength
        char buffer[1024];
        const int n = stream.Receive(buffer, sizeof buffer);
        if (n <= 0) return false;
        m_pending.append(buffer, std::size_t(n));
    }
}

}  // namespace lumivar
