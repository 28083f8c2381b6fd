// The host reachability monitor: whether one other computer answers echoes, taken as the
// state of this computer's network connection. One check at a time, off the GUI thread; the
// state, and what a change of it shows, are the monitor's.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "base/JobGuard.h"
#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/Icmp.h"
#include "ports/System.h"
#include "ports/Window.h"
#include "settings/Settings.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

// What the host monitor uses of the shell.
struct HostPorts {
    CTimer timer;  // its own timer of the main window
    IIcmp& icmp;
    IBackground& background;
    IClock& clock;
    INotices& notices;
    IShell& shell;  // the program's name, for the title of the "error" box
};

class CHostMonitor {
public:
    static constexpr int kAttempts = 5;
    static constexpr int kPayloadSize = 40;
    static constexpr uint32_t kEchoTimeoutMs = 5000;

    // settings are the main window's; updateTrayTip rebuilds its tip and icon.
    CHostMonitor(HostPorts ports, Settings& settings, std::function<void()> updateTrayTip);
    CHostMonitor(const CHostMonitor&) = delete;
    CHostMonitor& operator=(const CHostMonitor&) = delete;

    // Resolves host and sends up to five echoes on a thread of their own; the answer comes on
    // the GUI thread: the "error" box if the ICMP library lacks its functions, then, if the
    // state changed, the new state, the tip and the prompt. The check counts as in flight
    // until its answer is through, prompt included. False, and nothing happens, when host is
    // empty or a check is in flight.
    bool Check(const std::string& host);
    void Start();  // at start-up: the timer runs while the monitor is on
    // After a sleep: the first check waits this long, for the network to come up.
    void Resumed(uint32_t delayMs) {
        if (m_settings.m_bHostMonitor) m_ports.timer.Set(delayMs);
    }
    void OnTimer();  // its timer: the next check, a period after this one
    bool InFlight() const { return m_bInFlight; }
    bool Reachable() const { return m_bReachable != 0; }

    // The settings dialog's step: nothing when the edited values equal the stored ones; else
    // stores them, the name trimmed, the monitor off on an empty name or no interval, and
    // restarts or stops the timer. A check out for another host, or out when the monitor
    // goes off, brings nothing.
    void ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName);

    // The notice of a change of state; `now` is local time.
    static CRemindDlg StatePrompt(const std::string& host, bool reachable, int countdown, const std::tm& now);

private:
    struct Outcome {
        bool reachable = false;
        bool libraryError = false;  // the "error" box is due
    };
    void OnChecked(const std::string& host, const Outcome& outcome, const CJobGuard::Ticket& ticket);

    HostPorts m_ports;
    Settings& m_settings;
    std::function<void()> m_updateTrayTip;
    int m_bReachable = 1;  // as the last check found it; not persisted
    bool m_bInFlight = false;
    CJobGuard m_guard;
};

}  // namespace lumivar
