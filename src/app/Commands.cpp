// Menu commands, hotkeys and the tray icons of the main window, each to its operation.
#include <cstdio>

#include "app/MainDlg.h"
#include "base/Strings.h"
#include "resource.h"

namespace lumivar {

namespace {
// The tray icon's mouse messages (WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP).
constexpr unsigned kLeftUp = 0x202, kLeftDoubleClick = 0x203, kRightUp = 0x205;
}  // namespace

// While the screen is locked nothing may open a window over it or end the program around
// the password; the rest of the program keeps working. Returning to work is refused by
// BackToWork itself.
bool CMainDlg::AllowedWhileLocked(int command) {
    switch (command) {
    case ID_APP_ABOUT: case ID_APP_EXIT: case ID_README: case ID_TASK_LIST: case ID_SETTINGS: case ID_CHOOSE_PICTURE: case ID_HELP_INDEX:
        return false;
    case ID_RELOAD_SETTINGS:  // an edited file could turn the lock's password off
        return false;
    default:
        return true;
    }
}

bool CMainDlg::OnCommand(int id) {
    if (m_cycle.Locked() && !AllowedWhileLocked(id)) return true;
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
    m_ports.dialogs.RunAbout(m_settings.m_strVersion, m_strLatestVersion);
    m_bAboutOpen = 0;
}

void CMainDlg::OnReadme() {
    std::string path = m_ports.system.ModuleFileName();
    const size_t slash = path.rfind('\\');
    path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "readmecn.txt";
    m_ports.system.ShellOpen(path);
}

std::string CMainDlg::TrayTipText() const {
    std::string tip = m_cycle.EyeCare() ? "眸安星:\n视力保护已启动" : "眸安星:\n视力保护未启动";
    if (m_cycle.WaitingForFullScreen()) tip += "，全屏程序退出后休息";
    char buf[64];
    if (!m_settings.m_bRemind) {
        tip += "\n提醒服务未启动";
    } else if (!m_tasks.Entries().empty()) {
        std::snprintf(buf, sizeof buf, "\n当前任务时间%02d:%02d", m_tasks.Current().hour, m_tasks.Current().minute);
        tip += buf;
    } else {
        tip += "\n没有任务提醒";
    }
    if (!m_settings.m_bMailCheck) {
        tip += "\n邮件监测未启动";
    } else if (m_nNewMail > 0) {
        std::snprintf(buf, sizeof buf, "\n有%d封邮件", m_nNewMail);
        tip += buf;
    } else {
        tip += "\n没有新邮件";
    }
    tip += m_settings.m_bHomepageWatch ? "\n网页监测已启动" : "\n网页监测未启动";
    if (!m_settings.m_bHostMonitor)
        tip += "\n网络状态监测未启动";
    else
        tip += m_hostMonitor.Reachable() ? "\n网络状态:可连接" : "\n网络状态:不可连接";
    return tip;
}

int CMainDlg::TrayIconResource() const {
    if (m_cycle.EyeCare()) return m_hostMonitor.Reachable() ? IDI_EYE_ON : IDI_EYE_ON_NOHOST;
    return m_hostMonitor.Reachable() ? IDI_EYE_OFF : IDI_EYE_OFF_NOHOST;
}

void CMainDlg::UpdateTrayTip() {
    m_nid.id = 0;
    m_nid.callbackMessage = WM_TRAYNOTIFY;
    m_nid.iconResource = TrayIconResource();
    ShowMailIcon(m_nNewMail > 0, m_nNewMail > 0 ? m_nNewMail : 0);
    m_nid.tip = TrayTipText();
    m_ports.tray.Notify(TrayOp::Modify, m_nid);
}

void CMainDlg::ShowMailIcon(bool show, int count) {
    m_nidMail = {1, WM_MAILNOTIFY, IDI_MAIL, "您有" + std::to_string(count) + "封新邮件!"};
    if (show) {
        m_ports.tray.Notify(m_bMailIconShown ? TrayOp::Modify : TrayOp::Add, m_nidMail);
        m_bMailIconShown = 1;
    } else {
        if (m_bMailIconShown) m_ports.tray.Notify(TrayOp::Delete, m_nidMail);
        m_bMailIconShown = 0;
    }
}

void CMainDlg::ResetTrayIcons() {
    m_ports.tray.Notify(TrayOp::Delete, {0, 0, 0, ""});
    m_ports.tray.Notify(TrayOp::Delete, {1, 0, 0, ""});
    m_bMailIconShown = 0;
    AddMainTrayIcon();
    UpdateTrayTip();
}

// A restarted shell knows none of our icons, and shows its task bar even during a lock.
void CMainDlg::OnTaskbarCreated() {
    AddMainTrayIcon();
    if (m_bMailIconShown) m_ports.tray.Notify(TrayOp::Add, m_nidMail);
    UpdateTrayTip();
    m_lock.Restrictions().TaskBarsAppeared();
}

int CMainDlg::OnTrayNotify(unsigned /*id*/, unsigned mouseMessage) {
    switch (mouseMessage) {
    case kLeftDoubleClick:
        if (!m_cycle.Locked()) ShowSettings();
        break;
    case kLeftUp:
        OnToggleEyeCare();
        break;
    case kRightUp:
        m_ports.tray.PopupMenu(IDR_TRAY_MENU, ID_SETTINGS, ID_EYE_CARE, m_cycle.EyeCare());
        break;
    default:
        break;
    }
    return 0;
}

int CMainDlg::OnMailTrayNotify(unsigned /*id*/, unsigned mouseMessage) {
    if (mouseMessage == kLeftUp || mouseMessage == kRightUp) m_ports.tray.PopupMenu(IDR_MAIL_MENU, 0, 0, false);
    return 0;
}

void CMainDlg::OnMailNoticeOk() {
    m_nNewMail = 0;
    UpdateTrayTip();
}

int CMainDlg::OnHotKey(int id) {
    switch (id) {
    case IDH_REST_A:
    case IDH_REST_B:
        StartRest();
        break;
    case IDH_TRAY_A:
    case IDH_TRAY_B:
        ResetTrayIcons();
        break;
    case IDH_LOCK_A:
    case IDH_LOCK_B:
        LockScreen();
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace lumivar
