// Echoes over a datagram ICMP socket ("ping socket"), where the system grants them to this
// user's group (net.ipv4.ping_group_range); otherwise over a raw socket, which needs the right.
// IPv6 has a socket of its own, opened at the first IPv6 address.
#include <arpa/inet.h>
#include <netinet/icmp6.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip6.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "net/SystemIcmp.h"
#include "ports/SocketAddress.h"

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

uint32_t Unreachable6Status(int code) {
    switch (code) {
    case ICMP6_DST_UNREACH_NOROUTE: return kDestNetUnreachable;
    case ICMP6_DST_UNREACH_NOPORT: return kDestPortUnreachable;
    default: return kDestHostUnreachable;
    }
}

uint32_t SendErrorStatus(int error) {
    return error == ENETUNREACH ? kDestNetUnreachable : error == EHOSTUNREACH ? kDestHostUnreachable : kGeneralFailure;
}

// One family's socket: a ping socket, else a raw one.
struct EchoSocket {
    int fd = -1;
    bool raw = false;
    bool v6 = false;

    void Open(bool ip6) {
        v6 = ip6;
        const int family = v6 ? AF_INET6 : AF_INET, protocol = v6 ? int(IPPROTO_ICMPV6) : int(IPPROTO_ICMP);
        fd = socket(family, SOCK_DGRAM, protocol);
        if (fd < 0) {
            fd = socket(family, SOCK_RAW, protocol);
            raw = fd >= 0;
        }
        if (fd < 0) return;
        const int on = 1;
        if (v6)
            setsockopt(fd, IPPROTO_IPV6, IPV6_RECVHOPLIMIT, &on, sizeof on);
        else
            setsockopt(fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
    }
    ~EchoSocket() {
        if (fd >= 0) close(fd);
    }
};

class PosixEchoSession : public IEchoSession {
public:
    PosixEchoSession() {
        m_v4.Open(false);
        if (m_v4.fd >= 0) m_state = State::Ready;
    }
    State GetState() const override { return m_state; }

    void SendEcho(const IpAddress& address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) override {
        if (address.v6 && !m_bTriedV6) {
            m_bTriedV6 = true;
            m_v6.Open(true);
        }
        const EchoSocket& s = address.v6 ? m_v6 : m_v4;
        if (s.fd < 0) {
            reply.status = kGeneralFailure;
            return;
        }
        const uint16_t id = uint16_t(getpid()), seq = ++m_sequence;
        // The echo header is laid out alike in both families; the system sums an ICMPv6 packet itself.
        std::vector<unsigned char> packet(sizeof(icmphdr) + payload.size());
        icmphdr header{};
        header.type = s.v6 ? ICMP6_ECHO_REQUEST : ICMP_ECHO;
        header.un.echo.id = htons(id);
        header.un.echo.sequence = htons(seq);
        std::memcpy(packet.data(), &header, sizeof header);
        std::memcpy(packet.data() + sizeof header, payload.data(), payload.size());
        if (!s.v6) {
            const uint16_t sum = Checksum(packet.data(), packet.size());
            std::memcpy(packet.data() + offsetof(icmphdr, checksum), &sum, 2);
        }

        sockaddr_storage to;
        const socklen_t toSize = ToSockaddr(address, to);
        const auto start = std::chrono::steady_clock::now();
        if (sendto(s.fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), toSize) < 0) {
            reply.status = SendErrorStatus(errno);
            return;
        }
        const auto deadline = start + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd p{s.fd, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0) {
                reply.status = kTimedOut;
                return;
            }
            unsigned char buffer[65536];
            alignas(cmsghdr) char control[64];
            iovec io{buffer, sizeof buffer};
            msghdr msg{};
            msg.msg_iov = &io;
            msg.msg_iovlen = 1;
            msg.msg_control = control;
            msg.msg_controllen = sizeof control;
            const ssize_t got = recvmsg(s.fd, &msg, 0);
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN) continue;
                reply.status = SendErrorStatus(errno);
                return;
            }
            // Only a raw IPv4 socket hands over the IP header.
            size_t offset = 0;
            int ttl = -1;
            if (s.raw && !s.v6) {
                if (size_t(got) < sizeof(iphdr)) continue;
                offset = size_t(buffer[0] & 0x0F) * 4;
                ttl = buffer[8];
            }
            for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
                if ((c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL) ||
                    (c->cmsg_level == IPPROTO_IPV6 && c->cmsg_type == IPV6_HOPLIMIT))
                    std::memcpy(&ttl, CMSG_DATA(c), sizeof ttl);
            if (size_t(got) < offset + sizeof(icmphdr)) continue;
            icmphdr in;
            std::memcpy(&in, buffer + offset, sizeof in);
            const bool unreachable = s.v6 ? in.type == ICMP6_DST_UNREACH : in.type == ICMP_DEST_UNREACH;
            const bool expired = s.v6 ? in.type == ICMP6_TIME_EXCEEDED : in.type == ICMP_TIME_EXCEEDED;
            if (unreachable || expired) {
                // Only errors about our own request: its copy follows, IP header first.
                const size_t inner = offset + sizeof(icmphdr);
                if (size_t(got) < inner + (s.v6 ? sizeof(ip6_hdr) : sizeof(iphdr))) continue;
                const size_t echo = inner + (s.v6 ? sizeof(ip6_hdr) : size_t(buffer[inner] & 0x0F) * 4);
                icmphdr sent;
                if (size_t(got) < echo + sizeof sent) continue;
                std::memcpy(&sent, buffer + echo, sizeof sent);
                if (sent.type != header.type || ntohs(sent.un.echo.sequence) != seq) continue;
                reply.status = expired ? kTtlExpiredTransit : s.v6 ? Unreachable6Status(in.code) : UnreachableStatus(in.code);
                return;
            }
            // A raw socket also sees the requests to this machine, and other programs' replies.
            const int echoReply = s.v6 ? ICMP6_ECHO_REPLY : ICMP_ECHOREPLY;
            if (in.type != echoReply || ntohs(in.un.echo.sequence) != seq) continue;
            if (s.raw && ntohs(in.un.echo.id) != id) continue;
            reply.status = 0;
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

    bool LookUp(const std::string& name, std::vector<IpAddress>& addresses) override {
        return LookUpAll(name, addresses);
    }
    bool ReverseLookUp(const IpAddress& address, std::string& name) override { return NameOf(address, name); }

private:
    State m_state = State::NoHandle;
    EchoSocket m_v4, m_v6;
    bool m_bTriedV6 = false;
    uint16_t m_sequence = 0;
};

}  // namespace

std::unique_ptr<IEchoSession> CSystemIcmp::OpenEcho() { return std::make_unique<PosixEchoSession>(); }

}  // namespace lumivar
