// The main window's side of the mail monitor: it only routes.
#include "app/MainDlg.h"

namespace lumivar {

void CMainDlg::CheckMail(std::function<void(bool)> then) { m_mailMonitor.CheckMail(std::move(then)); }

void CMainDlg::OnCheckMail() { m_mailMonitor.CheckMail(nullptr); }

void CMainDlg::ApplyMailSettings(const MailSettings& edited) { m_mailMonitor.ApplyMailSettings(edited); }

}  // namespace lumivar
