// The timers and the work/rest cycle.
#include "app/MainDlg.h"
#include "base/Strings.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

namespace {
constexpr uint32_t kSoundFlags = SND_FILENAME | SND_NOWAIT | SND_ASYNC;
constexpr uint32_t kAnimateMs = 1500;
}  // namespace

void CMainDlg::OnTimer(int id) {
    switch (id) {
    case TIMER_CYCLE:
        if (m_bLocked) {
            // Another program's topmost window, or one of ours that opened since, must not stay above.
            m_wnd.KeepTopmost();
            m_wnd.HideOtherWindows(true);
            if (m_wnd.FocusOwner() == IMainWindow::Focus::Other) {
                m_wnd.BringToFront();
                m_wnd.FocusPassword();
            }
            m_wnd.Invalidate(m_rcClock);
            m_wnd.SetTimer(TIMER_CYCLE, 1000);
        } else {
            OnWorkRestTick();
        }
        break;
    case TIMER_TASK:
        m_wnd.KillTimer(TIMER_TASK);
        if (m_bTaskTimerStep)
            SelectNextTask();
        else
            OnTaskDue();
        break;
    case TIMER_HOMEPAGE:
        CheckHomepage();  // stops timer 3; the fetch runs in the background
        break;
    case TIMER_HOST:
        m_wnd.KillTimer(TIMER_HOST);
        // A check still in flight is left to finish; the next one comes a period later.
        CheckHostStatus(m_strHostName);
        m_wnd.SetTimer(TIMER_HOST, MinutesMs(m_nHostInterval));
        break;
    case TIMER_MAIL:
        m_mailMonitor.OnTimer();  // stops it; a check that succeeds arms it again
        break;
    case TIMER_UPDATE:
        m_wnd.KillTimer(TIMER_UPDATE);
        if (m_bUpdatePrompted) break;
        CheckNewVersion(false);  // the prompt follows with the answer, if it is newer
        break;
    case TIMER_AUTOLOCK:
        OnAutoLockTick();
        break;
    default:
        break;
    }
}

void CMainDlg::ShowUpdatePrompt() {
    CRemindDlg dlg;
    dlg.m_nCountdown = 30;
    dlg.m_bAnimated = 1;
    dlg.m_strTitle = "本软件有更新版本";
    dlg.m_strMessage = "最新的版本为" + m_strLatestVersion + "\r\n\r\n现在就去软件主页进行下载升级？";
    m_bUpdatePrompted = 1;
    if (m_ports.dialogs.RunRemind(dlg) == IDOK) m_ports.system.ShellOpen(kStrHomepageB);
}

void CMainDlg::OnAutoLockTick() {
    if (m_bLocked || !m_bEyeCare) {
        m_wnd.KillTimer(TIMER_AUTOLOCK);
        return;
    }
    if (m_bWin9x) {
        m_bAutoLock = 0;
        m_wnd.KillTimer(TIMER_AUTOLOCK);
        return;
    }
    const uint32_t idle = m_ports.system.TickCount() - m_ports.system.LastInputTick();
    m_wnd.KillTimer(TIMER_AUTOLOCK);
    const uint32_t limit = MinutesMs(m_nAutoLockTimeout);
    if (idle >= limit)
        LockScreen();
    else if (m_bAutoLock)
        m_wnd.SetTimer(TIMER_AUTOLOCK, limit - idle + 5);
}

void CMainDlg::OnWorkRestTick() {
    if (m_bLocked) return;
    if (m_bResting) {
        if (m_nRestLeft > 0)
            RestTick();
        else
            BackToWork();
    } else {
        StartRest();
    }
}

void CMainDlg::StartRest() {
    if (m_bResting || m_bLocked) return;
    m_wnd.BringToFront();
    if (m_bAnimate) m_wnd.Animate(kAnimateMs, m_dwAnimEffects[m_nAnimEffect]);
    m_wnd.ShowFullScreen();
    m_wnd.Invalidate();
    m_wnd.FocusMain();
    m_nRestLeft = m_nBreakTime;
    m_bResting = 1;
    UpdateTrayTip();
    RestTick();
    if (m_bPlaySound) m_ports.system.PlayWave(m_strBreakWav, kSoundFlags);
    m_wnd.SetTimer(TIMER_CYCLE, 1000);
}

void CMainDlg::RestTick() {
    m_wnd.BringToFront();
    if (m_wnd.FocusOwner() == IMainWindow::Focus::Other) m_wnd.FocusMain();
    --m_nRestLeft;
    m_wnd.Invalidate(m_rcCountdown);
    m_wnd.Invalidate(m_rcClock);
}

void CMainDlg::BackToWork() {
    // Only the unlock attempt and an unlock task may end a lock, and they go through LeaveLock.
    if (m_bLocked) return;
    EndRestOrLock();
}

void CMainDlg::EndRestOrLock() {
    UpdateTrayTip();
    if (m_bEyeCare)
        m_wnd.SetTimer(TIMER_CYCLE, MinutesMs(m_nWorkTime));
    else
        m_wnd.KillTimer(TIMER_CYCLE);
    if (!m_bResting && !m_bLocked) return;
    m_strPassword.clear();
    m_wnd.SetPasswordText(m_strPassword);
    m_nRestLeft = 0;
    if (m_bAnimate && !m_bQuietReturn)
        m_wnd.Animate(kAnimateMs, m_dwAnimEffects[m_nAnimEffect] | AW_HIDE);
    else
        m_wnd.Hide();
    if (!m_bQuietReturn && m_bPicture && m_bAltPic) {
        const std::string next = NextRotationPicture(m_strPicFile);
        if (!next.empty() && next != m_strPicFile) {
            m_strPicFile = next;
            ReloadPicture();
        }
    }
    m_wnd.ActivateForegroundWindow();
    m_bResting = 0;
    m_bLocked = 0;
    if (m_bQuietReturn) {
        m_bQuietReturn = 0;
        return;
    }
    if (m_bPlaySound) m_ports.system.PlayWave(m_strWorkWav, kSoundFlags);
    if (m_bAutoLock) m_wnd.SetTimer(TIMER_AUTOLOCK, 1500);
}

void CMainDlg::OnToggleEyeCare() {
    m_bEyeCare = !m_bEyeCare;
    if (m_bLocked) {
        // Timer 1 keeps the lock's upkeep; leaving the lock starts work, or not, by the new switch.
        UpdateTrayTip();
        return;
    }
    if (m_bEyeCare) {
        BackToWork();
        return;
    }
    if (m_bResting) {
        // Without its timer the rest screen would stay up for good: end it, without show or sound.
        m_bQuietReturn = 1;
        BackToWork();
    }
    UpdateTrayTip();
    m_wnd.KillTimer(TIMER_CYCLE);
    m_wnd.KillTimer(TIMER_AUTOLOCK);
}

bool CMainDlg::OnKeyDown(unsigned vk) {
    if (!m_bBackKey) return false;
    if (vk == 0x57 || vk == 0x77) BackToWork();
    return true;
}

void CMainDlg::OnOK() {
    if (!m_bLocked) return;
    m_strPassword = m_wnd.PasswordText();
    if (m_bLockPass && m_strPassword != m_strSystemPwd) {
        m_strPassword.clear();
        m_wnd.SetPasswordText(m_strPassword);
        m_wnd.FocusPassword();
        return;
    }
    LeaveLock();
}

}  // namespace lumivar
