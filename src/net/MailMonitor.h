// The mail monitor: every few minutes it logs in to one POP3 mailbox, counts the waiting
// messages and tells the user when the count has grown. The network part of a check runs
// in the background on copies of the settings; what it found is applied on the GUI thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "net/Pop3Connection.h"
#include "ports/Ports.h"
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

class CMailMonitor {
public:
    static constexpr int kPop3Port = 110;
    static constexpr int kPromptSeconds = 30;

    // settings and nNewMail are the main window's; updateTrayTip rebuilds its tip and mail icon.
    CMailMonitor(Ports ports, Settings& settings, int& nNewMail, std::function<void()> updateTrayTip);
    CMailMonitor(const CMailMonitor&) = delete;
    CMailMonitor& operator=(const CMailMonitor&) = delete;

    // Start-up: the client takes the server and account; timer 5 runs while the monitor is on.
    void Start();
    // One check. then(false) when the monitor switched itself off, then(true) otherwise.
    // False, and nothing happens, while another check is still out.
    bool CheckMail(std::function<void(bool)> then);
    void OnTimer();  // timer 5
    void ApplyMailSettings(const MailSettings& edited);

    bool CheckInFlight() const { return m_bInFlight != 0; }
    // The server and account the next check uses.
    const CPop3Connection& Client() const { return m_pop3; }
    // Tests talk to a server on a port of their own; the program always uses 110.
    void UsePortForTests(int port);
    void UseTimeoutForTests(int ms) { m_nTimeoutMs = ms; }

private:
    struct Outcome {
        bool connected = false;
        int count = -1;
        bool quitOk = false;
    };
    void TakeSettings();
    bool ApplyOutcome(const Outcome& outcome);
    void SwitchOff();
    void ArmTimer();

    Ports m_ports;
    Settings& m_settings;
    int& m_nNewMail;
    std::function<void()> m_updateTrayTip;
    // Holds the server and account only: each check connects with a copy of its own, so a
    // check still out when the program ends touches nothing of it.
    CPop3Connection m_pop3{"", kPop3Port, nullptr, nullptr};
    int m_nPort = kPop3Port;
    int m_nTimeoutMs = CPop3Connection::kTimeoutMs;
    int m_bInFlight = 0;
    // Bumped when the settings change: a check started before reports nothing.
    int m_nGeneration = 0;
    // A check asked for while one was out; it starts when that one is done.
    std::function<void(bool)> m_queued;
    int m_bQueued = 0;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

}  // namespace lumivar
