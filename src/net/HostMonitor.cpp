#include "net/HostMonitor.h"

#include <cstdio>
#include <memory>

#include "base/AppName.h"
#include "base/LocalTime.h"
#include "base/Text.h"
#include "net/Ping.h"

namespace lumivar {

CHostMonitor::CHostMonitor(HostPorts ports, Settings& settings, std::function<void()> updateTrayTip)
    : m_ports(ports), m_settings(settings), m_updateTrayTip(std::move(updateTrayTip)) {}

bool CHostMonitor::Check(const std::string& host) {
    if (host.empty() || m_bInFlight) return false;
    m_bInFlight = true;
    // Opening the library is quick; only the look-up and the echoes wait on the network.
    auto ping = std::make_shared<CPing>(m_ports.icmp.OpenEcho());
    auto outcome = std::make_shared<Outcome>();
    outcome->libraryError = ping->m_bLibraryError;
    m_ports.background.Run(
        [ping, outcome, host] {
            if (!ping->m_bValid || !ping->Resolve(host)) return;
            std::string text;
            for (int i = 0; i < kAttempts && !outcome->reachable; ++i)
                outcome->reachable = ping->Ping(kPayloadSize, kEchoTimeoutMs, text);
        },
        [this, outcome, host, ticket = m_guard.Issue()] {
            if (ticket.OwnerGone()) return;
            if (ticket.Current()) OnChecked(host, *outcome, ticket);
            m_bInFlight = false;
        });
    return true;
}

void CHostMonitor::OnChecked(const std::string& host, const Outcome& outcome, const CJobGuard::Ticket& ticket) {
    if (outcome.libraryError)
        m_ports.notices.ShowMessage("error", AppNameFromPath(m_ports.shell.ModuleFileName()));
    // The box is modal: the settings may have changed while it was open.
    if (!ticket.Current() || int(outcome.reachable) == m_bReachable) return;
    m_bReachable = outcome.reachable;
    CRemindDlg dlg = StatePrompt(host, outcome.reachable, m_settings.m_nRemindTimeout, LocalTime(m_ports.clock.Now()));
    if (m_updateTrayTip) m_updateTrayTip();
    m_ports.notices.RunRemind(dlg);
}

CRemindDlg CHostMonitor::StatePrompt(const std::string& host, bool reachable, int countdown, const std::tm& now) {
    CRemindDlg dlg;
    dlg.m_nCountdown = countdown;
    dlg.m_bAnimated = 1;
    char title[64];
    std::snprintf(title, sizeof title, "网络连接状态 %02d:%02d", now.tm_hour, now.tm_min);
    dlg.m_strTitle = title;
    // The blank before the first line break belongs to the reachable text only.
    dlg.m_strMessage = "目标主机:" + host + (reachable ? " \r\n现在可以访问了!" : "\r\n现在不可到达!");
    return dlg;
}

void CHostMonitor::Start() {
    Settings& s = m_settings;
    if (s.m_strHostName.empty() || s.m_nHostInterval == 0) s.m_bHostMonitor = 0;
    if (s.m_bHostMonitor) m_ports.timer.Set(MinutesMs(s.m_nHostInterval));
}

void CHostMonitor::OnTimer() {
    m_ports.timer.Kill();
    // A check still in flight is left to finish; the next one comes a period later.
    Check(m_settings.m_strHostName);
    m_ports.timer.Set(MinutesMs(m_settings.m_nHostInterval));
}

void CHostMonitor::ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName) {
    Settings& s = m_settings;
    if (s.m_bHostMonitor == bMonitor && s.m_nHostInterval == nInterval && s.m_strHostName == hostName) return;
    const bool wasOn = s.m_bHostMonitor != 0;
    const std::string oldHost = s.m_strHostName;
    s.m_bHostMonitor = bMonitor;
    s.m_nHostInterval = nInterval;
    s.m_strHostName = std::string(Trim(hostName));
    if (s.m_strHostName.empty() || s.m_nHostInterval <= 0) s.m_bHostMonitor = 0;
    // Only the interval changed: a check out for the same host still tells the truth.
    if (s.m_strHostName != oldHost || (wasOn && !s.m_bHostMonitor)) m_guard.Invalidate();
    if (m_updateTrayTip) m_updateTrayTip();
    if (s.m_bHostMonitor)
        m_ports.timer.Set(MinutesMs(s.m_nHostInterval));
    else
        m_ports.timer.Kill();
}

}  // namespace lumivar
