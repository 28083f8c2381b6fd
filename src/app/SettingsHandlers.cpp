// The settings dialog: copies of the settings in, and on OK everything that depends on them
// restarted at once.
#include "app/MainDlg.h"
#include "settings/SettingsDlg.h"

namespace lumivar {

void CMainDlg::ShowSettings() {
    if (m_bSettingsOpen) return;
    if (m_bConfigPass && !AskSystemPassword()) return;

    CSettingsDlg dlg({m_ports.background, m_ports.system, m_ports.dialogs, m_ports.http, m_mailMonitor.Tcp()});
    CPasswordPage& pwd = dlg.m_password;
    pwd.m_bConfigPass = m_bConfigPass, pwd.m_bExitPass = m_bExitPass, pwd.m_bLockPass = m_bLockPass;
    pwd.m_strPassword = pwd.m_strConfirm = m_strSystemPwd;
    CGeneralPage& gen = dlg.m_general;
    gen.m_nWorkTime = m_nWorkTime, gen.m_nBreakTime = m_nBreakTime;
    gen.m_bDisplayTxt = m_bDisplayTxt, gen.m_strText = m_strText, gen.m_bAnimate = m_bAnimate;
    gen.m_crBackColor = m_crBackColor, gen.m_crTextColor = m_crTextColor;
    gen.m_bPicture = m_bPicture, gen.m_bStretch = m_bStretch, gen.m_bAltPic = m_bAltPic, gen.m_strPicFile = m_strPicFile;
    gen.m_bPlaySound = m_bPlaySound, gen.m_strBreakWav = m_strBreakWav, gen.m_strWorkWav = m_strWorkWav;
    gen.m_strRemindWav = m_strRemindWav;
    gen.m_bBackKey = m_bBackKey, gen.m_bStartup = m_bStartup, gen.m_bAutoCheckNewVersion = m_bAutoCheckNewVersion;
    gen.m_bAutoLock = m_bAutoLock, gen.m_nAutoLockTimeout = m_nAutoLockTimeout;
    dlg.m_mail.FromSettings(*this);
    dlg.m_network.FromSettings(*this);
    dlg.m_homepage.SetValues({m_bHomepageWatch, m_nHomepageInterval, m_strHomepageAddress, m_bHomepageProxy,
                              m_strProxyUser, m_strProxyPass});

    m_bSettingsOpen = 1;
    const int result = m_ports.dialogs.RunSettings(dlg);
    m_bSettingsOpen = 0;
    if (result != IDOK) return;

    m_bConfigPass = pwd.m_bConfigPass, m_bExitPass = pwd.m_bExitPass, m_bLockPass = pwd.m_bLockPass;
    m_strSystemPwd = pwd.m_strPassword;
    m_strText = gen.m_strText;
    m_crBackColor = gen.m_crBackColor, m_crTextColor = gen.m_crTextColor;
    m_bPicture = gen.m_bPicture, m_strPicFile = gen.m_strPicFile;
    m_bStretch = gen.m_bStretch, m_bAutoCheckNewVersion = gen.m_bAutoCheckNewVersion;
    m_bAnimate = gen.m_bAnimate, m_bAltPic = gen.m_bAltPic;
    if (m_bAutoCheckNewVersion)
        m_wnd.SetTimer(TIMER_UPDATE, 120000);
    else
        m_wnd.KillTimer(TIMER_UPDATE);
    m_bAutoLock = gen.m_bAutoLock, m_nAutoLockTimeout = gen.m_nAutoLockTimeout;
    if (m_nAutoLockTimeout < 1) m_nAutoLockTimeout = 5;
    if (m_bAutoLock)
        m_wnd.SetTimer(TIMER_AUTOLOCK, 1000);
    else
        m_wnd.KillTimer(TIMER_AUTOLOCK);
    CloseRotation();
    if (m_bPicture) {
        ReloadPicture();
    } else if (m_bPictureLoaded) {
        m_picture.Release();
        m_bPictureLoaded = 0;
    }
    m_strRemindWav = gen.m_strRemindWav, m_strBreakWav = gen.m_strBreakWav, m_strWorkWav = gen.m_strWorkWav;
    m_nBreakTime = gen.m_nBreakTime, m_bPlaySound = gen.m_bPlaySound, m_nWorkTime = gen.m_nWorkTime;
    m_bDisplayTxt = gen.m_bDisplayTxt;
    m_bQuietReturn = 0;
    m_bBackKey = gen.m_bBackKey, m_bStartup = gen.m_bStartup;
    SetRunAtStartup();
    BackToWork();  // while locked this leaves the lock standing
    UpdateTrayTip();
    ApplyHostSettings(dlg.m_network.m_bHostMonitor, dlg.m_network.m_nHostInterval, dlg.m_network.m_strHostName);
    ApplyMailSettings(dlg.m_mail.Edited());
    ApplyHomepageSettings(dlg.m_homepage.Values());
    SaveSettings();
}

}  // namespace lumivar
