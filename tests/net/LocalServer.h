// A TCP peer on 127.0.0.1 for the network tests, native and under Wine: it accepts one
// connection at a time and plays a script against it.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace lumivar::test {

#ifdef _WIN32
using Socket = SOCKET;
inline void CloseSocket(Socket s) { closesocket(s); }
constexpr int kSendFlags = 0;
#else
using Socket = int;
inline void CloseSocket(Socket s) { close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL;
#endif

class LocalServer {
public:
    // The script gets the accepted connection; it returns when it is done with it.
    explicit LocalServer(std::function<void(Socket client)> script) {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        bind(m_listener, reinterpret_cast<sockaddr*>(&a), size);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &size);
        m_port = ntohs(a.sin_port);
        listen(m_listener, 4);
        m_thread = std::thread([this, script] {
            for (Socket client; (client = accept(m_listener, nullptr, nullptr)) != Socket(-1); CloseSocket(client))
                script(client);
        });
    }
    ~LocalServer() {
        Stop();
#ifdef _WIN32
        WSACleanup();
#endif
    }
    // Waits for the conversation in progress, then accepts no more.
    void Stop() {
        if (!m_thread.joinable()) return;
        shutdown(m_listener, 2);  // ends the accept loop
        CloseSocket(m_listener);
        m_thread.join();
    }
    uint16_t Port() const { return m_port; }

    static void Send(Socket client, const std::string& bytes) { send(client, bytes.data(), int(bytes.size()), kSendFlags); }
    // Up to and without CR LF; empty when closed.
    static std::string ReadLine(Socket client) {
        std::string line;
        for (char c; recv(client, &c, 1, 0) == 1;) {
            if (c == '\n' && line.ends_with('\r')) return line.substr(0, line.size() - 1);
            line += c;
        }
        return {};
    }
    // A request up to its empty line: its lines, each ended by "\n".
    static std::string ReadRequest(Socket client) {
        std::string lines;
        for (std::string line = ReadLine(client); !line.empty(); line = ReadLine(client)) lines += line + "\n";
        return lines;
    }

private:
    Socket m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};

}  // namespace lumivar::test
