// The work/rest cycle and the lock: the handlers forward to the cycle, which decides, and the
// cycle's requests are carried out here on the rest screen, the lock and the sounds.
#include "app/MainDlg.h"

namespace lumivar {

namespace {
constexpr uint32_t kSoundFlags = SND_FILENAME | SND_NOWAIT | SND_ASYNC;
// Back at work, the idle lock looks again shortly after, from the input of the rest on.
constexpr uint32_t kAutoLockAfterRestMs = 1500;
// W ends a rest when the settings allow it. The second is the letter's lower case, which as a
// key code is F8: F8 ends a rest as well.
constexpr unsigned kBackKeys[2] = {0x57, 0x77};
}  // namespace

void CMainDlg::OnWorkRestTick() { m_cycle.OnTick(Now()); }
void CMainDlg::StartRest() { m_cycle.StartRest(); }
void CMainDlg::RestTick() { m_cycle.RestTick(); }
void CMainDlg::BackToWork() { m_cycle.BackToWork(Now()); }

void CMainDlg::OnToggleEyeCare() {
    m_cycle.ToggleEyeCare(Now());
    if (m_cycle.Locked()) return;
    if (!m_cycle.EyeCare())
        m_autoLockTimer.Kill();
    else if (m_settings.m_bAutoLock)
        m_autoLockTimer.Set(kAutoLockAfterRestMs);  // it looks at the idle time and waits the rest
}

bool CMainDlg::OnKeyDown(unsigned vk) {
    if (!m_settings.m_bBackKey) return false;
    if (vk == kBackKeys[0] || vk == kBackKeys[1]) BackToWork();
    return true;
}

void CMainDlg::OnOK() {
    if (!m_cycle.Locked()) return;
    if (m_lock.Accepts(m_settings.m_bLockPass != 0, m_settings.m_strSystemPwd)) LeaveLock();
}

void CMainDlg::LockScreen() {
    if (m_cycle.Locked()) return;
    if (m_settings.m_bAutoLock) m_autoLockTimer.Kill();
    m_cycle.Lock();
    UnlockScreen(false);
    m_restScreen.ShowForLock();
    m_lock.Show();
    m_ports.window.SetTimer(TIMER_CYCLE, CRestCycle::kSecondMs);
}

int CMainDlg::UnlockScreen(bool unlock) {
    if (unlock)
        m_lock.Restrictions().Lift();
    else
        m_lock.Restrictions().Impose();
    return 1;
}

// Only the unlock attempt and an "unlock" task end a lock.
void CMainDlg::LeaveLock() {
    m_lock.Leave();
    m_cycle.Unlock(Now());
    m_lock.ShowOtherWindows();
}

void CMainDlg::OnDisplayChange() {
    if (m_cycle.Locked()) {
        m_lock.ScreensChanged();
    } else if (m_cycle.GetPhase() == CRestCycle::Phase::Resting) {
        m_ports.window.KeepTopmost();  // over the new set of monitors
        m_ports.window.Invalidate();
    }
}

void CMainDlg::OnAutoLockTick() {
    if (m_cycle.Locked() || !m_cycle.EyeCare()) {
        m_autoLockTimer.Kill();
        return;
    }
    if (m_bWin9x) {
        m_settings.m_bAutoLock = 0;
        m_autoLockTimer.Kill();
        return;
    }
    const uint32_t idle = m_ports.system.TickCount() - m_ports.system.LastInputTick();
    m_autoLockTimer.Kill();
    const uint32_t limit = MinutesMs(m_settings.m_nAutoLockTimeout);
    // Looks again when the limit would be reached, a little after so as not to come early.
    if (idle >= limit)
        LockScreen();
    else if (m_settings.m_bAutoLock)
        m_autoLockTimer.Set(limit - idle + 5);
}

void CMainDlg::ArmCycleTimer(uint32_t ms) {
    if (ms)
        m_ports.window.SetTimer(TIMER_CYCLE, ms);
    else
        m_ports.window.KillTimer(TIMER_CYCLE);
}

void CMainDlg::ShowRestScreen() { m_restScreen.ShowForRest(); }
void CMainDlg::ShowCountdown() { m_restScreen.Countdown(); }

void CMainDlg::HideScreen(bool quiet) {
    m_lock.ClearPassword();
    m_restScreen.Hide(quiet);
    if (!quiet && m_settings.m_bPicture && m_settings.m_bAltPic) {
        const std::string module = m_ports.system.ModuleFileName();
        const std::string next = m_rotation.Next(m_settings.m_strPicFile, module.substr(0, module.rfind('\\') + 1));
        if (!next.empty() && next != m_settings.m_strPicFile) {
            m_settings.m_strPicFile = next;
            m_restScreen.LoadPicture();
        }
    }
    m_ports.window.ActivateForegroundWindow();
}

void CMainDlg::WarnRestComing(int seconds) {
    m_ports.tray.Balloon(m_nid, "眸安星", "还有" + std::to_string(seconds) + "秒就要休息了，请保存手头的工作。");
}

void CMainDlg::CutRestShort() { m_ports.window.Hide(); }

void CMainDlg::KeepLock() {
    m_lock.Upkeep();
    m_restScreen.InvalidateClock();
}

void CMainDlg::PlaySound(Sound sound) {
    if (!m_settings.m_bPlaySound) return;
    m_ports.system.PlayWave(sound == Sound::Break ? m_settings.m_strBreakWav : m_settings.m_strWorkWav, kSoundFlags);
}

void CMainDlg::BackAtWork() {
    if (m_settings.m_bAutoLock) m_autoLockTimer.Set(kAutoLockAfterRestMs);
}

void CMainDlg::OnPaint(IPainter& painter) {
    m_restScreen.OnPaint(painter, m_ports.system.Now(), m_cycle.Locked(), m_cycle.RestLeft());
}

bool CMainDlg::OnEraseBkgnd(IPainter& painter) { return m_restScreen.OnEraseBkgnd(painter); }

bool CMainDlg::ShutdownComputer() {
    if (!m_bWin9x && !m_ports.system.EnableShutdownPrivilege()) return false;
    return m_ports.system.ExitSession(EWX_POWEROFF);
}

bool CMainDlg::ForceShutdownComputer() {
    if (!m_bWin9x && !m_ports.system.EnableShutdownPrivilege()) return false;
    return m_ports.system.ExitSession(EWX_POWEROFF | EWX_FORCE);
}

// Reboot and log-off ask once before taking the privilege: where no privilege is needed, the
// first call already does it, and the second finds nothing left to do.
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

void CMainDlg::StartScreenSaver() { m_ports.window.PostScreenSaver(); }

}  // namespace lumivar
