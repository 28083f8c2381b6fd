#include "LoopbackPeer.h"

namespace lumivar {

LoopbackPeer::LoopbackPeer(std::function<void(SOCKET)> serve) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{AF_INET};
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof a;
    bind(m_listener, reinterpret_cast<sockaddr*>(&a), size);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
    m_port = ntohs(a.sin_port);
    listen(m_listener, 1);
    m_thread = std::thread([this, serve] {
        const SOCKET c = accept(m_listener, nullptr, nullptr);
        if (c == INVALID_SOCKET) return;
        serve(c);
        closesocket(c);
    });
}

LoopbackPeer::~LoopbackPeer() {
    closesocket(m_listener);  // ends an accept that nobody answered
    Wait();
    WSACleanup();
}

std::string ReadLine(SOCKET s) {
    std::string line;
    char ch;
    while (recv(s, &ch, 1, 0) == 1 && ch != '\n') line += ch;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace lumivar
