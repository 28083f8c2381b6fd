// One host's ICMP echo: resolve its name, send echoes, describe the replies. Built for one
// check and dropped at its end; the echoes themselves go through the system's ICMP session.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ports/Icmp.h"

namespace lumivar {

inline constexpr uint32_t kIpReqTimedOut = 11010;
inline constexpr uint32_t kIpBadDestination = 11018;

IpAddress AddressOf(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
// The dotted quad, or the short IPv6 form: lower case, the longest run of zero groups as "::".
std::string AddressText(const IpAddress& address);
// A dotted quad of four decimal numbers 0..255, nothing else.
bool ParseDotted(const std::string& text, IpAddress& address);
// A dotted quad or an IPv6 literal without brackets or zone.
bool ParseAddress(const std::string& text, IpAddress& address);

class CPing {
public:
    explicit CPing(std::unique_ptr<IEchoSession> session);
    CPing(const CPing&) = delete;
    CPing& operator=(const CPing&) = delete;

    // A name, a dotted quad, or an IPv6 literal with or without brackets.
    bool Resolve(const std::string& name);
    // One echo to the current address; when it fails, the next echo goes to the name's next address.
    bool Ping(int size, uint32_t timeoutMs, std::string& text);
    bool DescribeReply(const EchoReply& reply, std::string& text);
    // The text of an IP status from 11000 to 11022; null for any other.
    static const char* StatusText(uint32_t status);

    static constexpr int kMaxPayload = 8192;

    int m_bValid = 0;
    // The library lacks one of its three functions: the user is told "error".
    int m_bLibraryError = 0;
    std::string m_strTargetName = "UnknownHost";
    std::string m_strTargetAddress = "0.0.0.0";
    std::vector<IpAddress> m_addresses;  // empty until a name resolves
    size_t m_nCurrent = 0;

private:
    void Aim(size_t index);
    std::unique_ptr<IEchoSession> m_session;
};

}  // namespace lumivar
