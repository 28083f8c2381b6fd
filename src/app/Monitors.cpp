// The monitors' side of the main window: it starts their checks and applies what comes back.
#include "app/MainDlg.h"
#include "base/LocalTime.h"
#include "base/Strings.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

namespace {
// The automatic update prompt waits half a minute for an answer.
constexpr int kUpdatePromptSeconds = 30;
}  // namespace

bool CMainDlg::CheckHostStatus(const std::string& host) { return m_hostMonitor.Check(host); }

void CMainDlg::OnCheckHostStatus() { CheckHostStatus(m_settings.m_strHostName); }

void CMainDlg::ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName) {
    m_hostMonitor.ApplyHostSettings(bMonitor, nInterval, hostName);
}

void CMainDlg::CheckMail(std::function<void(bool)> then) { m_mailMonitor.CheckMail(std::move(then)); }

void CMainDlg::OnCheckMail() { m_mailMonitor.CheckMail(nullptr); }

void CMainDlg::ApplyMailSettings(const MailSettings& edited) { m_mailMonitor.ApplyMailSettings(edited); }

void CMainDlg::CheckHomepage() { m_homepageMonitor.CheckHomepage(); }

// Works with the monitor off too; timer 3 then stays stopped.
void CMainDlg::OnCheckHomepage() { m_homepageMonitor.CheckHomepage(); }

void CMainDlg::ApplyHomepageSettings(const HomepageSettings& edited) { m_homepageMonitor.ApplyHomepageSettings(edited); }

void CMainDlg::CheckNewVersion(bool manual) {
    CRobotInternet robot(m_ports.http);
    if (m_settings.m_bHomepageProxy) {
        robot.m_strProxyUserName = m_settings.m_strProxyUser;
        robot.m_strProxyPassword = m_settings.m_strProxyPass;
    }
    m_updateCheck.Start(manual, robot, m_settings.m_strVersion, [this](const CUpdateCheck::Result& result, bool asked) {
        // Whichever way it was asked for, a pending automatic check is dropped.
        m_ports.window.KillTimer(TIMER_UPDATE);
        m_strLatestVersion = result.statusText;
        if (!asked && result.newer && m_settings.m_bAutoCheckNewVersion && !m_bUpdatePrompted) ShowUpdatePrompt();
    });
}

void CMainDlg::ShowUpdatePrompt() {
    CRemindDlg dlg;
    dlg.m_nCountdown = kUpdatePromptSeconds;
    dlg.m_bAnimated = 1;
    dlg.m_strTitle = "本软件有更新版本";
    dlg.m_strMessage = "最新的版本为" + m_strLatestVersion + "\r\n\r\n现在就去软件主页进行下载升级？";
    m_bUpdatePrompted = 1;
    if (m_ports.dialogs.RunRemind(dlg) == IDOK) m_ports.system.ShellOpen(kStrHomepageB);
}

}  // namespace lumivar
