// IpAddress to and from the socket API's address structures, the name service over them and
// a connection to the first of a name's addresses that answers, for the system shells
// (Windows and POSIX lay these structures out alike). The portable core does not include it.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ports/Icmp.h"

namespace lumivar {

inline socklen_t ToSockaddr(const IpAddress& address, sockaddr_storage& to) {
    to = sockaddr_storage{};
    if (address.v6) {
        auto& in6 = reinterpret_cast<sockaddr_in6&>(to);
        in6.sin6_family = AF_INET6;
        std::memcpy(&in6.sin6_addr, address.bytes.data(), 16);
        return sizeof in6;
    }
    auto& in = reinterpret_cast<sockaddr_in&>(to);
    in.sin_family = AF_INET;
    std::memcpy(&in.sin_addr, address.bytes.data(), 4);
    return sizeof in;
}

inline bool ToIpAddress(const sockaddr* from, IpAddress& address) {
    address = IpAddress{};
    if (from->sa_family == AF_INET) {
        std::memcpy(address.bytes.data(), &reinterpret_cast<const sockaddr_in*>(from)->sin_addr, 4);
        return true;
    }
    if (from->sa_family != AF_INET6) return false;
    address.v6 = true;
    std::memcpy(address.bytes.data(), &reinterpret_cast<const sockaddr_in6*>(from)->sin6_addr, 16);
    return true;
}

// Every address of the name, of either family, in the order the system prefers them.
inline bool LookUpAll(const std::string& name, std::vector<IpAddress>& addresses) {
    addresses.clear();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_RAW;  // one entry per address
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return false;
    for (const addrinfo* a = found; a; a = a->ai_next) {
        IpAddress address;
        if (a->ai_addr && ToIpAddress(a->ai_addr, address)) addresses.push_back(address);
    }
    freeaddrinfo(found);
    return !addresses.empty();
}

// The name the address is registered under.
inline bool NameOf(const IpAddress& address, std::string& name) {
    sockaddr_storage from;
    const socklen_t size = ToSockaddr(address, from);
    char host[NI_MAXHOST];
    if (getnameinfo(reinterpret_cast<sockaddr*>(&from), size, host, sizeof host, nullptr, 0, NI_NAMEREQD) != 0)
        return false;
    name = host;
    return true;
}

// A stream connection to each address of host:port in turn, all within the one limit;
// connectTo(address, msLeft) gives a connected socket or none.
template <class Socket, class ConnectTo>
Socket ConnectFirst(const std::string& host, uint16_t port, int timeoutMs, Socket none, ConnectTo connectTo) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return none;
    Socket s = none;
    for (const addrinfo* a = found; a && s == none; a = a->ai_next) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        if (a->ai_family == AF_INET || a->ai_family == AF_INET6) s = connectTo(*a, int(left));
    }
    freeaddrinfo(found);
    return s;
}

}  // namespace lumivar
