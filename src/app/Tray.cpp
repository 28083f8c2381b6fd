// The tray icons and the status tip.
#include <cstdio>

#include "app/MainDlg.h"
#include "base/Strings.h"
#include "resource.h"

namespace lumivar {

std::string CMainDlg::TrayTipText() const {
    std::string tip = m_bEyeCare ? "眸安星:\n视力保护已启动" : "眸安星:\n视力保护未启动";
    char buf[64];
    if (!m_bRemind) {
        tip += "\n提醒服务未启动";
    } else if (m_nTaskCount > 0) {
        std::snprintf(buf, sizeof buf, "\n当前任务时间%02d:%02d", m_nTaskHour, m_nTaskMinute);
        tip += buf;
    } else {
        tip += "\n没有任务提醒";
    }
    if (!m_bMailCheck) {
        tip += "\n邮件监测未启动";
    } else if (m_nNewMail > 0) {
        std::snprintf(buf, sizeof buf, "\n有%d封邮件", m_nNewMail);
        tip += buf;
    } else {
        tip += "\n没有新邮件";
    }
    tip += m_bHomepageWatch ? "\n网页监测已启动" : "\n网页监测未启动";
    if (!m_bHostMonitor)
        tip += "\n网络状态监测未启动";
    else
        tip += m_hostMonitor.Reachable() ? "\n网络状态:可连接" : "\n网络状态:不可连接";
    return tip;
}

int CMainDlg::TrayIconResource() const {
    if (m_bEyeCare) return m_hostMonitor.Reachable() ? IDI_EYE_ON : IDI_EYE_ON_NOHOST;
    return m_hostMonitor.Reachable() ? IDI_EYE_OFF : IDI_EYE_OFF_NOHOST;
}

void CMainDlg::UpdateTrayTip() {
    m_nid.id = 0;
    m_nid.callbackMessage = WM_TRAYNOTIFY;
    m_nid.iconResource = TrayIconResource();
    ShowMailIcon(m_nNewMail > 0, m_nNewMail > 0 ? m_nNewMail : 0);
    m_nid.tip = TrayTipText();
    m_ports.tray.Notify(TrayOp::Modify, m_nid);
}

void CMainDlg::ShowMailIcon(bool show, int count) {
    m_nidMail = {1, WM_MAILNOTIFY, IDI_MAIL, "您有" + std::to_string(count) + "封新邮件!"};
    if (show) {
        m_ports.tray.Notify(m_bMailIconShown ? TrayOp::Modify : TrayOp::Add, m_nidMail);
        m_bMailIconShown = 1;
    } else {
        if (m_bMailIconShown) m_ports.tray.Notify(TrayOp::Delete, m_nidMail);
        m_bMailIconShown = 0;
    }
}

void CMainDlg::ResetTrayIcons() {
    m_ports.tray.Notify(TrayOp::Delete, {0, 0, 0, ""});
    m_ports.tray.Notify(TrayOp::Delete, {1, 0, 0, ""});
    m_bMailIconShown = 0;
    AddMainTrayIcon();
    UpdateTrayTip();
}

int CMainDlg::OnTrayNotify(unsigned /*id*/, unsigned mouseMessage) {
    switch (mouseMessage) {
    case 0x203:  // WM_LBUTTONDBLCLK
        if (!m_bLocked) ShowSettings();
        break;
    case 0x202:  // WM_LBUTTONUP
        OnToggleEyeCare();
        break;
    case 0x205:  // WM_RBUTTONUP
        m_ports.tray.PopupMenu(IDR_TRAY_MENU, ID_SETTINGS, ID_EYE_CARE, m_bEyeCare);
        break;
    default:
        break;
    }
    return 0;
}

int CMainDlg::OnMailTrayNotify(unsigned /*id*/, unsigned mouseMessage) {
    if (mouseMessage == 0x202 || mouseMessage == 0x205) m_ports.tray.PopupMenu(IDR_MAIL_MENU, 0, 0, false);
    return 0;
}

void CMainDlg::OnMailNoticeOk() {
    m_nNewMail = 0;
    UpdateTrayTip();
}

int CMainDlg::OnHotKey(int id) {
    switch (id) {
    case IDH_REST_A:
    case IDH_REST_B:
        StartRest();
        break;
    case IDH_TRAY_A:
    case IDH_TRAY_B:
        ResetTrayIcons();
        break;
    case IDH_LOCK_A:
    case IDH_LOCK_B:
        LockScreen();
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace lumivar
