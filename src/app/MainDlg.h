// The hidden main window: it owns the components and routes the window's messages, timers,
// hotkeys and commands to them. The cycle, the lock, the tasks, the rest screen and each
// monitor keep their own state; this class keeps what ties them together.
#pragma once

#include <functional>
#include <string>

#include "base/Text.h"
#include "net/HomepageMonitor.h"
#include "net/HostMonitor.h"
#include "net/MailMonitor.h"
#include "net/UpdateCheck.h"
#include "ports/Ports.h"
#include "resource.h"
#include "rest/PictureRotation.h"
#include "rest/RestCycle.h"
#include "rest/RestScreen.h"
#include "settings/Settings.h"
#include "system/ScreenLock.h"
#include "tasks/TaskScheduler.h"

namespace lumivar {

// The main window's timers; each component is handed its own.
enum TimerId {
    TIMER_CYCLE = 1,
    TIMER_TASK = 2,
    TIMER_HOMEPAGE = 3,
    TIMER_HOST = 4,
    TIMER_MAIL = 5,
    TIMER_UPDATE = 6,
    TIMER_AUTOLOCK = 7,
    TIMER_IDLE = 8,
    TIMER_WARN = 9,
};

inline constexpr unsigned WM_TRAYNOTIFY = 0x401;
inline constexpr unsigned WM_MAILNOTIFY = 0x402;
inline constexpr unsigned MOD_CONTROL = 0x2, MOD_SHIFT = 0x4;
inline constexpr unsigned EWX_LOGOFF = 0, EWX_REBOOT = 2, EWX_FORCE = 4, EWX_POWEROFF = 8;

class CMainDlg : private IRestCycleView {
public:
    explicit CMainDlg(Ports ports);
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    // Start-up and lifecycle (MainDlg.cpp)
    bool OnInitDialog();
    void OnExit();
    void OnDestroy();
    bool OnQueryEndSession(bool defaultAnswer);
    void OnEndSession(bool ending);  // false: the end was cancelled, nothing changes
    void OnTimeChange();
    // Sleep and Windows' own lock (MainDlg.cpp)
    void OnSuspend();
    void OnResume();
    void OnSessionLock(bool locked);
    void OnReloadSettings();
    void OnCancel() {}
    bool LoadSettings();
    void SaveSettings();
    void SetRunAtStartup(bool justTurnedOn = false);
    std::string IniPath();  // where the settings are read and saved
    void OnTimer(int id);

    // The work/rest cycle and the lock (Cycle.cpp)
    void OnWorkRestTick();
    void StartRest();
    void RestTick();
    void BackToWork();
    void OnToggleEyeCare();
    bool OnKeyDown(unsigned vk);  // false: the key is swallowed, no default handling
    void OnOK();
    void LockScreen();
    int UnlockScreen(bool unlock);
    void LeaveLock();
    void OnDisplayChange();  // monitors added, removed or resized
    void OnPaint(IPainter& painter);
    bool OnEraseBkgnd(IPainter& painter);
    bool ShutdownComputer();
    bool ForceShutdownComputer();
    bool RebootComputer();
    bool LogoffUser();
    void StartScreenSaver();

    // Commands, hotkeys and the tray (Commands.cpp)
    bool OnCommand(int id);  // false: no operation carries this id
    int OnHotKey(int id);
    int OnTrayNotify(unsigned id, unsigned mouseMessage);
    int OnMailTrayNotify(unsigned id, unsigned mouseMessage);
    void OnMailNoticeOk();
    void UpdateTrayTip();
    void ShowMailIcon(bool show, int count);
    void ResetTrayIcons();
    void OnTaskbarCreated();
    std::string TrayTipText() const;
    int TrayIconResource() const;
    void OnAbout();
    void OnReadme();

    // The program's dialogs (Dialogs.cpp)
    void ShowSettings();
    void OnTaskList();
    bool AskSystemPassword();
    void ChooseBackgroundPicture();

    // Tasks (Tasks.cpp)
    int SelectNextTask();
    void CatchUpTasks();  // the task timer fired or the clock was set

    // The monitors (Monitors.cpp). Their results arrive later, on the GUI thread.
    void CheckNewVersion(bool manual);
    bool CheckHostStatus(const std::string& host);  // false when host is empty or a check is out
    void ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName);
    void OnCheckHostStatus();
    void CheckMail(std::function<void(bool)> then);  // then(false): the check switched the monitor off
    void ApplyMailSettings(const MailSettings& edited);
    void OnCheckMail();
    void CheckHomepage();
    void OnCheckHomepage();
    void ApplyHomepageSettings(const HomepageSettings& edited);

    // What the parts hold, for the shells and the tests to read.
    const Settings& Config() const { return m_settings; }
    const CRestCycle& Cycle() const { return m_cycle; }
    const CTaskScheduler& Tasks() const { return m_tasks; }
    const CRestScreen& Screen() const { return m_restScreen; }
    CMailMonitor& MailMonitor() { return m_mailMonitor; }
    CHomepageMonitor& HomepageMonitor() { return m_homepageMonitor; }
    CHostMonitor& HostMonitor() { return m_hostMonitor; }
    int NewMail() const { return m_nNewMail; }
    bool HostReachable() const { return m_hostMonitor.Reachable(); }
    const std::string& LatestVersion() const { return m_strLatestVersion; }

private:
    // What the cycle asks for (Cycle.cpp).
    void ArmCycleTimer(uint32_t ms) override;
    void ShowRestScreen() override;
    void ShowCountdown() override;
    void HideScreen(bool quiet) override;
    void CutRestShort() override;
    void KeepLock() override;
    void PlaySound(Sound sound) override;
    void BackAtWork() override;
    void StateChanged() override { UpdateTrayTip(); }
    void ArmIdleTimer(uint32_t ms) override { ms ? m_idleTimer.Set(ms) : m_idleTimer.Kill(); }
    void ArmWarnTimer(uint32_t ms) override { ms ? m_warnTimer.Set(ms) : m_warnTimer.Kill(); }
    uint32_t IdleMs() override { return Now() - m_ports.system.LastInputTick(); }
    bool FullScreenInFront() override { return m_ports.system.FullScreenInFront(); }
    void WarnRestComing(int seconds) override;

    static bool AllowedWhileLocked(int command);
    std::string BesideIniPath();
    std::string UserIniPath();
    uint32_t Now() { return m_ports.system.TickCount(); }
    void ApplyPeriods();
    void OnAutoLockTick();
    void RunTaskEntry(const TaskItem& item);
    void RunTask(const std::string& task);
    void AddMainTrayIcon();
    void ShowUpdatePrompt();

    Ports m_ports;
    Settings m_settings;
    CRestCycle m_cycle{*this};
    CScreenLock m_lock{m_ports.window, m_ports.window, m_ports.system};
    CRestScreen m_restScreen{m_ports.window, m_ports.picture, m_settings};
    CPictureRotation m_rotation{m_ports.files};
    CTaskScheduler m_tasks{{m_ports.window, TIMER_TASK}};
    CTimer m_autoLockTimer{m_ports.window, TIMER_AUTOLOCK};
    CTimer m_idleTimer{m_ports.window, TIMER_IDLE};
    CTimer m_warnTimer{m_ports.window, TIMER_WARN};

    TrayIcon m_nid;
    TrayIcon m_nidMail;
    int m_bMailIconShown = 0;
    int m_hIcon = IDI_APP;
    int m_bWin9x = 0;
    int m_bTornDown = 0;
    std::string m_strIniPath;
    int m_bSaveFailTold = 0;
    int m_bSessionEnding = 0;
    // Each dialog opens once; a second request while it is open does nothing.
    int m_bAboutOpen = 0;
    int m_bSettingsOpen = 0;
    int m_bTaskListOpen = 0;
    std::string m_strLatestVersion;
    int m_bUpdatePrompted = 0;
    int m_nNewMail = 0;

    CHostMonitor m_hostMonitor{{.timer = {m_ports.window, TIMER_HOST}, .icmp = m_ports.icmp,
                                .background = m_ports.background, .clock = m_ports.system,
                                .notices = m_ports.dialogs, .shell = m_ports.system},
                               m_settings, [this] { UpdateTrayTip(); }};
    CMailMonitor m_mailMonitor{{.timer = {m_ports.window, TIMER_MAIL}, .clock = m_ports.system,
                                .notices = m_ports.dialogs, .background = m_ports.background, .tcp = m_ports.tcp},
                               m_settings, m_nNewMail, [this] { UpdateTrayTip(); }};
    CHomepageMonitor m_homepageMonitor{{.timer = {m_ports.window, TIMER_HOMEPAGE}, .clock = m_ports.system,
                                        .sound = m_ports.system, .shell = m_ports.system, .notices = m_ports.dialogs,
                                        .background = m_ports.background, .http = m_ports.http},
                                       m_settings, {[this] { UpdateTrayTip(); }, [this] { SaveSettings(); }}};
    CUpdateCheck m_updateCheck{{.notices = m_ports.dialogs, .shell = m_ports.system, .background = m_ports.background}};
};

}  // namespace lumivar
