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
    if (*m_testing) return;  // the answer to the last click is still to come
    m_ports.system.ShellOpen(CRobotInternet::CanonicalizeUrl(m_strAddress));
    CRobotInternet robot(m_ports.http);
    if (m_bProxy) {
        robot.m_strProxyUserName = m_strProxyUser;
        robot.m_strProxyPassword = m_strProxyPass;
    }
    *m_testing = 1;
    auto ok = std::make_shared<bool>(false);
    IDialogs& dialogs = m_ports.dialogs;
    const std::string title = AppNameFromPath(m_ports.system.ModuleFileName());
    m_ports.background.Run(
        [robot, address = m_strAddress, ok]() mutable {
            std::string body, text;
            int code = 0;
            *ok = robot.HttpGet(address, body, code, text);
        },
        [&dialogs, title, ok, testing = m_testing] {
            *testing = 0;
            dialogs.ShowMessage(*ok ? kReachable : kUnreachable, title);
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
