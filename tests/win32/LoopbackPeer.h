// A peer on 127.0.0.1 for the Winsock tests: one connection, served on a thread of its own.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace lumivar {

class LoopbackPeer {
public:
    explicit LoopbackPeer(std::function<void(SOCKET)> serve);
    ~LoopbackPeer();
    uint16_t Port() const { return m_port; }
    void Wait() {  // until the conversation is over, so that what it heard may be read
        if (m_thread.joinable()) m_thread.join();
    }

private:
    SOCKET m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};

// One line without its line break; what came before the other side hung up if no break came.
std::string ReadLine(SOCKET s);
inline void Send(SOCKET s, const std::string& bytes) { send(s, bytes.data(), int(bytes.size()), 0); }

}  // namespace lumivar
