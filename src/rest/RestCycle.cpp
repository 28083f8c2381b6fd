#include "rest/RestCycle.h"

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
        StartRest();
        break;
    }
}

void CRestCycle::StartRest() {
    if (m_phase != Phase::Working) return;
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
    m_workSince = now;
    // With eye care off nothing is armed: the switch starts the next period.
    m_view.ArmCycleTimer(m_eyeCare ? m_workMs : 0);
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
}

void CRestCycle::SettingsApplied(uint32_t now) {
    m_quiet = false;
    BackToWork(now);
}

bool CRestCycle::Lock() {
    if (m_phase == Phase::Locked) return false;
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
