#include "rest/RestCycle.h"

#include <algorithm>
#include <utility>

namespace lumivar {

void CRestCycle::Start(uint32_t now) {
    m_phase = Phase::Starting;
    m_quiet = true;
    m_workSince = now;
    m_view.ArmCycleTimer(kStartMs);
}

void CRestCycle::OnTick(uint32_t now) {
    switch (m_phase) {
    case Phase::Locked:
        m_view.KeepLock();
        m_view.ArmCycleTimer(kSecondMs);
        break;
    case Phase::Starting:
    case Phase::Resting:
        if (m_restLeft > 0)
            RestTick();
        else
            EndRestOrLock(now);
        break;
    case Phase::Working:
        RestDue();
        break;
    }
}

// The rest comes unless nobody could see it, nobody is there, or a full-screen program would be
// cut off mid-sentence; then it waits a minute at a time, up to the limit.
void CRestCycle::RestDue() {
    if (m_away) {
        m_dueWhileAway = true;
        m_view.ArmCycleTimer(0);
        return;
    }
    if (NobodyThere()) {
        m_view.ArmCycleTimer(0);  // the return starts a new period
        WatchIdle();
        return;
    }
    if (m_heldMs < m_rules.fullScreenWaitMs && m_view.FullScreenInFront()) {
        const uint32_t wait = std::min(kFullScreenRetryMs, m_rules.fullScreenWaitMs - m_heldMs);
        m_heldMs += wait;
        m_view.ArmCycleTimer(wait);
        m_view.StateChanged();
        return;
    }
    StartRest();
}

void CRestCycle::StartRest() {
    if (m_phase != Phase::Working) return;
    StopDayTimers();
    m_view.ShowRestScreen();
    m_restLeft = m_restSeconds;
    m_phase = Phase::Resting;
    m_view.StateChanged();
    RestTick();
    m_view.PlaySound(IRestCycleView::Sound::Break);
    m_view.ArmCycleTimer(kSecondMs);
}

void CRestCycle::RestTick() {
    --m_restLeft;
    m_view.ShowCountdown();
}

void CRestCycle::BackToWork(uint32_t now) {
    if (m_phase == Phase::Locked) return;
    EndRestOrLock(now);
}

void CRestCycle::EndRestOrLock(uint32_t now) {
    m_view.StateChanged();
    StartWorkPeriod(now);
    if (m_phase == Phase::Working) return;
    m_view.HideScreen(m_quiet);
    m_restLeft = 0;
    m_phase = Phase::Working;
    if (m_quiet) {
        m_quiet = false;
        return;
    }
    m_view.PlaySound(IRestCycleView::Sound::Work);
    m_view.BackAtWork();
}

void CRestCycle::StartWorkPeriod(uint32_t now) {
    m_workSince = now;
    m_heldMs = 0;
    m_noticedAway = false;
    m_dueWhileAway = false;
    StopDayTimers();
    // With eye care off nothing is armed: the switch starts the next period.
    m_view.ArmCycleTimer(m_eyeCare ? m_workMs : 0);
    if (!m_eyeCare) return;
    if (m_rules.prewarnMs && m_workMs > m_rules.prewarnMs) m_view.ArmWarnTimer(m_workMs - m_rules.prewarnMs);
    if (m_rules.naturalBreakMs) WatchIdle();
}

void CRestCycle::StopDayTimers() {
    m_view.ArmIdleTimer(0);
    m_view.ArmWarnTimer(0);
}

// Looks again when the break would be reached; once it is, every little while for the return.
void CRestCycle::WatchIdle() {
    const uint32_t idle = m_view.IdleMs();
    if (idle >= m_rules.naturalBreakMs) {
        m_noticedAway = true;
        m_view.ArmIdleTimer(kAwayWatchMs);
    } else {
        m_view.ArmIdleTimer(m_rules.naturalBreakMs - idle + 5);
    }
}

void CRestCycle::OnIdleTick(uint32_t now) {
    if (m_phase != Phase::Working || !m_eyeCare || !m_rules.naturalBreakMs) {
        m_view.ArmIdleTimer(0);
        return;
    }
    if (m_noticedAway && !NobodyThere()) {
        StartWorkPeriod(now);  // back from a natural break: rested
        m_view.StateChanged();
        return;
    }
    WatchIdle();
}

void CRestCycle::OnWarnTick(uint32_t now) {
    m_view.ArmWarnTimer(0);
    const std::optional<uint32_t> left = NextRestIn(now);
    if (!left || !*left || m_away) return;
    if (NobodyThere()) return;  // nobody to warn
    m_view.WarnRestComing(int((*left + 500) / 1000));
}

void CRestCycle::AwayBegins(Away why, uint32_t now) {
    if (!m_away) m_awaySince = now;
    m_away |= why;
}

bool CRestCycle::AwayEnds(Away why, uint32_t now) {
    if (!(m_away & why)) return false;
    m_away &= ~unsigned(why);
    if (m_away) return true;
    const bool due = std::exchange(m_dueWhileAway, false);
    const uint32_t enough = m_rules.naturalBreakMs ? m_rules.naturalBreakMs : uint32_t(m_restSeconds) * kSecondMs;
    if (now - m_awaySince >= enough) {
        if (m_phase == Phase::Resting) m_quiet = true;  // rested already: no show and no sound
        if (m_phase == Phase::Working || m_phase == Phase::Resting) EndRestOrLock(now);
        return true;
    }
    if (due && m_phase == Phase::Working) RestDue();
    return true;
}

void CRestCycle::ToggleEyeCare(uint32_t now) {
    m_eyeCare = !m_eyeCare;
    if (m_phase == Phase::Locked) {
        // The lock's upkeep keeps the timer; leaving the lock starts work, or not, by the new switch.
        m_view.StateChanged();
        return;
    }
    if (m_eyeCare) {
        BackToWork(now);
        return;
    }
    if (Resting()) {
        // Without its timer the rest screen would stay up for good: end it, without show or sound.
        m_quiet = true;
        BackToWork(now);
    }
    m_view.StateChanged();
    m_view.ArmCycleTimer(0);
    StopDayTimers();
}

void CRestCycle::SettingsApplied(uint32_t now) {
    m_quiet = false;
    BackToWork(now);
}

bool CRestCycle::Lock() {
    if (m_phase == Phase::Locked) return false;
    StopDayTimers();
    m_heldMs = 0;
    if (Resting()) {
        m_view.ArmCycleTimer(0);
        m_restLeft = 0;
        m_view.CutRestShort();
    }
    m_phase = Phase::Locked;
    return true;
}

void CRestCycle::Unlock(uint32_t now) {
    if (m_phase != Phase::Locked) return;
    EndRestOrLock(now);
}

std::optional<uint32_t> CRestCycle::NextRestIn(uint32_t now) const {
    if (m_phase != Phase::Working || !m_eyeCare) return std::nullopt;
    const uint32_t gone = now - m_workSince;  // the tick count wraps; the difference does not
    return gone >= m_workMs ? 0 : m_workMs - gone;
}

}  // namespace lumivar
