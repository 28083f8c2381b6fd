#include "net/Ping.h"

#include "base/Text.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace lumivar {

namespace {

constexpr const char* kStatusTexts[] = {
    "OK", "Buffer too small", "Dest Net Unreachable", "Dest Host Unreachable", "Dest Prot Unreachable",
    "Dest Port Unreachable", "No Resources", "Bad IP Option", "Hardware Error", "Packet Too Big",
    "Request Timed Out", "Bad Request", "Bad Route", "TTL Expired Transit", "TTL Expired Re-Assembly",
    "Parameter Problem", "Source Quench", "Option Too Large", "Bad Destination", "Address Deleted",
    "Spec MTU Change", "MTU Change", "Unload",
};
constexpr uint32_t kFirstStatus = 11000;
constexpr uint32_t kNoReplyTime = 0xFFFFFFFF;

}  // namespace

uint32_t AddressOf(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    const uint8_t bytes[4] = {a, b, c, d};
    uint32_t address;
    std::memcpy(&address, bytes, 4);
    return address;
}

std::string DottedAddress(uint32_t address) {
    uint8_t b[4];
    std::memcpy(b, &address, 4);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return text;
}

bool ParseDotted(const std::string& text, uint32_t& address) {
    uint8_t parts[4];
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') return false;
            ++pos;
        }
        int value = 0, digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
            value = value * 10 + (text[pos++] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        parts[i] = uint8_t(value);
    }
    if (pos != text.size()) return false;
    address = AddressOf(parts[0], parts[1], parts[2], parts[3]);
    return true;
}

CPing::CPing(std::unique_ptr<IEchoSession> session) : m_session(std::move(session)) {
    if (!m_session) return;
    const IEchoSession::State state = m_session->GetState();
    m_bValid = state == IEchoSession::State::Ready;
    m_bLibraryError = state == IEchoSession::State::MissingFunctions;
}

bool CPing::Resolve(const std::string& name) {
    if (EqualsNoCase(name, "localhost") || name == "127.0.0.1") {
        m_strTargetAddress = "127.0.0.1";
        m_dwTargetAddress = AddressOf(127, 0, 0, 1);
        std::string computer;
        m_strTargetName = m_session && m_session->LocalHostName(computer) && !computer.empty() ? computer : "LOCALHOST";
        return true;
    }
    m_strTargetAddress = "0.0.0.0";
    m_strTargetName = "UnknownHost";
    m_dwTargetAddress = kInaddrNone;
    if (!m_session) return false;

    uint32_t address;
    if (ParseDotted(name, address)) {
        m_dwTargetAddress = address;
        m_strTargetAddress = name;
        std::string official;
        if (m_session->ReverseLookUp(address, official) && !official.empty()) m_strTargetName = official;
        return true;
    }
    if (!m_session->LookUp(name, address)) return false;
    m_dwTargetAddress = address;
    m_strTargetAddress = DottedAddress(address);
    m_strTargetName = name;
    return true;
}

bool CPing::Ping(int size, uint32_t timeoutMs, std::string& text) {
    text.clear();
    if (!m_bValid) {
        text = "Socket error!";
        return false;
    }
    if (size < 0) size = 0;
    if (size > kMaxPayload) size = kMaxPayload;
    EchoReply reply;
    reply.roundTripTime = kNoReplyTime;
    m_session->SendEcho(m_dwTargetAddress, std::string(size_t(size), 'G'), timeoutMs, reply);
    return DescribeReply(reply, text);
}

const char* CPing::StatusText(uint32_t status) {
    if (status < kFirstStatus || status >= kFirstStatus + std::size(kStatusTexts)) return nullptr;
    return kStatusTexts[status - kFirstStatus];
}

bool CPing::DescribeReply(const EchoReply& reply, std::string& text) {
    char line[400];
    if (reply.status == kIpReqTimedOut) {
        text += "Request Timed Out";
        return false;
    }
    if (const char* status = StatusText(reply.status)) {
        std::snprintf(line, sizeof line, "Ping: Error - Status = %ld %s", long(reply.status), status);
    } else if (reply.status != 0) {
        std::snprintf(line, sizeof line, "Ping: Error - Status = %ld", long(reply.status));
    } else if (reply.roundTripTime == kNoReplyTime) {
        std::snprintf(line, sizeof line, "Reply from %s [%s] Time Out", m_strTargetAddress.c_str(),
                      m_strTargetName.c_str());
    } else {
        std::snprintf(line, sizeof line, "Reply from %s [%s] Time %ld ms TTL %u Size %u", m_strTargetAddress.c_str(),
                      m_strTargetName.c_str(), long(reply.roundTripTime), unsigned(reply.ttl),
                      unsigned(reply.dataSize));
        text += line;
        return true;
    }
    text += line;
    return false;
}

}  // namespace lumivar
