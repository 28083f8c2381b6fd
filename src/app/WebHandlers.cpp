// The main window's side of the web page monitor and the update check.
#include "app/MainDlg.h"

namespace lumivar {

void CMainDlg::CheckHomepage() { m_homepageMonitor.CheckHomepage(); }

// Works with the monitor off too; timer 3 then stays stopped.
void CMainDlg::OnCheckHomepage() { m_homepageMonitor.CheckHomepage(); }

void CMainDlg::ApplyHomepageSettings(const HomepageSettings& edited) { m_homepageMonitor.ApplyHomepageSettings(edited); }

void CMainDlg::CheckNewVersion(bool manual) {
    CRobotInternet robot(m_ports.http);
    if (m_bHomepageProxy) {
        robot.m_strProxyUserName = m_strProxyUser;
        robot.m_strProxyPassword = m_strProxyPass;
    }
    m_updateCheck.Start(manual, robot, m_strVersion, [this](const CUpdateCheck::Result& result, bool asked) {
        // Whichever way it was asked for, a pending automatic check is dropped.
        m_wnd.KillTimer(TIMER_UPDATE);
        m_strLatestVersion = result.statusText;
        if (!asked && result.newer && m_bAutoCheckNewVersion && !m_bUpdatePrompted) ShowUpdatePrompt();
    });
}

}  // namespace lumivar
