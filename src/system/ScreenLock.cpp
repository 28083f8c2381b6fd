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
    m_wnd.ShowFullScreen();
    // The box sits on the primary monitor, centred, 10 pixels above its bottom edge.
    const Rect w = m_wnd.PrimaryRect();
    const Rect e = m_wnd.PasswordRect();
    m_wnd.MovePasswordBox(w.left + (w.Width() - e.Width()) / 2, w.bottom - e.Height() - 10);
    m_wnd.ShowPasswordBox(true);
    m_wnd.HideOtherWindows(true);
    m_wnd.BringToFront();
    m_wnd.FocusPassword();
    m_wnd.Invalidate();
    m_wnd.SetTimer(TIMER_CYCLE, 1000);
}

int CMainDlg::UnlockScreen(bool unlock) {
    ISystem& sys = m_ports.system;
    if (!unlock) {
        if (!m_bRestricted) {
            // Recorded durably before anything changes, so that a crash during the lock can be undone.
            m_policyBeforeLock = sys.ReadTaskMgrPolicy();
            sys.WriteLockRecord(&m_policyBeforeLock);
            m_bRestricted = 1;
        }
        sys.ShowTaskBar(false);
        sys.WriteTaskMgrPolicy({true, true, kRegDword, std::string("\x01\0\0\0", 4)});
        return 1;
    }
    sys.ShowTaskBar(true);
    // An administrator's own value is put back as it was, never deleted.
    if (m_bRestricted) {
        sys.WriteTaskMgrPolicy(m_policyBeforeLock);
        sys.WriteLockRecord(nullptr);
        m_bRestricted = 0;
    }
    return 1;
}

void CMainDlg::RepairAfterCrash() {
    ISystem& sys = m_ports.system;
    RegistryValue before;
    if (!sys.ReadLockRecord(before)) return;
    sys.ShowTaskBar(true);
    sys.WriteTaskMgrPolicy(before);
    sys.WriteLockRecord(nullptr);
}

void CMainDlg::LeaveLock() {
    m_wnd.ShowPasswordBox(false);
    UnlockScreen(true);
    EndRestOrLock();
    m_wnd.HideOtherWindows(false);
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
