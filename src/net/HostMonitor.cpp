#include "net/HostMonitor.h"

#include <cstdio>
#include <memory>

#include "base/Text.h"
#include "net/Ping.h"

namespace lumivar {

bool CHostMonitor::Start(const std::string& host, std::function<void(const Outcome&)> done) {
    if (host.empty() || m_bInFlight) return false;
    m_bInFlight = true;
    // Opening the library is quick; only the look-up and the echoes wait on the network.
    auto ping = std::make_shared<CPing>(m_icmp.OpenEcho());
    auto outcome = std::make_shared<Outcome>();
    outcome->libraryError = ping->m_bLibraryError;
    m_background.Run(
        [ping, outcome, host] {
            if (!ping->m_bValid || !ping->Resolve(host)) return;
            std::string text;
            for (int i = 0; i < kAttempts && !outcome->reachable; ++i)
                outcome->reachable = ping->Ping(kPayloadSize, kEchoTimeoutMs, text);
        },
        [this, outcome, done = std::move(done)] {
            done(*outcome);
            m_bInFlight = false;
        });
    return true;
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

bool CHostMonitor::Apply(Settings& s, int bMonitor, int nInterval, const std::string& hostName) {
    if (s.m_bHostMonitor == bMonitor && s.m_nHostInterval == nInterval && s.m_strHostName == hostName) return false;
    s.m_bHostMonitor = bMonitor;
    s.m_nHostInterval = nInterval;
    s.m_strHostName = std::string(Trim(hostName));
    if (s.m_strHostName.empty() || s.m_nHostInterval <= 0) s.m_bHostMonitor = 0;
    return true;
}

}  // namespace lumivar
