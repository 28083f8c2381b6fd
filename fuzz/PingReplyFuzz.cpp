// DescribeReply on any echo reply and target, and addresses of both families both ways.
#include <cstdint>
#include <cstring>
#include <string>

#include "Check.h"
#include "net/Ping.h"

using namespace lumivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EchoReply reply;
    const size_t head = 4 + 4 + 2 + 1;
    if (size < 17 + head) return 0;
    IpAddress given;
    given.v6 = data[0] & 1;
    std::memcpy(given.bytes.data(), data + 1, given.v6 ? 16 : 4);
    data += 17;
    size -= 17;
    std::memcpy(&reply.status, data, 4);
    std::memcpy(&reply.roundTripTime, data + 4, 4);
    std::memcpy(&reply.dataSize, data + 8, 2);
    reply.ttl = data[10];
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

    IpAddress address;
    FUZZ_CHECK(ParseAddress(AddressText(given), address) && address == given);
    if (ParseAddress(rest, address)) {
        IpAddress again;
        FUZZ_CHECK(ParseAddress(AddressText(address), again) && again == address);
    }
    return 0;
}
