// The system password prompt that guards exit, the settings and the task list.
#include "app/MainDlg.h"
#include "app/Strings.h"

namespace lumivar {

bool CMainDlg::AskSystemPassword() {
    std::string typed;
    if (!m_ports.dialogs.AskPassword(typed)) return false;
    // Typed text is compared as it is: the stored password never has blanks around it.
    if (typed != m_strSystemPwd) {
        m_ports.dialogs.ShowMessage("很抱歉，密码输入错误，操作不成功！", kAppName);
        return false;
    }
    return true;
}

}  // namespace lumivar
