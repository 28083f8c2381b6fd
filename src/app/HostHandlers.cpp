// The host monitor's handlers on the main window: they start checks and apply what comes back.
#include "base/AppName.h"
#include "base/LocalTime.h"
#include "app/MainDlg.h"

namespace lumivar {

bool CMainDlg::CheckHostStatus(const std::string& host) {
    return m_hostMonitor.Start(host, [this, host](const CHostMonitor::Outcome& outcome) {
        OnHostChecked(host, outcome);
    });
}

void CMainDlg::OnHostChecked(const std::string& host, const CHostMonitor::Outcome& outcome) {
    if (outcome.libraryError) m_ports.dialogs.ShowMessage("error", AppNameFromPath(m_ports.system.ModuleFileName()));
    if (int(outcome.reachable) == m_bHostReachable) return;
    m_bHostReachable = outcome.reachable;
    CRemindDlg dlg = CHostMonitor::StatePrompt(host, outcome.reachable, m_nRemindTimeout, LocalTime(m_ports.system.Now()));
    UpdateTrayTip();
    m_ports.dialogs.RunRemind(dlg);
}

void CMainDlg::OnCheckHostStatus() { CheckHostStatus(m_strHostName); }

void CMainDlg::ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName) {
    if (!CHostMonitor::Apply(*this, bMonitor, nInterval, hostName)) return;
    UpdateTrayTip();
    if (m_bHostMonitor)
        m_wnd.SetTimer(TIMER_HOST, MinutesMs(m_nHostInterval));
    else
        m_wnd.KillTimer(TIMER_HOST);
}

}  // namespace lumivar
