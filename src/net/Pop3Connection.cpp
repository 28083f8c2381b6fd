#include "net/Pop3Connection.h"

#include <climits>

#include "base/Text.h"
#include "net/HostPort.h"
#include "settings/Gbk.h"

namespace lumivar {

namespace {

const char* const kFailures[] = {
    "Server didn't connect",
    "Bad user name",
    "Invalid username/password combination",
    "STATus couldn't be retrieved",
    "RETRieve failed",
    "Could not DELEte message",
    "Error while QUITting",
};

// A line break in an account value would end the command early and let the rest of the
// value go to the server as a command of its own.
bool SafeInCommand(const std::string& value) { return value.find_first_of("\r\n", 0, 3) == std::string::npos; }

}  // namespace

CPop3Connection::CPop3Connection(const char* server, int port, const char* user, const char* password,
                                 std::unique_ptr<ITcpStream> stream)
    : m_strServer(server ? server : ""),
      m_nPort(port),
      m_strUser(user ? user : ""),
      m_strPass(password ? password : ""),
      m_socket(std::move(stream)) {}

CPop3Connection::~CPop3Connection() {
    if (m_bConnected) Quit();
}

void CPop3Connection::SetServer(const char* server, int port) {
    if (!server) return;
    m_strServer = server;
    m_nPort = port;
}

void CPop3Connection::SetAccount(const char* user, const char* password) {
    if (!user || !password) return;
    m_strUser = user;
    m_strPass = password;
}

void CPop3Connection::Drop() {
    if (m_socket) m_socket->Close();
    m_bConnected = 0;
}

bool CPop3Connection::Connect() {
    if (m_bConnected) return true;
    if (!SafeInCommand(m_strUser) || !SafeInCommand(m_strPass)) {
        m_strError = kFailures[SafeInCommand(m_strUser) ? 2 : 1];
        return false;
    }
    m_tlsError = TlsError::None;
    // The server as typed: "host", "host:port" or "[v6]:port"; a bare host takes the given port.
    std::string host;
    uint16_t port = 0;
    if (m_nPort <= 0 || m_nPort > 0xFFFF || !ParseHostPort(m_strServer, uint16_t(m_nPort), host, port) || !m_socket ||
        !m_socket->Connect(host, port, m_nTimeoutMs)) {
        m_strError = "Unable to connect to server";
        Drop();
        return false;
    }
    // 995 speaks TLS from the first byte; elsewhere a server that offers STLS is taken up on it
    // before the password goes out. A failed upgrade ends the check: never plain text after it.
    if ((port == kTlsPort && !Secure(host)) || !ReadResponse(0) || (port != kTlsPort && !Upgrade(host)) ||
        !Command("USER " + Utf8ToGbk(m_strUser) + "\r\n", 1) || !Command("PASS " + Utf8ToGbk(m_strPass) + "\r\n", 2)) {
        Drop();
        return false;
    }
    m_bConnected = 1;
    return true;
}

bool CPop3Connection::Secure(const std::string& host) {
    const TlsError error = m_tlsError = m_socket->StartTls(host, m_nTimeoutMs);
    if (error == TlsError::None) return true;
    m_strError = TlsErrorText(error);
    return false;
}

bool CPop3Connection::Upgrade(const std::string& host) {
    if (!m_socket->SendAll("CAPA\r\n")) {
        m_strError = "Socket Error";
        return false;
    }
    std::string line;
    if (!m_socket->ReceiveLine(line, kMaxReplyLine - 2)) {
        m_strError = "Socket Error";
        return false;
    }
    if (line.compare(0, 3, "+OK") != 0) return true;  // no capabilities to tell: plain, as ever
    bool stls = false;
    for (int lines = 0;; ++lines) {
        if (lines > kMaxCapabilities || !m_socket->ReceiveLine(line, kMaxReplyLine - 2)) {
            m_strError = "Socket Error";
            return false;
        }
        if (line == ".") break;
        stls = stls || Lower(line) == "stls";
    }
    if (!stls) return true;
    if (!Command("STLS\r\n", 0)) return false;
    return Secure(host);
}

bool CPop3Connection::Command(const std::string& command, int index) {
    if (!m_socket || !m_socket->SendAll(command)) {
        m_strError = "Socket Error";
        return false;
    }
    return ReadResponse(index);
}

bool CPop3Connection::ReadResponse(int index) {
    std::string line;
    if (!m_socket || !m_socket->ReceiveLine(line, kMaxReplyLine - 2)) {
        // Closed, silent past the limit, or a line with no end in sight.
        m_strError = "Socket Error";
        return false;
    }
    m_strResponse = line;
    if (line.empty() || line.compare(0, 4, "-ERR") == 0) {
        m_strError = kFailures[index];
        return false;
    }
    return true;
}

int CPop3Connection::Stat() {
    if (!Command("STAT\r\n", 3)) {
        // Whatever the server meant, the next check logs in afresh.
        Drop();
        return -1;
    }
    const std::size_t first = m_strResponse.find_first_of("0123456789");
    if (first == std::string::npos) {
        Drop();
        return -1;
    }
    // No mailbox holds more than INT_MAX messages; a longer number stops there.
    return LeadingInt(std::string_view(m_strResponse).substr(first));
}

bool CPop3Connection::Quit() {
    if (!m_bConnected) return true;
    const bool ok = Command("QUIT\r\n", 6);
    Drop();
    return ok;
}

}  // namespace lumivar
