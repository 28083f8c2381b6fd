#include "net/HomepageMonitor.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "base/LocalTime.h"
#include "base/Text.h"
#include "tasks/RemindDlg.h"

namespace lumivar {

CHomepageMonitor::CHomepageMonitor(HomepagePorts ports, Settings& settings, Hooks hooks)
    : m_ports(ports), m_settings(settings), m_hooks(std::move(hooks)), m_robot(ports.http) {}

uint32_t CHomepageMonitor::IntervalMs(int minutes) {
    // A hand-edited 0 would make the timer fire at once, over and over.
    return MinutesMs(std::max(1, minutes));
}

HomepageSettings CHomepageMonitor::Current() const {
    return {m_settings.m_bHomepageWatch, m_settings.m_nHomepageInterval, m_settings.m_strHomepageAddress,
            m_settings.m_bHomepageProxy, m_settings.m_strProxyUser, m_settings.m_strProxyPass};
}

void CHomepageMonitor::Start() {
    // A proxy that asks for credentials gets them from the first check on, not only after an edit.
    UseProxyCredentials();
    if (m_settings.m_bHomepageWatch) m_ports.timer.Set(IntervalMs(m_settings.m_nHomepageInterval));
}

void CHomepageMonitor::UseProxyCredentials() {
    m_robot.m_strProxyUserName = m_settings.m_bHomepageProxy ? m_settings.m_strProxyUser : "";
    m_robot.m_strProxyPassword = m_settings.m_bHomepageProxy ? m_settings.m_strProxyPass : "";
}

void CHomepageMonitor::CheckHomepage() {
    m_ports.timer.Kill();
    if (Busy()) return;  // the fetch that is out answers, and arms the timer again
    m_bChecking = 1;
    auto fetch = std::make_shared<Fetch>();
    const std::string address = m_settings.m_strHomepageAddress;
    m_ports.background.Run(
        [robot = m_robot, address, fetch]() mutable {
            fetch->ok = robot.HttpGet(address, fetch->body, fetch->code, fetch->text);
        },
        [this, address, fetch, ticket = m_guard.Issue()] {
            if (!ticket.OwnerGone()) OnChecked(address, *fetch, ticket);
        });
}

void CHomepageMonitor::OnChecked(const std::string& address, const Fetch& fetch, const CJobGuard::Ticket& ticket) {
    m_bChecking = 0;
    if (!ticket.Current()) return;
    // A failure is silent and tried again at the next interval: a laptop offline for one check
    // goes on watching, as its tip says.
    if (fetch.ok && fetch.body != m_strLastPage) {
        m_ports.sound.PlayWave("Remind.wav", SND_FILENAME | SND_ASYNC);
        m_strLastPage = fetch.body;
        CRemindDlg dlg;
        dlg.m_nCountdown = kPromptSeconds;
        dlg.m_bAnimated = 1;
        const std::tm now = LocalTime(m_ports.clock.Now());
        char title[32];
        std::snprintf(title, sizeof title, "网页内容 %02d:%02d", now.tm_hour, now.tm_min);
        dlg.m_strTitle = title;
        dlg.m_strMessage = "目标网页: " + address + "\r\n 已经改变! \r\n现在就去察看?";
        // The canonical URL: a bare "www.example.com" would be looked up as a file first.
        if (m_ports.notices.RunRemind(dlg) == IDOK) m_ports.shell.ShellOpen(CRobotInternet::CanonicalizeUrl(address));
        if (!ticket.Current()) return;  // new settings came in while the prompt was up
    }
    if (m_settings.m_bHomepageWatch) m_ports.timer.Set(IntervalMs(m_settings.m_nHomepageInterval));
}

void CHomepageMonitor::ApplyHomepageSettings(const HomepageSettings& edited) {
    if (edited == Current()) return;
    m_settings.m_bHomepageWatch = edited.bWatch;
    m_settings.m_nHomepageInterval = edited.nInterval;
    m_settings.m_strHomepageAddress = edited.strAddress;
    m_settings.m_bHomepageProxy = edited.bProxy;
    m_settings.m_strProxyUser = edited.strProxyUser;
    m_settings.m_strProxyPass = edited.strProxyPass;
    if (m_hooks.updateTrayTip) m_hooks.updateTrayTip();
    UseProxyCredentials();
    m_guard.Invalidate();
    // No periodic check may run against the old baseline while the new one is fetched.
    m_ports.timer.Kill();
    if (!m_settings.m_bHomepageWatch) {
        m_strLastPage.clear();
        return;
    }
    StartBaseline();
}

void CHomepageMonitor::StartBaseline() {
    if (m_bBaseline) {
        m_bBaselineAgain = 1;  // one fetch out at a time; this one follows it
        return;
    }
    m_bBaseline = 1;
    auto fetch = std::make_shared<Fetch>();
    fetch->body = m_strLastPage;  // a failed fetch keeps it or empties it, as HttpGet does
    m_ports.background.Run(
        [robot = m_robot, address = m_settings.m_strHomepageAddress, fetch]() mutable {
            fetch->ok = robot.HttpGet(address, fetch->body, fetch->code, fetch->text);
        },
        [this, fetch, ticket = m_guard.Issue()] {
            if (!ticket.OwnerGone()) OnBaseline(*fetch, ticket);
        });
}

void CHomepageMonitor::OnBaseline(const Fetch& fetch, const CJobGuard::Ticket& ticket) {
    m_bBaseline = 0;
    if (!ticket.Current()) {
        if (m_bBaselineAgain) {
            m_bBaselineAgain = 0;
            if (m_settings.m_bHomepageWatch) StartBaseline();
        }
        return;
    }
    m_strLastPage = fetch.body;
    if (fetch.ok) {
        m_ports.timer.Set(IntervalMs(m_settings.m_nHomepageInterval));
        return;
    }
    CRemindDlg dlg;
    dlg.m_nCountdown = kPromptSeconds;
    dlg.m_bAnimated = 1;
    dlg.m_strTitle = "网页监测配置";
    dlg.m_strMessage = "请检查您的目标网址的有效性，以及您的网络配置的正确性!\r\n由于网络连接出现错误，网页监测服务已终止。";
    m_ports.notices.RunRemind(dlg);
    if (!ticket.Current()) return;  // settings applied again meanwhile: theirs stand
    m_settings.m_bHomepageWatch = 0;
    m_ports.timer.Kill();
    if (m_hooks.updateTrayTip) m_hooks.updateTrayTip();
    if (m_hooks.saveSettings) m_hooks.saveSettings();
}

}  // namespace lumivar
