// Menu commands of the main window, each to its operation.
#include "app/MainDlg.h"
#include "resource.h"

namespace lumivar {

// While the screen is locked nothing may open a window over it or end the program around
// the password; the rest of the program keeps working. Returning to work is refused by
// BackToWork itself.
bool CMainDlg::AllowedWhileLocked(int command) {
    switch (command) {
    case ID_APP_ABOUT: case ID_APP_EXIT: case ID_README: case ID_TASK_LIST: case ID_SETTINGS: case ID_CHOOSE_PICTURE: case ID_HELP_INDEX:
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
    case ID_REST_NOW: StartRest(); break;
    case ID_BACK_TO_WORK: BackToWork(); break;
    case ID_APP_ABOUT: OnAbout(); break;
    case ID_APP_EXIT: OnExit(); break;
    case ID_RELOAD_SETTINGS: OnReloadSettings(); break;
    case ID_README: OnReadme(); break;
    case ID_EYE_CARE: OnToggleEyeCare(); break;
    case ID_SCREEN_SAVER: StartScreenSaver(); break;
    case ID_SHUTDOWN: ShutdownComputer(); break;
    case ID_LOGOFF: LogoffUser(); break;
    case ID_REBOOT: RebootComputer(); break;
    case ID_CHECK_HOST: OnCheckHostStatus(); break;
    case ID_CHECK_HOMEPAGE: OnCheckHomepage(); break;
    case ID_TASK_LIST: OnTaskList(); break;
    case ID_CHECK_MAIL: OnCheckMail(); break;
    case ID_MAIL_NOTICE_OK: OnMailNoticeOk(); break;
    case ID_SETTINGS: ShowSettings(); break;
    case ID_LOCK_SCREEN: LockScreen(); break;
    case ID_CHECK_UPDATE: CheckNewVersion(true); break;
    case ID_CHOOSE_PICTURE: ChooseBackgroundPicture(); break;
    case ID_FORCE_SHUTDOWN: ForceShutdownComputer(); break;
    case ID_HELP_INDEX: OnReadme(); break;  // the framework's help command
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
