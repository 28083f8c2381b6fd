#include "net/MailPage.h"

#include "base/Strings.h"
#include "net/Pop3Connection.h"

namespace lumivar {

bool CMailPage::ValidateInterval(std::string& message) const {
    return InRange(m_nMailInterval, kIntervalLow, kIntervalHigh, message);
}

void CMailPage::FromSettings(const Settings& s) {
    m_bMailCheck = s.m_bMailCheck;
    m_nMailInterval = s.m_nMailInterval > 0 ? unsigned(s.m_nMailInterval) : 0;
    m_strMailServer = s.m_strMailServer;
    m_strMailUser = s.m_strMailUser;
    m_strMailPass = s.m_strMailPass;
}

MailSettings CMailPage::Edited() const {
    return {m_bMailCheck, int(m_nMailInterval), m_strMailPass, m_strMailServer, m_strMailUser};
}

bool CMailPage::StartAccountTest(IBackground& background,
                                 std::function<void(bool ok, const std::string& message)> done) {
    if (m_bTesting) return false;
    m_bTesting = 1;
    auto ok = std::make_shared<bool>(false);
    auto tls = std::make_shared<TlsError>(TlsError::None);
    background.Run(
        [ok, tls, tcp = m_tcp, server = m_strMailServer, user = m_strMailUser, pass = m_strMailPass] {
            CPop3Connection pop3(server.c_str(), CMailMonitor::kPop3Port, user.c_str(), pass.c_str(),
                                 tcp ? tcp->NewStream() : nullptr);
            // Out again at once: the user reads the answer without holding the mailbox.
            if ((*ok = pop3.Connect())) pop3.Quit();
            *tls = pop3.TlsFailure();
        },
        [this, ticket = m_guard.Issue(), ok, tls, done = std::move(done)] {
            if (ticket.OwnerGone()) return;
            m_bTesting = 0;
            // A certificate that fails is worth naming: the settings may be right, the server not.
            std::string failed = kTestFailed;
            if (*tls != TlsError::None) failed += std::string("\r\n") + TlsErrorText(*tls);
            done(*ok, *ok ? kTestPassed : failed);
        });
    return true;
}

}  // namespace lumivar
