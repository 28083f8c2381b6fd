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
};

class CRestCycle {
public:
    enum class Phase { Starting, Working, Resting, Locked };
    // The start-up pass: a silent return to work 10 ms after start.
    static constexpr uint32_t kStartMs = 10;
    static constexpr uint32_t kSecondMs = 1000;

    explicit CRestCycle(IRestCycleView& view) : m_view(view) {}

    // workMs: the working period; restSeconds: the rest's length. Read when a period starts.
    void SetPeriods(uint32_t workMs, int restSeconds) { m_workMs = workMs, m_restSeconds = restSeconds; }

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

    Phase GetPhase() const { return m_phase; }
    bool Resting() const { return m_phase == Phase::Resting || m_phase == Phase::Starting; }
    bool Locked() const { return m_phase == Phase::Locked; }
    bool EyeCare() const { return m_eyeCare; }
    int RestLeft() const { return m_restLeft; }
    // Milliseconds until the next rest starts by itself; none while resting, locked or switched off.
    std::optional<uint32_t> NextRestIn(uint32_t now) const;

private:
    void EndRestOrLock(uint32_t now);

    IRestCycleView& m_view;
    Phase m_phase = Phase::Starting;
    bool m_eyeCare = true;
    bool m_quiet = true;      // the next return shows nothing and sounds nothing
    int m_restLeft = 0;       // seconds
    uint32_t m_workMs = 0;
    int m_restSeconds = 0;
    uint32_t m_workSince = 0; // when the running working period began
};

}  // namespace lumivar
