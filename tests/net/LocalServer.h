// A TCP peer on 127.0.0.1 for the network tests: it accepts one connection at a time and
// plays a script against it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace lumivar::test {

class LocalServer {
public:
    // The script gets the accepted connection; it returns when it is done with it.
    explicit LocalServer(std::function<void(int client)> script);
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;
    uint16_t Port() const { return m_port; }

    static void Send(int client, const std::string& bytes);
    static std::string ReadLine(int client);  // up to and without CR LF; empty when closed

private:
    int m_listener = -1;
    uint16_t m_port = 0;
    std::thread m_thread;
};

}  // namespace lumivar::test
