// Echoes through the ICMP library, loaded at run time: "ICMP.DLL" where the system has it,
// else the same three functions of iphlpapi.dll, which later systems keep them in. IPv6
// echoes need iphlpapi's Icmp6 functions; a system without them cannot reach IPv6 hosts.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <ipexport.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "net/SystemIcmp.h"
#include "ports/SocketAddress.h"

namespace lumivar {

namespace {

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using Icmp6SendEcho2Fn = DWORD(WINAPI*)(HANDLE, HANDLE, FARPROC, PVOID, sockaddr_in6*, sockaddr_in6*, LPVOID, WORD,
                                        PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);

// The system packs the address of an IPv6 reply; the headers at hand do not.
#pragma pack(push, 1)
struct Ip6AddressEx {
    USHORT port;
    ULONG flowInfo;
    USHORT address[8];
    ULONG scopeId;
};
#pragma pack(pop)
struct Icmp6EchoReply {
    Ip6AddressEx address;
    ULONG status;
    unsigned int roundTripTime;
};
static_assert(offsetof(Icmp6EchoReply, status) == 28 && sizeof(Icmp6EchoReply) == 36);

constexpr DWORD kGeneralFailure = 11050;

template <class Fn>
Fn Proc(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Room for the first record, the largest payload and the error data the library asks for.
constexpr DWORD kReplyBufferSize = sizeof(ICMP_ECHO_REPLY) + 8192 + 8;
// The IPv6 call also wants room for an IO_STATUS_BLOCK, two pointers wide.
constexpr DWORD kReply6BufferSize = sizeof(Icmp6EchoReply) + 8192 + 8 + 2 * sizeof(void*);

class Win32EchoSession : public IEchoSession {
public:
    Win32EchoSession() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return;
        if (data.wVersion != MAKEWORD(1, 1)) {
            WSACleanup();
            return;
        }
        m_bWinsock = true;
        m_hDll = LoadLibraryA("ICMP.DLL");
        if (!m_hDll) m_hDll = LoadLibraryA("iphlpapi.dll");
        if (!m_hDll) return;
        m_create = Proc<IcmpCreateFileFn>(m_hDll, "IcmpCreateFile");
        m_send = Proc<IcmpSendEchoFn>(m_hDll, "IcmpSendEcho");
        m_close = Proc<IcmpCloseHandleFn>(m_hDll, "IcmpCloseHandle");
        if (!m_create || !m_send || !m_close) {
            FreeLibrary(m_hDll);
            m_hDll = nullptr;
            m_state = State::MissingFunctions;
            return;
        }
        m_state = State::NoHandle;
        m_hIcmp = m_create();
        if (m_hIcmp != INVALID_HANDLE_VALUE) m_state = State::Ready;
    }

    ~Win32EchoSession() override {
        if (m_hIcmp != INVALID_HANDLE_VALUE) m_close(m_hIcmp);
        if (m_hIcmp6 != INVALID_HANDLE_VALUE) m_close6(m_hIcmp6);
        if (m_hIcmp6Dll) FreeLibrary(m_hIcmp6Dll);
        if (m_hDll) FreeLibrary(m_hDll);
        if (m_bWinsock) WSACleanup();
    }

    State GetState() const override { return m_state; }

    void SendEcho(const IpAddress& address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) override {
        if (m_state != State::Ready) return;
        std::string data = payload;
        if (address.v6) return SendEcho6(address, data, timeoutMs, reply);
        std::vector<char> buffer(kReplyBufferSize, 0);
        auto* first = reinterpret_cast<ICMP_ECHO_REPLY*>(buffer.data());
        first->RoundTripTime = reply.roundTripTime;  // stays as preset when nothing is written
        IPAddr to;
        std::memcpy(&to, address.bytes.data(), 4);
        m_send(m_hIcmp, to, data.data(), WORD(data.size()), nullptr, buffer.data(), DWORD(buffer.size()), timeoutMs);
        reply.status = first->Status;
        reply.roundTripTime = first->RoundTripTime;
        reply.dataSize = first->DataSize;
        reply.ttl = first->Options.Ttl;
    }

    bool LocalHostName(std::string& name) override {
        char buffer[255] = {};
        if (!m_bWinsock || gethostname(buffer, sizeof buffer) != 0) return false;
        name.assign(buffer, strnlen(buffer, sizeof buffer));
        return true;
    }

    bool LookUp(const std::string& name, std::vector<IpAddress>& addresses) override {
        addresses.clear();
        return m_bWinsock && LookUpAll(name, addresses);
    }

    bool ReverseLookUp(const IpAddress& address, std::string& name) override {
        return m_bWinsock && NameOf(address, name);
    }

private:
    // iphlpapi's IPv6 echo, opened at the first IPv6 address.
    void SendEcho6(const IpAddress& address, std::string& data, uint32_t timeoutMs, EchoReply& reply) {
        if (!m_bTriedIcmp6) {
            m_bTriedIcmp6 = true;
            m_hIcmp6Dll = LoadLibraryA("iphlpapi.dll");
            auto create = Proc<IcmpCreateFileFn>(m_hIcmp6Dll, "Icmp6CreateFile");
            m_send6 = Proc<Icmp6SendEcho2Fn>(m_hIcmp6Dll, "Icmp6SendEcho2");
            m_close6 = Proc<IcmpCloseHandleFn>(m_hIcmp6Dll, "IcmpCloseHandle");
            if (create && m_send6 && m_close6) m_hIcmp6 = create();
        }
        if (m_hIcmp6 == INVALID_HANDLE_VALUE || !m_send6) {
            reply.status = kGeneralFailure;
            return;
        }
        sockaddr_in6 from{};
        from.sin6_family = AF_INET6;
        sockaddr_storage to;
        ToSockaddr(address, to);
        std::vector<char> buffer(kReply6BufferSize, 0);
        const DWORD replies = m_send6(m_hIcmp6, nullptr, nullptr, nullptr, &from, reinterpret_cast<sockaddr_in6*>(&to), data.data(), WORD(data.size()),
                                      nullptr, buffer.data(), DWORD(buffer.size()), timeoutMs);
        if (replies == 0) {
            const DWORD error = GetLastError();
            reply.status = error >= 11000 ? error : kGeneralFailure;
            return;
        }
        Icmp6EchoReply first;
        std::memcpy(&first, buffer.data(), sizeof first);
        reply.status = first.status;
        reply.roundTripTime = first.roundTripTime;
        reply.dataSize = WORD(data.size());  // the record has no size; an echo returns what it was sent
        reply.ttl = 0;                       // nor the hop limit
    }

    State m_state = State::NoLibrary;
    bool m_bWinsock = false;
    HMODULE m_hDll = nullptr;
    HANDLE m_hIcmp = INVALID_HANDLE_VALUE;
    IcmpCreateFileFn m_create = nullptr;
    IcmpSendEchoFn m_send = nullptr;
    IcmpCloseHandleFn m_close = nullptr;
    bool m_bTriedIcmp6 = false;
    HMODULE m_hIcmp6Dll = nullptr;
    HANDLE m_hIcmp6 = INVALID_HANDLE_VALUE;
    Icmp6SendEcho2Fn m_send6 = nullptr;
    IcmpCloseHandleFn m_close6 = nullptr;
};

}  // namespace

std::unique_ptr<IEchoSession> CSystemIcmp::OpenEcho() { return std::make_unique<Win32EchoSession>(); }

}  // namespace lumivar
