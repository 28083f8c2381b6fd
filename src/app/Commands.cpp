// Menu commands of the main window, each to its operation.
#include "app/MainDlg.h"

namespace lumivar {

// While the screen is locked nothing may open a window over it or end the program around
// the password; the rest of the program keeps working. Returning to work is refused by
// BackToWork itself.
bool CMainDlg::AllowedWhileLocked(int command) {
    switch (command) {
    case 32774: case 32775: case 32780: case 32792: case 32796: case 32800: case 57670:
        return false;
    default:
        return true;
    }
}

bool CMainDlg::OnCommand(int id) {
    if (m_bLocked && !AllowedWhileLocked(id)) return true;
    switch (id) {
    case 1: OnOK(); break;  // Enter
    case 2: OnCancel(); break;  // Esc
    case 32771: StartRest(); break;
    case 32772: BackToWork(); break;
    case 32774: OnAbout(); break;
    case 32775: OnExit(); break;
    case 32779: OnReloadSettings(); break;
    case 32780: OnReadme(); break;
    case 32782: OnToggleEyeCare(); break;
    case 32783: StartScreenSaver(); break;
    case 32784: ShutdownComputer(); break;
    case 32785: LogoffUser(); break;
    case 32786: RebootComputer(); break;
    case 32787: OnCheckHostStatus(); break;
    case 32788: OnCheckHomepage(); break;
    case 32792: OnTaskList(); break;
    case 32794: OnCheckMail(); break;
    case 32795: OnMailNoticeOk(); break;
    case 32796: ShowSettings(); break;
    case 32798: LockScreen(); break;
    case 32799: CheckNewVersion(true); break;
    case 32800: ChooseBackgroundPicture(); break;
    case 32801: ForceShutdownComputer(); break;
    case 57670: OnReadme(); break;  // the framework's help command
    default: return false;
    }
    return true;
}

void CMainDlg::OnAbout() {
    if (m_bAboutOpen) return;
    m_bAboutOpen = 1;
    m_ports.dialogs.RunAbout(m_strVersion, m_strLatestVersion);
    m_bAboutOpen = 0;
}

void CMainDlg::OnReadme() {
    std::string path = m_ports.system.ModuleFileName();
    const size_t slash = path.rfind('\\');
    path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "readmecn.txt";
    m_ports.system.ShellOpen(path);
}

}  // namespace lumivar
