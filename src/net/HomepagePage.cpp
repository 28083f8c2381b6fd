#include "net/HomepagePage.h"

#include "base/AppName.h"
#include "net/RobotInternet.h"

namespace lumivar {

void CHomepagePage::OnInitDialog() {
    m_bAddressEnabled = m_bSpinEnabled = m_bWatch != 0;
    m_bProxyEnabled = m_bProxy != 0;
}

void CHomepagePage::OnClickWatch() {
    m_bWatch = !m_bWatch;
    m_bAddressEnabled = m_bWatch != 0;
}

void CHomepagePage::OnClickProxy() {
    m_bProxy = !m_bProxy;
    m_bProxyEnabled = m_bProxy != 0;
}

void CHomepagePage::OnTest() {
    if (m_bTesting) return;  // the answer to the last click is still to come
    m_ports.shell.ShellOpen(CRobotInternet::CanonicalizeUrl(m_strAddress));
    CRobotInternet robot(m_ports.http);
    if (m_bProxy) {
        robot.m_strProxyUserName = m_strProxyUser;
        robot.m_strProxyPassword = m_strProxyPass;
    }
    m_bTesting = 1;
    auto code = std::make_shared<int>(-1);
    INotices& notices = m_ports.notices;
    const std::string title = AppNameFromPath(m_ports.shell.ModuleFileName());
    m_ports.background.Run(
        [robot, address = m_strAddress, code]() mutable {
            std::string body, text;
            robot.HttpGet(address, body, *code, text);
        },
        [this, &notices, title, code, ticket = m_guard.Issue()] {
            if (!ticket.OwnerGone()) m_bTesting = 0;
            // A certificate or a redirect that fails is named: the address may be right, the server not.
            std::string unreachable = kUnreachable;
            if (*code >= CRobotInternet::kTlsFailed) unreachable += "\r\n" + CRobotInternet::ErrorText(*code);
            // The box is the program's, not the page's: it comes after the page closed, too.
            notices.ShowMessage(*code == 0 ? kReachable : unreachable, title);
        });
}

HomepageSettings CHomepagePage::Values() const {
    return {m_bWatch, int(m_nInterval), m_strAddress, m_bProxy, m_strProxyUser, m_strProxyPass};
}

void CHomepagePage::SetValues(const HomepageSettings& v) {
    m_bWatch = v.bWatch;
    m_nInterval = unsigned(v.nInterval);
    m_strAddress = v.strAddress;
    m_bProxy = v.bProxy;
    m_strProxyUser = v.strProxyUser;
    m_strProxyPass = v.strProxyPass;
}

}  // namespace lumivar
