#include "win32/Win32Tls.h"

#include <wincrypt.h>
// SCH_CREDENTIALS, the newer credentials, are declared only under this name.
#define SCHANNEL_USE_BLACKLISTS
#include <subauth.h>
#include <schannel.h>

#include <algorithm>
#include <cstring>

#include "win32/Wide.h"

namespace lumivar {

namespace {

constexpr DWORD kFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                         ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_MANUAL_CRED_VALIDATION;
// A record is at most about 16 KiB; a peer that sends more without completing one is hostile.
constexpr std::size_t kMaxPending = 1u << 17;

bool SendRaw(SOCKET s, const char* data, std::size_t size) {
    while (size) {
        const int n = send(s, data, int(std::min<std::size_t>(size, 1u << 20)), 0);
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// SCH_CREDENTIALS where Windows knows them (they allow TLS 1.3), else the older SCHANNEL_CRED.
// Our own check of the certificate follows the handshake, so Schannel is told not to make one.
bool AcquireCredentials(CredHandle& cred) {
    const DWORD flags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;
    TimeStamp expiry;
    SCH_CREDENTIALS modern{};
    modern.dwVersion = SCH_CREDENTIALS_VERSION;
    modern.dwFlags = flags;
    if (AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &modern,
                                  nullptr, nullptr, &cred, &expiry) == SEC_E_OK)
        return true;
    SCHANNEL_CRED older{};
    older.dwVersion = SCHANNEL_CRED_VERSION;
    older.dwFlags = flags;
    return AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &older,
                                     nullptr, nullptr, &cred, &expiry) == SEC_E_OK;
}

}  // namespace

CTlsSession::~CTlsSession() {
    if (m_haveContext) DeleteSecurityContext(&m_context);
    if (m_haveCred) FreeCredentialsHandle(&m_cred);
}

TlsError CTlsSession::Handshake(const std::string& host, int limitMs) {
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(limitMs > 0 ? limitMs : 0);
    m_host = Wide(host);
    if (!AcquireCredentials(m_cred)) return TlsError::Unavailable;
    m_haveCred = true;
    // The first call has nothing to read: it makes the hello.
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &out};
    DWORD granted = 0;
    const SECURITY_STATUS status = InitializeSecurityContextW(&m_cred, nullptr, m_host.data(), kFlags, 0, 0, nullptr, 0,
                                                              &m_context, &outDesc, &granted, nullptr);
    if (status == SEC_I_CONTINUE_NEEDED) m_haveContext = true;
    const bool sent = status == SEC_I_CONTINUE_NEEDED && SendRaw(m_socket, static_cast<char*>(out.pvBuffer), out.cbBuffer);
    if (out.pvBuffer) FreeContextBuffer(out.pvBuffer);
    if (!sent || !ReadMore() || !Negotiate(deadline) ||
        QueryContextAttributesW(&m_context, SECPKG_ATTR_STREAM_SIZES, &m_sizes) != SEC_E_OK)
        return TlsError::Handshake;
    return CheckCertificate();
}

bool CTlsSession::Negotiate(ULONGLONG deadline) {
    for (;;) {
        SecBuffer in[2] = {{DWORD(m_in.size()), SECBUFFER_TOKEN, m_in.data()}, {0, SECBUFFER_EMPTY, nullptr}};
        SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
        SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in}, outDesc{SECBUFFER_VERSION, 1, &out};
        DWORD granted = 0;
        const SECURITY_STATUS status = InitializeSecurityContextW(&m_cred, &m_context, m_host.data(), kFlags, 0, 0,
                                                                  &inDesc, 0, nullptr, &outDesc, &granted, nullptr);
        const bool sent = !out.pvBuffer || !out.cbBuffer ||
                          SendRaw(m_socket, static_cast<char*>(out.pvBuffer), out.cbBuffer);
        if (out.pvBuffer) FreeContextBuffer(out.pvBuffer);
        if (!sent) return false;
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            if (GetTickCount64() >= deadline || !ReadMore()) return false;
            continue;
        }
        // A client certificate asked for (SEC_I_INCOMPLETE_CREDENTIALS) is not something we have.
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) return false;
        // What this step did not use is the next step's, or the first record of data.
        if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer <= m_in.size())
            m_in.erase(0, m_in.size() - in[1].cbBuffer);
        else
            m_in.clear();
        if (status == SEC_E_OK) return true;
        if (m_in.empty() && (GetTickCount64() >= deadline || !ReadMore())) return false;
    }
}

// Our own check, the same on Windows and under Wine (whose Schannel checks nothing by itself):
// the chain up to a trusted root for server use, then the SSL policy with the host's name. The
// chain's own status must be clean too, as Wine's policy check passes a partial chain.
TlsError CTlsSession::CheckCertificate() const {
    PCCERT_CONTEXT cert = nullptr;
    auto* context = const_cast<CtxtHandle*>(&m_context);
    if (QueryContextAttributesW(context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &cert) != SEC_E_OK || !cert)
        return TlsError::Untrusted;
    LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    TlsError result = TlsError::Untrusted;
    if (CertGetCertificateChain(nullptr, cert, nullptr, cert->hCertStore, &para, 0, nullptr, &chain)) {
        const DWORD trust = chain->TrustStatus.dwErrorStatus;
        SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
        ssl.cbSize = sizeof ssl;
        ssl.dwAuthType = AUTHTYPE_SERVER;
        ssl.pwszServerName = const_cast<wchar_t*>(m_host.c_str());
        CERT_CHAIN_POLICY_PARA policy{};
        policy.cbSize = sizeof policy;
        policy.pvExtraPolicyPara = &ssl;
        CERT_CHAIN_POLICY_STATUS status{};
        status.cbSize = sizeof status;
        if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status))
            result = TlsError::Untrusted;
        else if (status.dwError == DWORD(CERT_E_CN_NO_MATCH))
            result = TlsError::WrongName;
        else if (status.dwError == DWORD(CERT_E_EXPIRED) || (trust & CERT_TRUST_IS_NOT_TIME_VALID))
            result = TlsError::Expired;
        else if (status.dwError != 0 || trust != CERT_TRUST_NO_ERROR)
            result = TlsError::Untrusted;
        else
            result = TlsError::None;
        CertFreeCertificateChain(chain);
    }
    CertFreeCertificateContext(cert);
    return result;
}

bool CTlsSession::ReadMore() {
    if (m_in.size() > kMaxPending) return false;
    char chunk[16384];
    const int n = recv(m_socket, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    m_in.append(chunk, std::size_t(n));
    return true;
}

bool CTlsSession::Send(std::string_view bytes) {
    std::string record;
    while (!bytes.empty()) {
        const std::size_t n = std::min<std::size_t>(bytes.size(), m_sizes.cbMaximumMessage);
        record.assign(m_sizes.cbHeader + n + m_sizes.cbTrailer, '\0');
        char* const at = record.data();
        std::memcpy(at + m_sizes.cbHeader, bytes.data(), n);
        SecBuffer parts[4] = {{m_sizes.cbHeader, SECBUFFER_STREAM_HEADER, at},
                              {DWORD(n), SECBUFFER_DATA, at + m_sizes.cbHeader},
                              {m_sizes.cbTrailer, SECBUFFER_STREAM_TRAILER, at + m_sizes.cbHeader + n},
                              {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
        if (EncryptMessage(&m_context, 0, &desc, 0) != SEC_E_OK ||
            !SendRaw(m_socket, at, std::size_t(parts[0].cbBuffer) + parts[1].cbBuffer + parts[2].cbBuffer))
            return false;
        bytes.remove_prefix(n);
    }
    return true;
}

int CTlsSession::Receive(char* buffer, int size) {
    while (m_plain.empty()) {
        if (m_ended) return 0;
        if (!m_in.empty()) {
            SecBuffer parts[4] = {{DWORD(m_in.size()), SECBUFFER_DATA, m_in.data()},
                                  {0, SECBUFFER_EMPTY, nullptr},
                                  {0, SECBUFFER_EMPTY, nullptr},
                                  {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
            const SECURITY_STATUS status = DecryptMessage(&m_context, &desc, 0, nullptr);
            if (status == SEC_E_OK || status == SEC_I_RENEGOTIATE || status == SEC_I_CONTEXT_EXPIRED) {
                // The buffers point into m_in: copy out before it is replaced.
                std::string extra;
                bool data = false;
                for (const SecBuffer& p : parts) {
                    if (p.BufferType == SECBUFFER_DATA && p.cbBuffer)
                        m_plain.append(static_cast<char*>(p.pvBuffer), p.cbBuffer), data = true;
                    if (p.BufferType == SECBUFFER_EXTRA) extra.assign(static_cast<char*>(p.pvBuffer), p.cbBuffer);
                }
                m_in = std::move(extra);
                // The peer's close_notify: Windows says the context expired, Wine says OK with nothing.
                if (status == SEC_I_CONTEXT_EXPIRED || (status == SEC_E_OK && !data && m_in.empty())) m_ended = true;
                // TLS 1.3 messages after the handshake (tickets, key updates) go back to the handshake.
                if (status == SEC_I_RENEGOTIATE && !Negotiate(GetTickCount64() + 10000)) return -1;
                continue;
            }
            if (status != SEC_E_INCOMPLETE_MESSAGE) return -1;
        }
        if (m_in.size() > kMaxPending) return -1;
        char chunk[16384];
        const int n = recv(m_socket, chunk, sizeof chunk, 0);
        if (n == 0) return m_in.empty() ? 0 : -1;  // closed between records, or inside one
        if (n < 0) return -1;
        m_in.append(chunk, std::size_t(n));
    }
    const int n = int(std::min<std::size_t>(std::size_t(size), m_plain.size()));
    std::memcpy(buffer, m_plain.data(), std::size_t(n));
    m_plain.erase(0, std::size_t(n));
    return n;
}

}  // namespace lumivar
