#include "settings/PasswordPage.h"

namespace lumivar {

namespace {
std::string Trimmed(const std::string& s) {
    constexpr const char* kBlanks = " \t\r\n\v\f";
    const std::size_t begin = s.find_first_not_of(kBlanks);
    if (begin == std::string::npos) return {};
    return s.substr(begin, s.find_last_not_of(kBlanks) - begin + 1);
}
}  // namespace

bool CPasswordPage::OnOK(IPasswordPageUi& ui) {
    m_strPassword = Trimmed(m_strPassword);
    m_strConfirm = Trimmed(m_strConfirm);
    if (m_strPassword == m_strConfirm) return true;
    ui.ShowMessage("设定密码跟确认密码不相同，请重新输入!");
    return false;
}

}  // namespace lumivar
