#include "settings/PasswordPage.h"

#include "base/Text.h"

namespace lumivar {

bool CPasswordPage::OnOK(IPasswordPageUi& ui) {
    m_strPassword = std::string(Trim(m_strPassword));
    m_strConfirm = std::string(Trim(m_strConfirm));
    if (m_strPassword == m_strConfirm) return true;
    ui.ShowMessage("设定密码跟确认密码不相同，请重新输入!");
    return false;
}

}  // namespace lumivar
