#include "net/MailMonitor.h"

#include <algorithm>
#include <cstdio>

#include "base/LocalTime.h"
#include "base/Text.h"
#include "net/Pop3Connection.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

CMailMonitor::CMailMonitor(MailPorts ports, Settings& settings, int& nNewMail, std::function<void()> updateTrayTip)
    : m_ports(std::move(ports)), m_settings(settings), m_nNewMail(nNewMail), m_updateTrayTip(std::move(updateTrayTip)) {}

void CMailMonitor::TakeSettings() {
    m_strServer = m_settings.m_strMailServer;
    m_strUser = m_settings.m_strMailUser;
    m_strPass = m_settings.m_strMailPass;
}

void CMailMonitor::Start() {
    TakeSettings();
    if (m_settings.m_bMailCheck) ArmTimer();
}

void CMailMonitor::ArmTimer() { m_ports.timer.Set(MinutesMs(std::max(1, m_settings.m_nMailInterval))); }

void CMailMonitor::SwitchOff() {
    m_settings.m_bMailCheck = 0;
    m_ports.timer.Kill();
    m_updateTrayTip();
}

bool CMailMonitor::CheckMail(std::function<void(bool)> then) {
    if (m_bInFlight) return false;
    m_bInFlight = 1;
    auto outcome = std::make_shared<Outcome>();
    // The work has copies of its own, the connector included: it may outlive the monitor.
    auto work = [outcome, tcp = m_ports.tcp, server = m_strServer, user = m_strUser, pass = m_strPass] {
        CPop3Connection pop3(server.c_str(), kPop3Port, user.c_str(), pass.c_str(), tcp ? tcp->NewStream() : nullptr);
        outcome->connected = pop3.Connect();
        if (!outcome->connected) return;
        outcome->count = pop3.Stat();
        if (outcome->count >= 0) outcome->quitOk = pop3.Quit();
    };
    auto done = [this, ticket = m_guard.Issue(), outcome, then = std::move(then)] {
        if (ticket.OwnerGone()) return;
        const bool on = !ticket.Current() || ApplyOutcome(*outcome, ticket);
        m_bInFlight = 0;
        // Asked again: new settings may have come in while a prompt was open.
        if (ticket.Current() && then) then(on);
        if (m_bQueued) {
            m_bQueued = 0;
            CheckMail(std::move(m_queued));
        }
    };
    m_ports.background.Run(std::move(work), std::move(done));
    return true;
}

// What a check found, applied in order: the tip changes before any prompt shows.
bool CMailMonitor::ApplyOutcome(const Outcome& outcome, const CJobGuard::Ticket& ticket) {
    CRemindDlg dlg;
    dlg.m_nCountdown = kPromptSeconds;
    dlg.m_bAnimated = 1;
    if (!outcome.connected) {
        dlg.m_strTitle = "邮件监测器配置";
        dlg.m_strMessage =
            "网络连接或账户认证失败，可能是其他邮件程序正在进行认证。请检查您的邮箱设置和网络设置的有效性!"
            "在确认之后请选择：\r\n是否继续监测？";
        // The answer is about the settings of this check; those applied meanwhile stand.
        if (m_ports.notices.RunRemind(dlg) == IDOK || !ticket.Current()) return true;
        SwitchOff();
        return false;
    }
    if (outcome.count < 0) {
        SwitchOff();
        return false;
    }
    if (!outcome.quitOk || outcome.count == m_nNewMail) return true;
    const int previous = m_nNewMail;
    m_nNewMail = outcome.count;
    m_updateTrayTip();
    if (outcome.count > previous) {
        const std::tm now = LocalTime(m_ports.clock.Now());
        char title[64];
        std::snprintf(title, sizeof title, "邮件监测器 %02d:%02d", now.tm_hour, now.tm_min);
        dlg.m_strTitle = title;
        dlg.m_strMessage = "邮件服务器" + m_strServer + "\r\n收到" + std::to_string(outcome.count) + "封新邮件!";
        m_ports.notices.RunRemind(dlg);
    }
    return true;
}

void CMailMonitor::OnTimer() {
    m_ports.timer.Kill();
    if (!m_settings.m_bMailCheck) return;
    // A check already out (asked for from the menu) stands for this one; the next comes on time.
    if (!CheckMail([this](bool on) {
            if (on) ArmTimer();
        }))
        ArmTimer();
}

void CMailMonitor::ApplyMailSettings(const MailSettings& edited) {
    Settings& s = m_settings;
    if (s.m_bMailCheck == edited.bMailCheck && s.m_nMailInterval == edited.nMailInterval &&
        s.m_strMailPass == edited.strMailPass && s.m_strMailServer == edited.strMailServer &&
        s.m_strMailUser == edited.strMailUser)
        return;
    s.m_bMailCheck = edited.bMailCheck;
    s.m_nMailInterval = edited.nMailInterval;
    s.m_strMailPass = edited.strMailPass;
    s.m_strMailServer = edited.strMailServer;
    s.m_strMailUser = edited.strMailUser;
    m_guard.Invalidate();
    m_bQueued = 0;
    m_queued = nullptr;
    m_updateTrayTip();
    if (!s.m_bMailCheck) {
        m_ports.timer.Kill();
        return;
    }
    TakeSettings();
    auto then = [this](bool on) {
        if (on) ArmTimer();
    };
    if (!CheckMail(then)) {
        m_queued = std::move(then);
        m_bQueued = 1;
    }
}

}  // namespace lumivar
