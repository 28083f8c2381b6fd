// Echoes through the ICMP library, loaded at run time: "ICMP.DLL" where the system has it,
// else the same three functions of iphlpapi.dll, which later systems keep them in.
#include <winsock2.h>
#include <windows.h>
#include <ipexport.h>

#include <vector>

#include "net/SystemIcmp.h"

namespace lumivar {

namespace {

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID, DWORD, DWORD);
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);

// Room for the first record, the largest payload and the error data the library asks for.
constexpr DWORD kReplyBufferSize = sizeof(ICMP_ECHO_REPLY) + 8192 + 8;

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
        m_create = reinterpret_cast<IcmpCreateFileFn>(reinterpret_cast<void*>(GetProcAddress(m_hDll, "IcmpCreateFile")));
        m_send = reinterpret_cast<IcmpSendEchoFn>(reinterpret_cast<void*>(GetProcAddress(m_hDll, "IcmpSendEcho")));
        m_close = reinterpret_cast<IcmpCloseHandleFn>(reinterpret_cast<void*>(GetProcAddress(m_hDll, "IcmpCloseHandle")));
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
        if (m_hDll) FreeLibrary(m_hDll);
        if (m_bWinsock) WSACleanup();
    }

    State GetState() const override { return m_state; }

    void SendEcho(uint32_t address, const std::string& payload, uint32_t timeoutMs, EchoReply& reply) override {
        if (m_state != State::Ready) return;
        std::vector<char> buffer(kReplyBufferSize, 0);
        auto* first = reinterpret_cast<ICMP_ECHO_REPLY*>(buffer.data());
        first->RoundTripTime = reply.roundTripTime;  // stays as preset when nothing is written
        std::string data = payload;
        m_send(m_hIcmp, address, data.data(), WORD(data.size()), nullptr, buffer.data(), DWORD(buffer.size()),
               timeoutMs);
        reply.address = first->Address;
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

    bool LookUp(const std::string& name, uint32_t& address) override {
        if (!m_bWinsock) return false;
        const hostent* entry = gethostbyname(name.c_str());
        if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return false;
        memcpy(&address, entry->h_addr_list[0], 4);
        return true;
    }

    bool ReverseLookUp(uint32_t address, std::string& name) override {
        if (!m_bWinsock) return false;
        const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET);
        if (!entry || !entry->h_name) return false;
        name = entry->h_name;
        return true;
    }

private:
    State m_state = State::NoLibrary;
    bool m_bWinsock = false;
    HMODULE m_hDll = nullptr;
    HANDLE m_hIcmp = INVALID_HANDLE_VALUE;
    IcmpCreateFileFn m_create = nullptr;
    IcmpSendEchoFn m_send = nullptr;
    IcmpCloseHandleFn m_close = nullptr;
};

}  // namespace

std::unique_ptr<IEchoSession> CSystemIcmp::OpenEcho() { return std::make_unique<Win32EchoSession>(); }

}  // namespace lumivar
