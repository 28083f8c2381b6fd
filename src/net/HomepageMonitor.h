// The web page monitor: every few minutes it fetches one page and, when the body differs from
// the last one, plays a sound and offers to open the page. Fetches run in the background on
// copies of the address and the client; the stored page and the timer change on the GUI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/JobGuard.h"
#include "net/RobotInternet.h"
#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/System.h"
#include "ports/Window.h"
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

// What the web page monitor uses of the shell.
struct HomepagePorts {
    CTimer timer;  // its own timer of the main window
    IClock& clock;
    ISound& sound;
    IShell& shell;
    INotices& notices;
    IBackground& background;
    std::shared_ptr<const IHttpTransport> http;
};

class CHomepageMonitor {
public:
    static constexpr int kPromptSeconds = 30;

    struct Hooks {
        std::function<void()> updateTrayTip;
        std::function<void()> saveSettings;  // the monitor switched itself off after the fact
    };
    CHomepageMonitor(HomepagePorts ports, Settings& settings, Hooks hooks);
    CHomepageMonitor(const CHomepageMonitor&) = delete;
    CHomepageMonitor& operator=(const CHomepageMonitor&) = delete;

    // One check (its timer and ID_CHECK_HOMEPAGE). The timer stops now and runs again after the
    // check, failed or not, while the monitor is on. Nothing starts while a fetch is out.
    void CheckHomepage();
    void Start();  // at start-up: the timer runs while the monitor is on
    // After a sleep: the first check waits this long, for the network to come up.
    void Resumed(uint32_t delayMs) {
        if (m_settings.m_bHomepageWatch) m_ports.timer.Set(delayMs);
    }
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
    void UseProxyCredentials();
    void OnChecked(const std::string& address, const Fetch& fetch, const CJobGuard::Ticket& ticket);
    void OnBaseline(const Fetch& fetch, const CJobGuard::Ticket& ticket);

    HomepagePorts m_ports;
    Settings& m_settings;
    Hooks m_hooks;
    CRobotInternet m_robot;      // only its proxy credentials ever change
    std::string m_strLastPage;   // body at the last successful check; not persisted
    int m_bChecking = 0;
    int m_bBaseline = 0;
    int m_bBaselineAgain = 0;    // the settings changed again while a baseline fetch was out
    // Invalidated when the settings change: what a fetch started before brings is dropped.
    CJobGuard m_guard;
};

}  // namespace lumivar
