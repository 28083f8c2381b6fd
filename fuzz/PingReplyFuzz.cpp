// DescribeReply on any echo reply and target, and dotted addresses both ways.
#include <cstdint>
#include <cstring>
#include <string>

#include "Check.h"
#include "net/Ping.h"

using namespace lumivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EchoReply reply;
    const size_t head = 4 + 4 + 4 + 2 + 1;
    if (size < head) return 0;
    std::memcpy(&reply.address, data, 4);
    std::memcpy(&reply.status, data + 4, 4);
    std::memcpy(&reply.roundTripTime, data + 8, 4);
    std::memcpy(&reply.dataSize, data + 12, 2);
    reply.ttl = data[14];
    const std::string rest(reinterpret_cast<const char*>(data) + head, size - head);

    CPing ping(nullptr);
    ping.m_strTargetName = rest.substr(0, rest.find('\0'));
    ping.m_strTargetAddress = rest.substr(ping.m_strTargetName.size());
    std::string text = "kept|";
    const bool ok = ping.DescribeReply(reply, text);
    FUZZ_CHECK(text.rfind("kept|", 0) == 0 && text.size() > 5 && text.size() < 5 + 400);
    FUZZ_CHECK(ok == (reply.status == 0 && reply.roundTripTime != 0xFFFFFFFF));
    if (const char* status = CPing::StatusText(reply.status))
        FUZZ_CHECK(reply.status == kIpReqTimedOut || text.find(status) != std::string::npos);

    uint32_t address = 0;
    FUZZ_CHECK(ParseDotted(DottedAddress(reply.address), address) && address == reply.address);
    if (ParseDotted(rest, address)) FUZZ_CHECK(DottedAddress(address).size() <= rest.size());
    return 0;
}
