// Start-up, settings persistence, teardown, and the timers routed to their owners.
#include "app/MainDlg.h"

#include "base/AppName.h"
#include "base/Strings.h"
#include "resource.h"
#include "settings/IniFile.h"
#include "settings/SettingsIo.h"

namespace lumivar {

namespace {
// Ctrl+Shift with A, I and L, each given as the upper and the lower case letter. Key codes know
// no case: 'a' (0x61), 'i' (0x69) and 'l' (0x6C) are the number pad's 1, 9 and separator keys,
// which thus work too.
constexpr int kHotkeyKeys[6] = {0x41, 0x61, 0x49, 0x69, 0x6C, 0x4C};
constexpr int kFirstHotkey = IDH_REST_A;
// The first automatic update check, ten minutes after start.
constexpr uint32_t kFirstUpdateCheckMs = 600000;
constexpr uint32_t kFirstCheckAfterResumeMs = 60000;
}  // namespace

CMainDlg::CMainDlg(Ports ports) : m_ports(ports) {
    m_nid = {0, WM_TRAYNOTIFY, IDI_TRAY_START, kProductName};
    m_nidMail = {1, WM_MAILNOTIFY, IDI_MAIL, ""};
}

void CMainDlg::AddMainTrayIcon() {
    m_nid = {0, WM_TRAYNOTIFY, IDI_TRAY_START, kProductName};
    m_ports.tray.Notify(TrayOp::Add, m_nid);
}

bool CMainDlg::OnInitDialog() {
    m_lock.Restrictions().RepairAfterCrash();
    m_ports.window.SetIcon(m_hIcon);
    m_ports.window.PlaceOnDesktop();
    m_ports.window.ShowMinimized();
    AddMainTrayIcon();
    OnReloadSettings();
    m_settings.m_strVersion = kVersionText;
    m_strLatestVersion = kStrNoUpdateYet;
    SetRunAtStartup();
    m_bWin9x = m_ports.system.IsWin9x();
    m_mailMonitor.Start();  // the POP3 server and account; timer 5 when the monitor is on
    m_cycle.Start(Now());
    for (int i = 0; i < 6; ++i) m_ports.system.RegisterHotKey(kFirstHotkey + i, MOD_CONTROL | MOD_SHIFT, kHotkeyKeys[i]);
    m_hostMonitor.Start();
    m_homepageMonitor.Start();
    const Settings& s = m_settings;
    if (s.m_bAutoCheckNewVersion) m_ports.window.SetTimer(TIMER_UPDATE, kFirstUpdateCheckMs);
    if (s.m_bAutoLock) m_autoLockTimer.Set(MinutesMs(s.m_nAutoLockTimeout));
    if (s.m_bPicture) m_restScreen.LoadPicture();
    return true;
}

void CMainDlg::OnReloadSettings() {
    m_settings.m_nHomepageInterval = 2;  // a file without it gets the default again
    LoadSettings();
    SelectNextTask();
}

void CMainDlg::OnExit() {
    if (m_settings.m_bExitPass && !AskSystemPassword()) return;
    m_tasks.Stop();
    if (m_cycle.EyeCare()) m_ports.window.KillTimer(TIMER_CYCLE);
    if (m_settings.m_bHostMonitor) m_ports.window.KillTimer(TIMER_HOST);
    m_ports.window.KillTimer(TIMER_HOMEPAGE);
    m_ports.window.EndDialog(0);
}

void CMainDlg::OnDestroy() {
    if (m_bTornDown) return;  // the session's end came first
    m_bTornDown = 1;
    for (int i = 0; i < 6; ++i) m_ports.system.UnregisterHotKey(kFirstHotkey + i);
    for (int id = TIMER_CYCLE; id <= TIMER_WARN; ++id) m_ports.window.KillTimer(id);
    m_tasks.Stop();
    m_rotation.Close();
    UnlockScreen(true);
    m_restScreen.ReleasePicture();
    SaveSettings();
    m_ports.tray.Notify(TrayOp::Delete, {0, 0, 0, ""});
    m_ports.tray.Notify(TrayOp::Delete, {1, 0, 0, ""});
    m_bMailIconShown = 0;
}

// The end may still be cancelled: only what would be lost is saved here, and everything keeps
// running until the session really ends.
bool CMainDlg::OnQueryEndSession(bool defaultAnswer) {
    if (!defaultAnswer) return false;
    m_bSessionEnding = 1;
    SaveSettings();
    m_bSessionEnding = 0;
    return true;
}

void CMainDlg::OnEndSession(bool ending) {
    if (ending) OnDestroy();
}

void CMainDlg::OnTimeChange() { CatchUpTasks(); }

void CMainDlg::OnSuspend() { m_cycle.AwayBegins(CRestCycle::Asleep, Now()); }

// Windows says so twice when a person woke the computer; once is enough.
void CMainDlg::OnResume() {
    if (!m_cycle.AwayEnds(CRestCycle::Asleep, Now())) return;
    // The network is not up yet: the monitors look a minute on, one after the other.
    m_hostMonitor.Resumed(kFirstCheckAfterResumeMs);
    m_mailMonitor.Resumed(kFirstCheckAfterResumeMs + 10000);
    m_homepageMonitor.Resumed(kFirstCheckAfterResumeMs + 20000);
    CatchUpTasks();
}

void CMainDlg::OnSessionLock(bool locked) {
    if (locked)
        m_cycle.AwayBegins(CRestCycle::SessionLocked, Now());
    else
        m_cycle.AwayEnds(CRestCycle::SessionLocked, Now());
}

// Beside the program, named after it, unless an earlier run had to keep it per user.
std::string CMainDlg::IniPath() {
    if (!m_strIniPath.empty()) return m_strIniPath;
    m_strIniPath = BesideIniPath();
    const std::string user = UserIniPath();
    std::string bytes;
    if (!user.empty() && m_ports.files.ReadFile(user, bytes)) m_strIniPath = user;
    return m_strIniPath;
}

std::string CMainDlg::BesideIniPath() {
    std::string path = m_ports.system.ModuleFileName();
    if (path.size() >= 3) path.replace(path.size() - 3, 3, "ini");
    return path;
}

std::string CMainDlg::UserIniPath() {
    const std::string folder = m_ports.system.UserDataFolder();
    if (folder.empty()) return {};
    const std::string beside = BesideIniPath();
    return folder + "\\" + beside.substr(beside.rfind('\\') + 1);
}

bool CMainDlg::LoadSettings() {
    std::string bytes;
    if (m_ports.files.ReadFile(IniPath(), bytes)) {
        TaskList tasks = m_tasks.Entries();
        ReadSettings(IniFile(bytes), m_settings, tasks);
        m_tasks.SetEntries(std::move(tasks));
    }
    ApplyPeriods();
    return true;
}

void CMainDlg::SaveSettings() {
    // Edit the file as it is now, so lines we do not know survive the save.
    std::string bytes;
    m_ports.files.ReadFile(IniPath(), bytes);
    IniFile ini(bytes);
    WriteSettings(ini, m_settings, m_tasks.Entries());
    // A file edited elsewhere with bare LF would otherwise come back with two kinds of line end.
    const std::string text = WithCrLf(ini.Text());
    if (m_ports.files.WriteFileAtomic(IniPath(), text)) return;
    // A folder the user may not write (Program Files): the settings go on in the user's own.
    const std::string user = UserIniPath();
    if (IniPath() != user && !user.empty() && m_ports.files.WriteFileAtomic(user, text)) {
        m_strIniPath = user;
        return;
    }
    // Told once, and never while the session ends, when nobody can answer.
    if (m_bSaveFailTold || m_bTornDown || m_bSessionEnding) return;
    m_bSaveFailTold = 1;
    m_ports.dialogs.ShowMessage("无法保存设置，所做的修改在程序退出后将会丢失：\r\n" + IniPath(),
                                AppNameFromPath(m_ports.system.ModuleFileName()));
}

// A setting shown as on must be on: where the value cannot be written it goes off, and a person
// who has just turned it on is told.
void CMainDlg::SetRunAtStartup(bool justTurnedOn) {
    const std::string path = m_ports.system.ModuleFileName();
    if (m_ports.system.SetRunValue("Lumivar2003", m_settings.m_bStartup ? &path : nullptr) || !m_settings.m_bStartup)
        return;
    m_settings.m_bStartup = 0;
    if (justTurnedOn)
        m_ports.dialogs.ShowMessage("无法设置随系统启动：写不进当前用户的启动项。", AppNameFromPath(path));
}

void CMainDlg::ApplyPeriods() {
    const Settings& s = m_settings;
    m_cycle.SetPeriods(MinutesMs(s.m_nWorkTime), s.m_nBreakTime);
    m_cycle.SetDayRules({MinutesMs(s.m_nNaturalBreak), MinutesMs(s.m_nFullScreenWait), uint32_t(s.m_nPrewarn) * 1000});
}

void CMainDlg::OnTimer(int id) {
    switch (id) {
    case TIMER_CYCLE:
        m_cycle.OnTick(Now());
        break;
    case TIMER_TASK:
        CatchUpTasks();
        break;
    case TIMER_HOMEPAGE:
        CheckHomepage();  // stops timer 3; the fetch runs in the background
        break;
    case TIMER_HOST:
        m_hostMonitor.OnTimer();
        break;
    case TIMER_MAIL:
        m_mailMonitor.OnTimer();  // stops it; a check that succeeds arms it again
        break;
    case TIMER_UPDATE:
        m_ports.window.KillTimer(TIMER_UPDATE);
        if (m_bUpdatePrompted) break;
        CheckNewVersion(false);  // the prompt follows with the answer, if it is newer
        break;
    case TIMER_AUTOLOCK:
        OnAutoLockTick();
        break;
    case TIMER_IDLE:
        m_cycle.OnIdleTick(Now());
        break;
    case TIMER_WARN:
        m_cycle.OnWarnTick(Now());
        break;
    default:
        break;
    }
}

}  // namespace lumivar
