// The web page monitor: every few minutes it fetches one page and, when the body differs from
// the last one, plays a sound and offers to open the page. Fetches run in the background on
// copies of the address and the client; the stored page and the timer change on the GUI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/RobotInternet.h"
#include "ports/Ports.h"
#include "settings/Settings.h"

namespace lumivar {

// The six values of the web page settings, as the settings dialog's OK hands them over.
struct HomepageSettings {
    int bWatch = 0;
    int nInterval = 5;  // minutes
    std::string strAddress;
    int bProxy = 0;
    std::string strProxyUser;
    std::string strProxyPass;
    bool operator==(const HomepageSettings&) const = default;
};

class CHomepageMonitor {
public:
    static constexpr int kTimerId = 3;  // TIMER_HOMEPAGE
    static constexpr int kPromptSeconds = 30;

    struct Hooks {
        std::function<void()> updateTrayTip;
        std::function<void()> saveSettings;  // the monitor switched itself off after the fact
    };
        CHomepageMonitor(Ports ports, Settings& settings, Hooks hooks);
    CHomepageMonitor(const CHomepageMonitor&) = delete;
    CHomepageMonitor& operator=(const CHomepageMonitor&) = delete;

    // One check (timer 3 and ID_CHECK_HOMEPAGE). Timer 3 stops now and runs again after a
    // successful check while the monitor is on. Nothing starts while a fetch is out.
    void CheckHomepage();
    void ApplyHomepageSettings(const HomepageSettings& edited);
    HomepageSettings Current() const;

    bool Busy() const { return m_bChecking || m_bBaseline; }
    const std::string& LastPage() const { return m_strLastPage; }
    const CRobotInternet& Robot() const { return m_robot; }

    static uint32_t IntervalMs(int minutes);

private:
    struct Fetch {
        bool ok = false;
        int code = 0;
        std::string text;
        std::string body;
    };
    void StartBaseline();
    void OnChecked(const std::string& address, const Fetch& fetch, int generation);
    void OnBaseline(const Fetch& fetch, int generation);

    Ports m_ports;
    Settings& m_settings;
    Hooks m_hooks;
    CRobotInternet m_robot;      // only its proxy credentials ever change
    std::string m_strLastPage;   // body at the last successful check; not persisted
    int m_bChecking = 0;
    int m_bBaseline = 0;
    int m_bBaselineAgain = 0;    // the settings changed again while a baseline fetch was out
    // Bumped when the settings change: what a fetch started before brings is dropped.
    int m_nGeneration = 0;
};

}  // namespace lumivar
