// The program's own dialogs: the settings, the task list, the password prompt and the
// picture chooser. Each works on copies; what is confirmed is applied at once.
#include "app/MainDlg.h"
#include "base/AppName.h"
#include "rest/PictureRect.h"
#include "settings/SettingsDlg.h"
#include "tasks/TaskDialogs.h"

namespace lumivar {

namespace {
// After the settings change, the next automatic update check comes two minutes later.
constexpr uint32_t kUpdateCheckAfterSettingsMs = 120000;
}  // namespace

void CMainDlg::ShowSettings() {
    Settings& s = m_settings;
    if (m_bSettingsOpen) return;
    if (s.m_bConfigPass && !AskSystemPassword()) return;

    CSettingsDlg dlg({m_ports.background, m_ports.system, m_ports.dialogs, m_ports.http, m_ports.tcp});
    CPasswordPage& pwd = dlg.m_password;
    pwd.m_bConfigPass = s.m_bConfigPass, pwd.m_bExitPass = s.m_bExitPass, pwd.m_bLockPass = s.m_bLockPass;
    pwd.m_strPassword = pwd.m_strConfirm = s.m_strSystemPwd;
    CGeneralPage& gen = dlg.m_general;
    gen.m_nWorkTime = s.m_nWorkTime, gen.m_nBreakTime = s.m_nBreakTime;
    gen.m_bDisplayTxt = s.m_bDisplayTxt, gen.m_strText = s.m_strText, gen.m_bAnimate = s.m_bAnimate;
    gen.m_crBackColor = s.m_crBackColor, gen.m_crTextColor = s.m_crTextColor;
    gen.m_bPicture = s.m_bPicture, gen.m_bStretch = s.m_bStretch, gen.m_bAltPic = s.m_bAltPic, gen.m_strPicFile = s.m_strPicFile;
    gen.m_bPlaySound = s.m_bPlaySound, gen.m_strBreakWav = s.m_strBreakWav, gen.m_strWorkWav = s.m_strWorkWav;
    gen.m_strRemindWav = s.m_strRemindWav;
    gen.m_bBackKey = s.m_bBackKey, gen.m_bStartup = s.m_bStartup, gen.m_bAutoCheckNewVersion = s.m_bAutoCheckNewVersion;
    gen.m_bAutoLock = s.m_bAutoLock, gen.m_nAutoLockTimeout = s.m_nAutoLockTimeout;
    dlg.m_mail.FromSettings(s);
    dlg.m_network.FromSettings(s);
    dlg.m_day.FromSettings(s);
    dlg.m_homepage.SetValues({s.m_bHomepageWatch, s.m_nHomepageInterval, s.m_strHomepageAddress, s.m_bHomepageProxy,
                              s.m_strProxyUser, s.m_strProxyPass});

    m_bSettingsOpen = 1;
    const int result = m_ports.dialogs.RunSettings(dlg);
    m_bSettingsOpen = 0;
    if (result != IDOK) return;

    s.m_bConfigPass = pwd.m_bConfigPass, s.m_bExitPass = pwd.m_bExitPass, s.m_bLockPass = pwd.m_bLockPass;
    s.m_strSystemPwd = pwd.m_strPassword;
    s.m_strText = gen.m_strText;
    s.m_crBackColor = gen.m_crBackColor, s.m_crTextColor = gen.m_crTextColor;
    s.m_bPicture = gen.m_bPicture, s.m_strPicFile = gen.m_strPicFile;
    s.m_bStretch = gen.m_bStretch, s.m_bAutoCheckNewVersion = gen.m_bAutoCheckNewVersion;
    s.m_bAnimate = gen.m_bAnimate, s.m_bAltPic = gen.m_bAltPic;
    if (s.m_bAutoCheckNewVersion)
        m_ports.window.SetTimer(TIMER_UPDATE, kUpdateCheckAfterSettingsMs);
    else
        m_ports.window.KillTimer(TIMER_UPDATE);
    s.m_bAutoLock = gen.m_bAutoLock, s.m_nAutoLockTimeout = gen.m_nAutoLockTimeout;
    if (s.m_nAutoLockTimeout < 1) s.m_nAutoLockTimeout = 5;
    if (s.m_bAutoLock)
        m_autoLockTimer.Set(1000);
    else
        m_autoLockTimer.Kill();
    m_rotation.Close();
    if (s.m_bPicture)
        m_restScreen.LoadPicture();
    else
        m_restScreen.ReleasePicture();
    s.m_strRemindWav = gen.m_strRemindWav, s.m_strBreakWav = gen.m_strBreakWav, s.m_strWorkWav = gen.m_strWorkWav;
    s.m_nBreakTime = gen.m_nBreakTime, s.m_bPlaySound = gen.m_bPlaySound, s.m_nWorkTime = gen.m_nWorkTime;
    s.m_bDisplayTxt = gen.m_bDisplayTxt;
    const bool turnedOn = gen.m_bStartup && !s.m_bStartup;
    s.m_bBackKey = gen.m_bBackKey, s.m_bStartup = gen.m_bStartup;
    dlg.m_day.ToSettings(s);
    SetRunAtStartup(turnedOn);
    ApplyPeriods();
    m_cycle.SettingsApplied(Now());  // while locked this leaves the lock standing
    UpdateTrayTip();
    ApplyHostSettings(dlg.m_network.m_bHostMonitor, dlg.m_network.m_nHostInterval, dlg.m_network.m_strHostName);
    ApplyMailSettings(dlg.m_mail.Edited());
    ApplyHomepageSettings(dlg.m_homepage.Values());
    SaveSettings();
}

void CMainDlg::OnTaskList() {
    if (m_bTaskListOpen) return;
    if (m_settings.m_bConfigPass && !AskSystemPassword()) return;

    CTaskListDlg dlg;
    // Shown in due order as last scheduled.
    const TaskList shown = m_tasks.InDueOrder();
    dlg.m_nItemCount = int(shown.size());
    for (int i = 0; i < dlg.m_nItemCount; ++i) dlg.m_items[i] = shown[i];
    dlg.m_bEnable = m_settings.m_bRemind;
    dlg.m_nPromptSeconds = m_settings.m_nRemindTimeout;

    m_bTaskListOpen = 1;
    const int result = m_ports.dialogs.RunTaskList(dlg);
    m_bTaskListOpen = 0;
    if (result != IDOK) return;

    m_tasks.SetEntries(TaskList(dlg.m_items, dlg.m_items + dlg.m_nItemCount));
    m_settings.m_nRemindTimeout = dlg.m_nPromptSeconds;
    m_settings.m_bRemind = dlg.m_bEnable;
    SaveSettings();
    SelectNextTask();
}

bool CMainDlg::AskSystemPassword() {
    std::string typed;
    if (!m_ports.dialogs.AskPassword(typed)) return false;
    // Typed text is compared as it is: the stored password never has blanks around it.
    if (typed != m_settings.m_strSystemPwd) {
        const std::string title = AppNameFromPath(m_ports.system.ModuleFileName());
        m_ports.dialogs.ShowMessage("很抱歉，密码输入错误，操作不成功！", title);
        return false;
    }
    return true;
}

void CMainDlg::ChooseBackgroundPicture() {
    std::string path;
    if (!m_ports.dialogs.OpenFile(BackgroundPictureRequest(), path)) return;
    // The rotation's listing belongs to the old folder; the next rotation starts in the new one.
    m_rotation.Close();
    m_settings.m_strPicFile = path;
    m_restScreen.LoadPicture();
    if (m_restScreen.PictureLoaded()) m_settings.m_bPicture = 1;
}

}  // namespace lumivar
