// The system's ICMP echo and name service, for the host monitor.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumivar {

// An IPv4 or IPv6 address, its bytes in network order; an IPv4 address fills the first four.
struct IpAddress {
    bool v6 = false;
    std::array<uint8_t, 16> bytes{};
    friend auto operator<=>(const IpAddress&, const IpAddress&) = default;
};

// The first record of an ICMP echo reply, the fields the program reads.
struct EchoReply {
    uint32_t status = 0;         // the platform's IP status: 0, or 11000 and up
    uint32_t roundTripTime = 0;  // ms
    uint16_t dataSize = 0;
    uint8_t ttl = 0;
};

// One host check's hold on the system's ICMP library and name service. It is used on the
// check's own thread and may outlive the port that opened it.
class IEchoSession {
public:
    enum class State { Ready, NoLibrary, MissingFunctions, NoHandle };
    virtual ~IEchoSession() = default;
    virtual State GetState() const = 0;
    // Sends one echo and waits at most timeoutMs; reply keeps what it held when nothing was written.
    virtual void SendEcho(const IpAddress& address, const std::string& payload, uint32_t timeoutMs,
                          EchoReply& reply) = 0;
    virtual bool LocalHostName(std::string& name) = 0;  // gethostname
    // Every address of the name, of either family, in the order the system prefers them.
    virtual bool LookUp(const std::string& name, std::vector<IpAddress>& addresses) = 0;
    virtual bool ReverseLookUp(const IpAddress& address, std::string& name) = 0;  // the official name
};

class IIcmp {
public:
    virtual ~IIcmp() = default;
    virtual std::unique_ptr<IEchoSession> OpenEcho() = 0;  // never null; see its state
};

}  // namespace lumivar
