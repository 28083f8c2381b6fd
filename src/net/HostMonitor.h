// The host reachability monitor: whether one other computer answers echoes, taken as the
// state of this computer's network connection. One check at a time, off the GUI thread.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "ports/Background.h"
#include "ports/Icmp.h"
#include "settings/Settings.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

class CHostMonitor {
public:
    static constexpr int kAttempts = 5;
    static constexpr int kPayloadSize = 40;
    static constexpr uint32_t kEchoTimeoutMs = 5000;

    struct Outcome {
        bool reachable = false;
        bool libraryError = false;  // the "error" box is due
    };

    CHostMonitor(IIcmp& icmp, IBackground& background) : m_icmp(icmp), m_background(background) {}
    CHostMonitor(const CHostMonitor&) = delete;
    CHostMonitor& operator=(const CHostMonitor&) = delete;

    // Resolves host and sends up to five echoes on a thread of their own, then calls done on
    // the GUI thread. The check counts as in flight until done has returned, prompt included.
    // False, and nothing happens, when host is empty or a check is in flight.
    bool Start(const std::string& host, std::function<void(const Outcome&)> done);
    bool InFlight() const { return m_bInFlight; }

    // The notice of a change of state; `now` is local time.
    static CRemindDlg StatePrompt(const std::string& host, bool reachable, int countdown, const std::tm& now);

    // The settings dialog's step: false when the edited values equal the stored ones; else
    // stores them, trims the name and switches the monitor off on an empty name or no interval.
    static bool Apply(Settings& settings, int bMonitor, int nInterval, const std::string& hostName);

private:
    IIcmp& m_icmp;
    IBackground& m_background;
    bool m_bInFlight = false;
};

}  // namespace lumivar
