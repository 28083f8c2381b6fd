// The mail monitor: every few minutes it logs in to one POP3 mailbox, counts the waiting
// messages and tells the user when the count has grown. The network part of a check runs
// in the background on copies of the settings; what it found is applied on the GUI thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/JobGuard.h"
#include "net/TcpStream.h"
#include "ports/Background.h"
#include "ports/Dialogs.h"
#include "ports/System.h"
#include "ports/Window.h"
#include "settings/Settings.h"

namespace lumivar {

// The five values of the mail page, as the settings dialog's OK hands them over.
struct MailSettings {
    int bMailCheck = 0;
    int nMailInterval = 2;  // minutes
    std::string strMailPass;
    std::string strMailServer;
    std::string strMailUser;
    bool operator==(const MailSettings&) const = default;
};

// What the mail monitor uses of the shell.
struct MailPorts {
    CTimer timer;  // its own timer of the main window
    IClock& clock;
    INotices& notices;
    IBackground& background;
    std::shared_ptr<const ITcpConnector> tcp;  // none: no check ever connects
};

class CMailMonitor {
public:
    static constexpr int kPop3Port = 110;
    static constexpr int kPromptSeconds = 30;

    // settings and nNewMail are the main window's; updateTrayTip rebuilds its tip and mail icon.
    CMailMonitor(MailPorts ports, Settings& settings, int& nNewMail, std::function<void()> updateTrayTip);
    CMailMonitor(const CMailMonitor&) = delete;
    CMailMonitor& operator=(const CMailMonitor&) = delete;


    // Start-up: the checks take the server and account; the timer runs while the monitor is on.
    void Start();
    // After a sleep: the first check waits this long, for the network to come up.
    void Resumed(uint32_t delayMs) {
        if (m_settings.m_bMailCheck) m_ports.timer.Set(delayMs);
    }
    // One check. then(false) when the monitor switched itself off, then(true) otherwise.
    // False, and nothing happens, while another check is still out.
    bool CheckMail(std::function<void(bool)> then);
    void OnTimer();
    void ApplyMailSettings(const MailSettings& edited);

    bool CheckInFlight() const { return m_bInFlight != 0; }

private:
    struct Outcome {
        bool connected = false;
        int count = -1;
        bool quitOk = false;
    };
    void TakeSettings();
    bool ApplyOutcome(const Outcome& outcome, const CJobGuard::Ticket& ticket);
    void SwitchOff();
    void ArmTimer();

    MailPorts m_ports;
    Settings& m_settings;
    int& m_nNewMail;
    std::function<void()> m_updateTrayTip;
    // The server and account of the next check, as the settings stood when the monitor was
    // last started or switched on with new ones.
    std::string m_strServer, m_strUser, m_strPass;
    int m_bInFlight = 0;
    // A check asked for while one was out; it starts when that one is done.
    std::function<void(bool)> m_queued;
    int m_bQueued = 0;
    // Invalidated when the settings change: what a check started before finds, and the
    // user's answer to its question, no longer hold.
    CJobGuard m_guard;
};

}  // namespace lumivar
