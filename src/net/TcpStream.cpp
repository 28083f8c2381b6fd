#include "net/TcpStream.h"

namespace lumivar {

const char* TlsErrorText(TlsError error) {
    switch (error) {
    case TlsError::None: return "";
    case TlsError::Unavailable: return "本系统无法建立加密连接";
    case TlsError::Untrusted: return "服务器的证书不是受信任的机构颁发的";
    case TlsError::WrongName: return "服务器的证书不属于所连接的主机";
    case TlsError::Expired: return "服务器的证书已过期或尚未生效";
    case TlsError::Handshake: break;
    }
    return "无法与服务器建立加密连接";
}

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
