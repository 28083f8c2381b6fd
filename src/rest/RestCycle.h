// The work/rest cycle as a state machine: fed events and the time, it decides, and asks its view
// to show, hide, sound and arm. It calls nothing else, so a test can run whole days of it.
#pragma once

#include <cstdint>
#include <optional>

namespace lumivar {

// What the cycle asks of the program.
class IRestCycleView {
public:
    enum class Sound { Break, Work };
    virtual ~IRestCycleView() = default;
    virtual void ArmCycleTimer(uint32_t ms) = 0;  // 0 stops it
    virtual void ShowRestScreen() = 0;            // in front, over every monitor
    virtual void ShowCountdown() = 0;             // a second of the rest went by
    virtual void HideScreen(bool quiet) = 0;      // the rest or the lock ends; quiet: no show, no new picture
    virtual void CutRestShort() = 0;              // the rest screen goes at once: the lock takes over
    virtual void KeepLock() = 0;                  // each second of the lock
    virtual void PlaySound(Sound sound) = 0;
    virtual void BackAtWork() = 0;                // after a return that was not quiet
    virtual void StateChanged() = 0;              // the switch or the phase changed: the tray tip
    virtual void ArmIdleTimer(uint32_t ms) = 0;   // the watch for a natural break; 0 stops it
    virtual void ArmWarnTimer(uint32_t ms) = 0;   // the warning before a rest; 0 stops it
    virtual uint32_t IdleMs() = 0;                // since the last key or mouse input
    virtual bool FullScreenInFront() = 0;         // a program fills its monitor: a film, a talk, a call
    virtual void WarnRestComing(int seconds) = 0;
};

// How the cycle follows the person's day; 0 switches each off.
struct DayRules {
    uint32_t naturalBreakMs = 0;    // this long without input is a rest
    uint32_t fullScreenWaitMs = 0;  // a rest waits this long at most for a full-screen program
    uint32_t prewarnMs = 0;         // the warning comes this long before the rest
};

class CRestCycle {
public:
    enum class Phase { Starting, Working, Resting, Locked };
    // The start-up pass: a silent return to work 10 ms after start.
    static constexpr uint32_t kStartMs = 10;
    static constexpr uint32_t kSecondMs = 1000;
    static constexpr uint32_t kFullScreenRetryMs = 60000;
    static constexpr uint32_t kAwayWatchMs = 2000;  // how soon a return is noticed
    // Why nobody can see a rest: the computer sleeps, or Windows has locked the session.
    enum Away : unsigned { Asleep = 1, SessionLocked = 2 };

    explicit CRestCycle(IRestCycleView& view) : m_view(view) {}

    // workMs: the working period; restSeconds: the rest's length. Read when a period starts.
    void SetPeriods(uint32_t workMs, int restSeconds) { m_workMs = workMs, m_restSeconds = restSeconds; }
    void SetDayRules(const DayRules& rules) { m_rules = rules; }

    void Start(uint32_t now);
    void OnTick(uint32_t now);            // the cycle's timer
    void StartRest();
    void BackToWork(uint32_t now);        // refused while locked
    void ToggleEyeCare(uint32_t now);
    // New settings: a full working period with them, and the return is not quiet any more.
    void SettingsApplied(uint32_t now);
    void RestTick();                      // a second of the rest
    bool Lock();                          // false when already locked
    void Unlock(uint32_t now);            // only the lock's own way out calls this
    void OnIdleTick(uint32_t now);        // the natural-break watch's timer
    void OnWarnTick(uint32_t now);        // the warning's timer
    // Time away of at least a natural break (or a rest, with those off) counts as a rest.
    void AwayBegins(Away why, uint32_t now);
    bool AwayEnds(Away why, uint32_t now);  // false when it was not away for that reason

    Phase GetPhase() const { return m_phase; }
    bool Resting() const { return m_phase == Phase::Resting || m_phase == Phase::Starting; }
    bool Locked() const { return m_phase == Phase::Locked; }
    bool EyeCare() const { return m_eyeCare; }
    int RestLeft() const { return m_restLeft; }
    bool WaitingForFullScreen() const { return m_heldMs > 0; }
    // Milliseconds until the next rest starts by itself; none while resting, locked or switched off.
    std::optional<uint32_t> NextRestIn(uint32_t now) const;

private:
    void EndRestOrLock(uint32_t now);
    void StartWorkPeriod(uint32_t now);
    void RestDue();
    void WatchIdle();
    bool NobodyThere() { return m_rules.naturalBreakMs && m_view.IdleMs() >= m_rules.naturalBreakMs; }
    void StopDayTimers();

    IRestCycleView& m_view;
    Phase m_phase = Phase::Starting;
    bool m_eyeCare = true;
    bool m_quiet = true;      // the next return shows nothing and sounds nothing
    int m_restLeft = 0;       // seconds
    uint32_t m_workMs = 0;
    int m_restSeconds = 0;
    uint32_t m_workSince = 0; // when the running working period began
    DayRules m_rules;
    bool m_noticedAway = false;  // a natural break was reached in this working period
    uint32_t m_heldMs = 0;       // how long the due rest has waited for a full-screen program
    unsigned m_away = 0;         // the Away reasons now
    uint32_t m_awaySince = 0;
    bool m_dueWhileAway = false;
};

}  // namespace lumivar
