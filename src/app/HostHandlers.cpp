// The main window's side of the host monitor: it only routes.
#include "app/MainDlg.h"

namespace lumivar {

bool CMainDlg::CheckHostStatus(const std::string& host) { return m_hostMonitor.Check(host); }

void CMainDlg::OnCheckHostStatus() { CheckHostStatus(m_strHostName); }

void CMainDlg::ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName) {
    m_hostMonitor.ApplyHostSettings(bMonitor, nInterval, hostName);
}

}  // namespace lumivar
