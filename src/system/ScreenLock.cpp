// The screen lock and the power, session and screen-saver actions.
#include "app/MainDlg.h"

namespace lumivar {

void CMainDlg::LockScreen() {
    if (m_bLocked) return;
    if (m_bAutoLock) m_wnd.KillTimer(TIMER_AUTOLOCK);
    if (m_bResting) {
        m_wnd.KillTimer(TIMER_CYCLE);
        m_nRestLeft = 0;
        m_bResting = 0;
        m_wnd.Hide();
    }
    UnlockScreen(false);
    m_bLocked = 1;
    if (m_bAnimate) m_wnd.Animate(1500, m_dwAnimEffects[m_nAnimEffect]);
    m_wnd.ShowMaximized();
    const Rect w = m_wnd.WindowRect();
    const Rect e = m_wnd.PasswordRect();
    m_wnd.MovePasswordBox((w.right - e.Width()) / 2, w.bottom - e.Height() - 10);
    m_wnd.ShowPasswordBox(true);
    m_wnd.BringToFront();
    m_wnd.FocusPassword();
    m_wnd.Invalidate();
    m_wnd.SetTimer(TIMER_CYCLE, 1000);
}

int CMainDlg::UnlockScreen(bool unlock) {
    m_ports.system.SetShellRestrictions(!unlock);
    return 1;
}

void CMainDlg::LeaveLock() {
    m_wnd.ShowPasswordBox(false);
    UnlockScreen(true);
    BackToWork();
}

bool CMainDlg::ShutdownComputer() {
    if (!m_bWin9x && !m_ports.system.EnableShutdownPrivilege()) return false;
    return m_ports.system.ExitSession(EWX_POWEROFF);
}

bool CMainDlg::ForceShutdownComputer() {
    if (!m_bWin9x && !m_ports.system.EnableShutdownPrivilege()) return false;
    return m_ports.system.ExitSession(EWX_POWEROFF | EWX_FORCE);
}

bool CMainDlg::RebootComputer() {
    m_ports.system.ExitSession(EWX_REBOOT);
    if (!m_ports.system.EnableShutdownPrivilege()) return false;
    return m_ports.system.ExitSession(EWX_REBOOT);
}

bool CMainDlg::LogoffUser() {
    m_ports.system.ExitSession(EWX_LOGOFF);
    if (!m_ports.system.EnableShutdownPrivilege()) return false;
    return m_ports.system.ExitSession(EWX_LOGOFF);
}

void CMainDlg::StartScreenSaver() { m_wnd.PostScreenSaver(); }

}  // namespace lumivar
