// The hidden main window: owner of every timer, the tray icons, the hotkeys,
// the work/rest cycle and the lock. All its logic runs over the ports.
#pragma once

#include <string>
#include <vector>

#include "base/Text.h"
#include "net/HomepageMonitor.h"
#include "net/HostMonitor.h"
#include "net/MailMonitor.h"
#include "net/TcpStream.h"
#include "net/UpdateCheck.h"
#include "ports/Ports.h"
#include "settings/Settings.h"
#include "tasks/TaskTable.h"

namespace lumivar {

enum TimerId {
    TIMER_CYCLE = 1,
    TIMER_TASK = 2,
    TIMER_HOMEPAGE = 3,
    TIMER_HOST = 4,
    TIMER_MAIL = 5,
    TIMER_UPDATE = 6,
    TIMER_AUTOLOCK = 7,
};

inline constexpr unsigned WM_TRAYNOTIFY = 0x401;
inline constexpr unsigned WM_MAILNOTIFY = 0x402;
inline constexpr unsigned MOD_CONTROL = 0x2, MOD_SHIFT = 0x4;
inline constexpr unsigned EWX_LOGOFF = 0, EWX_REBOOT = 2, EWX_FORCE = 4, EWX_POWEROFF = 8;

class CMainDlg : public Settings, public TaskTable {
public:
    explicit CMainDlg(Ports ports);
    // With the TCP connections of the mail monitor and the mail page's test; without them no
    // mail check connects.
    CMainDlg(Ports ports, std::shared_ptr<const ITcpConnector> tcp) : CMainDlg(ports) {
        m_mailMonitor.UseTcp(std::move(tcp));
    }
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    // Start-up and lifecycle
    bool OnInitDialog();
    void OnExit();
    void OnDestroy();
    bool OnQueryEndSession(bool defaultAnswer);
    void OnTimeChange();
    void OnReloadSettings();
    void OnCancel() {}

    // Settings persistence
    bool LoadSettings();
    void SaveSettings();
    void SetRunAtStartup();
    std::string IniPath();

    // Timers and the eye-protection cycle
    void OnTimer(int id);
    void OnWorkRestTick();
    void StartRest();
    void RestTick();
    void BackToWork();
    void OnToggleEyeCare();
    bool OnKeyDown(unsigned vk);  // false: the key is swallowed, no default handling
    void OnOK();
    // The answer comes later, on the GUI thread (WebHandlers.cpp); timer 6's prompt with it.
    void CheckNewVersion(bool manual);

    // Tray
    int OnTrayNotify(unsigned id, unsigned mouseMessage);
    int OnMailTrayNotify(unsigned id, unsigned mouseMessage);
    void OnMailNoticeOk();
    void UpdateTrayTip();
    void ShowMailIcon(bool show, int count);
    void ResetTrayIcons();
    std::string TrayTipText() const;
    int TrayIconResource() const;

    // Hotkeys and commands
    int OnHotKey(int id);
    bool OnCommand(int id);  // false: no operation carries this id
    void OnAbout();
    void OnReadme();
    // Entry points of services still to come; until then they do nothing.
    void ShowSettings();
    void OnCheckMail();
    void OnCheckHomepage();
    void OnCheckHostStatus();

    // Host monitor (HostHandlers.cpp): false when host is empty or a check is in flight;
    // the new state arrives later, on the GUI thread.
    bool CheckHostStatus(const std::string& host);
    void ApplyHostSettings(int bMonitor, int nInterval, const std::string& hostName);
    CHostMonitor& HostMonitor() { return m_hostMonitor; }

    // Mail monitor (MailHandlers.cpp): then(false) once the check switched the monitor off;
    // nothing starts while a check is out.
    void CheckMail(std::function<void(bool)> then);
    void ApplyMailSettings(const MailSettings& edited);
    CMailMonitor& MailMonitor() { return m_mailMonitor; }

    // Web page monitor (WebHandlers.cpp).
    void CheckHomepage();
    void ApplyHomepageSettings(const HomepageSettings& edited);
    CHomepageMonitor& HomepageMonitor() { return m_homepageMonitor; }

    // Rest screen
    void OnPaint(IPainter& painter);
    bool OnEraseBkgnd(IPainter& painter);
    Rect ComputePictureRect();
    std::string NextRotationPicture(const std::string& current);
    void ChooseBackgroundPicture();

    // Tasks
    int SelectNextTask();
    void OnTaskDue();
    void OnTaskList();

    // Password protection
    bool AskSystemPassword();

    // System control
    void LockScreen();
    int UnlockScreen(bool unlock);
    void LeaveLock();
    void RepairAfterCrash();
    bool ShutdownComputer();
    bool ForceShutdownComputer();
    bool RebootComputer();
    bool LogoffUser();
    void StartScreenSaver();

    // Run-time state
    std::string m_strPassword;
    int m_hIcon = 128;  // IDI_APP
    int m_bPictureLoaded = 0;
    Rect m_rcCountdown{0, 0, 20, 20};
    Rect m_rcClock{0, 0, 20, 20};
    int m_bUpdatePrompted = 0;
    int m_bWin9x = 0;
    int m_bAboutOpen = 0;
    int m_bSettingsOpen = 0;
    int m_bTaskListOpen = 0;
    int m_nRestLeft = 0;
    int m_nTaskHour = 0, m_nTaskMinute = 0;
    int m_nNewMail = 0;
    std::string m_strCurNote, m_strCurTask;
    int m_nCurTaskIndex = -1;
    std::string m_strLatestVersion;
    TrayIcon m_nid;
    TrayIcon m_nidMail;
    int m_bMailIconShown = 0;
    int m_bResting = 0;
    int m_bEyeCare = 1;
    int m_bTaskTimer = 0;
    int m_bQuietReturn = 0;
    int m_bLocked = 0;
    int m_nAnimEffect = 0;
    uint32_t m_dwAnimEffects[5] = {AW_BLEND, AW_CENTER, AW_HOR_POSITIVE, AW_VER_POSITIVE, AW_VER_NEGATIVE};
    intptr_t m_hFind = -1;  // the picture rotation's listing cursor
    FindEntry m_findData;

private:
    void EndRestOrLock();
    static bool AllowedWhileLocked(int command);
    void ShowUpdatePrompt();
    void OnAutoLockTick();
    void ArmTaskTimer(int64_t dueSeconds);
    void RunTaskEntry(const TaskItem& item);
    void RunTask(const std::string& task);
    void AddMainTrayIcon();
    void ReloadPicture();
    void CloseRotation();

    Ports m_ports;
    IMainWindow& m_wnd;
    IBackgroundPicture& m_picture;
    // Timer 2 is armed for an intermediate step towards a task too far off for one timer.
    int m_bTaskTimerStep = 0;
    // Every entry due at the chosen moment, so that none of them is skipped.
    std::vector<TaskItem> m_dueTogether;
    // The task manager policy as it was before this program's lock changed it.
    RegistryValue m_policyBeforeLock;
    int m_bRestricted = 0;

    CHostMonitor m_hostMonitor{{.timer = {m_wnd, TIMER_HOST}, .icmp = m_ports.icmp, .background = m_ports.background,
                                .clock = m_ports.system, .notices = m_ports.dialogs, .shell = m_ports.system},
                               *this, [this] { UpdateTrayTip(); }};
    // Its connections come with the two-argument constructor.
    CMailMonitor m_mailMonitor{{.timer = {m_wnd, TIMER_MAIL}, .clock = m_ports.system, .notices = m_ports.dialogs,
                                .background = m_ports.background, .tcp = nullptr},
                               *this, m_nNewMail, [this] { UpdateTrayTip(); }};
    CHomepageMonitor m_homepageMonitor{{.timer = {m_wnd, TIMER_HOMEPAGE}, .clock = m_ports.system,
                                        .sound = m_ports.system, .shell = m_ports.system, .notices = m_ports.dialogs,
                                        .background = m_ports.background, .http = m_ports.http},
                                       *this, {[this] { UpdateTrayTip(); }, [this] { SaveSettings(); }}};
    CUpdateCheck m_updateCheck{{.notices = m_ports.dialogs, .shell = m_ports.system, .background = m_ports.background}};

public:
    // The host monitor's state under the name the tip's tests still set.
    int& m_bHostReachable = m_hostMonitor.ReachableForTests();
};

}  // namespace lumivar
