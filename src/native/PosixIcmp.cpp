// Echoes over a datagram ICMP socket ("ping socket"), where the system grants them to this
// user's group (net.ipv4.ping_group_range); otherwise over a raw socket, which needs the right.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "net/SystemIcmp.h"

namespace lumivar {

namespace {

constexpr uint32_t kDestNetUnreachable = 11002, kDestHostUnreachable = 11003, kDestProtUnreachable = 11004,
                   kDestPortUnreachable = 11005, kTimedOut = 11010, kTtlExpiredTransit = 11013,
                   kGeneralFailure = 11050;

uint16_t Checksum(const unsigned char* data, size_t size) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < size; i += 2) sum += uint32_t(data[i]) << 8 | data[i + 1];
    if (size & 1) sum += uint32_t(data[size - 1]) << 8;
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return htons(uint16_t(~sum));
}

uint32_t UnreachableStatus(int code) {
    switch (code) {
    case 0: return kDestNetUnreachable;
    case 2: return kDestProtUnreachable;
    case 3: return kDestPortUnreachable;
    default: return kDestHostUnreachable;
    }
}

class PosixEchoSession : public IEchoSession {
public:
    PosixEchoSession() {
        m_fd = socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
        if (m_fd < 0) {
            m_fd = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
            m_raw = m_fd >= 0;
        }
        if (m_fd < 0) return;
        const int on = 1;
        setsockopt(m_fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
        m_state = State::Ready;
    }
    ~PosixEchoSession() override {
        if (m_fd >= 0) close(m_fd);
    }
    State GetState() const override { return m_state; }

    void SendEcho(uint32_t address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) override {
        if (m_fd < 0) return;
        const uint16_t id = uint16_t(getpid()), seq = ++m_sequence;
        std::vector<unsigned char> packet(sizeof(icmphdr) + payload.size());
        icmphdr header{};
        header.type = ICMP_ECHO;
        header.un.echo.id = htons(id);
        header.un.echo.sequence = htons(seq);
        std::memcpy(packet.data(), &header, sizeof header);
        std::memcpy(packet.data() + sizeof header, payload.data(), payload.size());
        const uint16_t sum = Checksum(packet.data(), packet.size());
        std::memcpy(packet.data() + offsetof(icmphdr, checksum), &sum, 2);

        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = address;
        const auto start = std::chrono::steady_clock::now();
        if (sendto(m_fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
            reply.status = errno == ENETUNREACH ? kDestNetUnreachable
                         : errno == EHOSTUNREACH ? kDestHostUnreachable : kGeneralFailure;
            return;
        }
        const auto deadline = start + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{m_fd, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) {
                reply.status = kTimedOut;
                return;
            }
            unsigned char buffer[65536];
            char control[64];
            iovec io{buffer, sizeof buffer};
            msghdr msg{};
            msg.msg_iov = &io;
            msg.msg_iovlen = 1;
            msg.msg_control = control;
            msg.msg_controllen = sizeof control;
            const ssize_t got = recvmsg(m_fd, &msg, 0);
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN) continue;
                reply.status = errno == ENETUNREACH ? kDestNetUnreachable
                             : errno == EHOSTUNREACH ? kDestHostUnreachable : kGeneralFailure;
                return;
            }
            size_t offset = 0;
            int ttl = -1;
            if (m_raw) {
                if (size_t(got) < sizeof(iphdr)) continue;
                offset = size_t(buffer[0] & 0x0F) * 4;
                ttl = buffer[8];
            }
            for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
                if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL) std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
            if (size_t(got) < offset + sizeof(icmphdr)) continue;
            icmphdr in;
            std::memcpy(&in, buffer + offset, sizeof in);
            if (in.type == ICMP_DEST_UNREACH || in.type == ICMP_TIME_EXCEEDED) {
                // Only errors about our own request: its copy follows, IP header first.
                const size_t inner = offset + sizeof(icmphdr);
                if (size_t(got) < inner + sizeof(iphdr)) continue;
                const size_t echo = inner + size_t(buffer[inner] & 0x0F) * 4;
                icmphdr sent;
                if (size_t(got) < echo + sizeof sent) continue;
                std::memcpy(&sent, buffer + echo, sizeof sent);
                if (sent.type != ICMP_ECHO || ntohs(sent.un.echo.sequence) != seq) continue;
                reply.status = in.type == ICMP_TIME_EXCEEDED ? kTtlExpiredTransit : UnreachableStatus(in.code);
                return;
            }
            // A raw socket also sees the requests to this machine, and other programs' replies.
            if (in.type != ICMP_ECHOREPLY || ntohs(in.un.echo.sequence) != seq) continue;
            if (m_raw && ntohs(in.un.echo.id) != id) continue;
            reply.status = 0;
            reply.address = address;
            reply.roundTripTime = uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now() - start).count());
            reply.dataSize = uint16_t(size_t(got) - offset - sizeof(icmphdr));
            reply.ttl = uint8_t(ttl < 0 ? 0 : ttl);
            return;
        }
    }

    bool LocalHostName(std::string& name) override {
        char buffer[256] = {};
        if (gethostname(buffer, 255) != 0) return false;
        name = buffer;
        return true;
    }

    bool LookUp(const std::string& name, uint32_t& address) override {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
        address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
        freeaddrinfo(found);
        return true;
    }

    bool ReverseLookUp(uint32_t address, std::string& name) override {
        sockaddr_in in{};
        in.sin_family = AF_INET;
        in.sin_addr.s_addr = address;
        char host[NI_MAXHOST];
        if (getnameinfo(reinterpret_cast<sockaddr*>(&in), sizeof in, host, sizeof host, nullptr, 0, NI_NAMEREQD) != 0)
            return false;
        name = host;
        return true;
    }

private:
    State m_state = State::NoHandle;
    int m_fd = -1;
    bool m_raw = false;
    uint16_t m_sequence = 0;
};

}  // namespace

std::unique_ptr<IEchoSession> CSystemIcmp::OpenEcho() { return std::make_unique<PosixEchoSession>(); }

}  // namespace lumivar
