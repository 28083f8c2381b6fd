#include "net/Ping.h"

#include "base/Text.h"

#include <algorithm>
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

IpAddress AddressOf(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    IpAddress address;
    address.bytes[0] = a;
    address.bytes[1] = b;
    address.bytes[2] = c;
    address.bytes[3] = d;
    return address;
}

std::string AddressText(const IpAddress& address) {
    const auto& b = address.bytes;
    char text[48];
    if (!address.v6) {
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
        return text;
    }
    uint16_t groups[8];
    for (int i = 0; i < 8; ++i) groups[i] = uint16_t(b[2 * i] << 8 | b[2 * i + 1]);
    if (std::all_of(groups, groups + 5, [](uint16_t g) { return g == 0; }) && groups[5] == 0xFFFF) {
        std::snprintf(text, sizeof text, "::ffff:%u.%u.%u.%u", b[12], b[13], b[14], b[15]);
        return text;
    }
    // A single zero group is written out; the first of equally long runs is shortened.
    int bestStart = -1, bestLength = 1;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[j] == 0) ++j;
        if (j - i > bestLength) bestStart = i, bestLength = j - i;
        i = j > i ? j : i + 1;
    }
    std::string out;
    for (int i = 0; i < 8; ++i) {
        if (i == bestStart) {
            out += "::";
            i += bestLength - 1;
            continue;
        }
        if (!out.empty() && out.back() != ':') out += ':';
        std::snprintf(text, sizeof text, "%x", groups[i]);
        out += text;
    }
    return out;
}

bool ParseDotted(const std::string& text, IpAddress& address) {
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

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseIp6(const std::string& text, IpAddress& address) {
    uint16_t head[8], tail[8];
    int heads = 0, tails = 0;
    bool gap = false;
    size_t pos = 0;
    if (text.compare(0, 2, "::") == 0) {
        gap = true;
        pos = 2;
    }
    IpAddress quad;
    bool hasQuad = false;
    while (pos < text.size()) {
        if (heads + tails >= 8) return false;
        const size_t colon = text.find(':', pos);
        const std::string part = text.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
        if (colon == std::string::npos && part.find('.') != std::string::npos) {
            // An embedded IPv4 address ends the literal and fills the last two groups.
            if (heads + tails > 6 || !ParseDotted(part, quad)) return false;
            hasQuad = true;
            pos = text.size();
            break;
        }
        if (part.empty() || part.size() > 4) return false;
        unsigned value = 0;
        for (const char c : part) {
            const int digit = HexDigitValue(c);
            if (digit < 0) return false;
            value = value * 16 + unsigned(digit);
        }
        (gap ? tail[tails++] : head[heads++]) = uint16_t(value);
        if (colon == std::string::npos) {
            pos = text.size();
            break;
        }
        pos = colon + 1;
        if (pos < text.size() && text[pos] == ':') {
            if (gap) return false;
            gap = true;
            ++pos;
        } else if (pos == text.size()) {
            return false;  // a lone ':' at the end
        }
    }
    const int groups = heads + tails + (hasQuad ? 2 : 0);
    if (gap ? groups > 7 : groups != 8) return false;
    IpAddress out;
    out.v6 = true;
    for (int i = 0; i < heads; ++i) out.bytes[2 * i] = uint8_t(head[i] >> 8), out.bytes[2 * i + 1] = uint8_t(head[i]);
    const int tailStart = 8 - tails - (hasQuad ? 2 : 0);
    for (int i = 0; i < tails; ++i) {
        out.bytes[2 * (tailStart + i)] = uint8_t(tail[i] >> 8);
        out.bytes[2 * (tailStart + i) + 1] = uint8_t(tail[i]);
    }
    if (hasQuad) std::copy(quad.bytes.begin(), quad.bytes.begin() + 4, out.bytes.begin() + 12);
    address = out;
    return true;
}

}  // namespace

bool ParseAddress(const std::string& text, IpAddress& address) {
    return ParseDotted(text, address) || ParseIp6(text, address);
}

CPing::CPing(std::unique_ptr<IEchoSession> session) : m_session(std::move(session)) {
    if (!m_session) return;
    const IEchoSession::State state = m_session->GetState();
    m_bValid = state == IEchoSession::State::Ready;
    m_bLibraryError = state == IEchoSession::State::MissingFunctions;
}

void CPing::Aim(size_t index) {
    m_nCurrent = index;
    m_strTargetAddress = AddressText(m_addresses[index]);
}

bool CPing::Resolve(const std::string& name) {
    m_addresses.clear();
    m_nCurrent = 0;
    if (EqualsNoCase(name, "localhost") || name == "127.0.0.1") {
        m_strTargetAddress = "127.0.0.1";
        m_addresses = {AddressOf(127, 0, 0, 1)};
        std::string computer;
        m_strTargetName = m_session && m_session->LocalHostName(computer) && !computer.empty() ? computer : "LOCALHOST";
        return true;
    }
    m_strTargetAddress = "0.0.0.0";
    m_strTargetName = "UnknownHost";
    if (!m_session) return false;

    IpAddress address;
    std::string literal = name;
    if (literal.size() > 2 && literal.front() == '[' && literal.back() == ']') literal = literal.substr(1, literal.size() - 2);
    if ((literal == name && ParseDotted(name, address)) || (ParseAddress(literal, address) && address.v6)) {
        m_addresses = {address};
        m_strTargetAddress = literal;  // as given
        std::string official;
        if (m_session->ReverseLookUp(address, official) && !official.empty()) m_strTargetName = official;
        return true;
    }
    std::vector<IpAddress> found;
    if (!m_session->LookUp(name, found) || found.empty()) return false;
    m_addresses = std::move(found);
    Aim(0);
    m_strTargetName = name;
    return true;
}

bool CPing::Ping(int size, uint32_t timeoutMs, std::string& text) {
    text.clear();
    if (!m_bValid) {
        text = "Socket error!";
        return false;
    }
    EchoReply reply;
    if (m_addresses.empty()) {
        reply.status = kIpBadDestination;
        return DescribeReply(reply, text);
    }
    if (size < 0) size = 0;
    if (size > kMaxPayload) size = kMaxPayload;
    reply.roundTripTime = kNoReplyTime;
    m_session->SendEcho(m_addresses[m_nCurrent], std::string(size_t(size), 'G'), timeoutMs, reply);
    const bool answered = DescribeReply(reply, text);
    if (!answered && m_addresses.size() > 1) Aim((m_nCurrent + 1) % m_addresses.size());
    return answered;
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
