#include "settings/SettingsDlg.h"

namespace lumivar {

void CSettingsDlg::OnInitDialog() {
    m_tab.AddPage("常规参数", 130);
    m_tab.AddPage("密码设置", 151);
    m_tab.AddPage("POP3 Email监测", 146);
    m_tab.AddPage("网页内容监测", 137);
    m_tab.AddPage("PC网络状态监测", 138);
    m_tab.AddPage("作息习惯", 139);
}

bool CSettingsDlg::OnOK(ISettingsUi& ui) {
    if (!m_general.OnOK(ui)) {
        m_tab.SelectPage(GeneralPage);
        return false;
    }
    if (!m_password.OnOK(ui)) {
        m_tab.SelectPage(PasswordPage);
        return false;
    }
    std::string message;
    if (!m_mail.ValidateInterval(message)) {
        ui.ShowMessage(message);
        m_tab.SelectPage(MailPage);
        return false;
    }
    // The web page's interval has no check of its own: its spin offers only 1 to 240.
    if (!m_network.ValidateInterval(message)) {
        ui.ShowMessage(message);
        m_tab.SelectPage(NetworkPage);
        return false;
    }
    if (!m_day.OnOK(ui)) {
        m_tab.SelectPage(DayPage);
        return false;
    }
    return true;
}

}  // namespace lumivar
