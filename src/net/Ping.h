// One host's ICMP echo: resolve its name, send echoes, describe the replies. Built for one
// check and dropped at its end; the echoes themselves go through the system's ICMP session.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ports/Icmp.h"

namespace lumivar {

inline constexpr uint32_t kInaddrNone = 0xFFFFFFFF;
inline constexpr uint32_t kIpReqTimedOut = 11010;

// Addresses are kept in network byte order, as the ICMP library takes them.
uint32_t AddressOf(uint8_t a, uint8_t b, uint8_t c, uint8_t d);
std::string DottedAddress(uint32_t address);
// A dotted quad of four decimal numbers 0..255, nothing else.
bool ParseDotted(const std::string& text, uint32_t& address);

class CPing {
public:
    explicit CPing(std::unique_ptr<IEchoSession> session);
    CPing(const CPing&) = delete;
    CPing& operator=(const CPing&) = delete;

    bool Resolve(const std::string& name);
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
    uint32_t m_dwTargetAddress = kInaddrNone;

private:
    std::unique_ptr<IEchoSession> m_session;
};

}  // namespace lumivar
