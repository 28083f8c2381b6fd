// Start-up, settings persistence and teardown of the main window.
#include "app/MainDlg.h"

#include "base/Strings.h"
#include "resource.h"
#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {

namespace {
constexpr int kHotkeyKeys[6] = {0x41, 0x61, 0x49, 0x69, 0x6C, 0x4C};
constexpr int kFirstHotkey = IDH_REST_A;
}  // namespace

CMainDlg::CMainDlg(Ports ports) : m_ports(ports), m_wnd(ports.window), m_picture(ports.picture) {
    m_nid = {0, WM_TRAYNOTIFY, IDI_TRAY_START, kProductName};
    m_nidMail = {1, WM_MAILNOTIFY, IDI_MAIL, ""};
}

void CMainDlg::AddMainTrayIcon() {
    m_nid = {0, WM_TRAYNOTIFY, IDI_TRAY_START, kProductName};
    m_ports.tray.Notify(TrayOp::Add, m_nid);
}

bool CMainDlg::OnInitDialog() {
    RepairAfterCrash();
    m_wnd.SetIcon(m_hIcon);
    m_wnd.PlaceOnDesktop();
    m_wnd.ShowMinimized();
    AddMainTrayIcon();
    OnReloadSettings();
    m_strVersion = kVersionText;
    m_strLatestVersion = kStrNoUpdateYet;
    SetRunAtStartup();
    m_bWin9x = m_ports.system.IsWin9x();
    m_mailMonitor.Start();  // the POP3 server and account; timer 5 when the monitor is on
    m_bResting = 1;
    m_bQuietReturn = 1;
    for (int i = 0; i < 6; ++i) m_ports.system.RegisterHotKey(kFirstHotkey + i, MOD_CONTROL | MOD_SHIFT, kHotkeyKeys[i]);
    if (m_strHostName.empty() || m_nHostInterval == 0) m_bHostMonitor = 0;
    if (m_bHostMonitor) m_wnd.SetTimer(TIMER_HOST, MinutesMs(m_nHostInterval));
    if (m_bHomepageWatch) m_wnd.SetTimer(TIMER_HOMEPAGE, MinutesMs(m_nHomepageInterval));
    if (m_bAutoCheckNewVersion) m_wnd.SetTimer(TIMER_UPDATE, 600000);
    m_wnd.SetTimer(TIMER_CYCLE, 10);
    if (m_bAutoLock) m_wnd.SetTimer(TIMER_AUTOLOCK, MinutesMs(m_nAutoLockTimeout));
    m_hFind = -1;
    if (m_bPicture) m_bPictureLoaded = m_picture.Load(m_strPicFile);
    return true;
}

void CMainDlg::OnReloadSettings() {
    m_nHomepageInterval = 2;
    LoadSettings();
    SelectNextTask();
}

void CMainDlg::OnExit() {
    if (m_bExitPass && !AskSystemPassword()) return;
    if (m_bTaskTimer) m_wnd.KillTimer(TIMER_TASK);
    if (m_bEyeCare) m_wnd.KillTimer(TIMER_CYCLE);
    if (m_bHostMonitor) m_wnd.KillTimer(TIMER_HOST);
    m_wnd.KillTimer(TIMER_HOMEPAGE);
    m_wnd.EndDialog(0);
}

void CMainDlg::OnDestroy() {
    for (int i = 0; i < 6; ++i) m_ports.system.UnregisterHotKey(kFirstHotkey + i);
    for (int id = TIMER_CYCLE; id <= TIMER_AUTOLOCK; ++id) m_wnd.KillTimer(id);
    m_bTaskTimerStep = 0;
    CloseRotation();
    UnlockScreen(true);
    if (m_bPictureLoaded) {
        m_picture.Release();
        m_bPictureLoaded = 0;
    }
    SaveSettings();
    m_ports.tray.Notify(TrayOp::Delete, {0, 0, 0, ""});
    m_ports.tray.Notify(TrayOp::Delete, {1, 0, 0, ""});
    m_bMailIconShown = 0;
}

bool CMainDlg::OnQueryEndSession(bool defaultAnswer) {
    if (!defaultAnswer) return false;
    OnDestroy();
    return true;
}

void CMainDlg::OnTimeChange() { SelectNextTask(); }

std::string CMainDlg::IniPath() {
    std::string path = m_ports.system.ModuleFileName();
    if (path.size() >= 3) path.replace(path.size() - 3, 3, "ini");
    return path;
}

bool CMainDlg::LoadSettings() {
    std::string bytes;
    if (m_ports.files.ReadFile(IniPath(), bytes)) ReadSettings(IniFile(bytes), *this, *this);
    return true;
}

void CMainDlg::SaveSettings() {
    // Edit the file as it is now, so lines we do not know survive the save.
    std::string bytes;
    m_ports.files.ReadFile(IniPath(), bytes);
    IniFile ini(bytes);
    WriteSettings(ini, *this, *this);
    m_ports.files.WriteFileAtomic(IniPath(), ini.Text());
}

void CMainDlg::SetRunAtStartup() {
    const std::string path = m_ports.system.ModuleFileName();
    m_ports.system.SetRunValue("Lumivar2003", m_bStartup ? &path : nullptr);
}

}  // namespace lumivar
