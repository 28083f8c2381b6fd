// The system password prompt that guards exit, the settings and the task list.
#include "base/AppName.h"
#include "app/MainDlg.h"

namespace lumivar {

bool CMainDlg::AskSystemPassword() {
    std::string typed;
    if (!m_ports.dialogs.AskPassword(typed)) return false;
    // Typed text is compared as it is: the stored password never has blanks around it.
    if (typed != m_strSystemPwd) {
        const std::string title = AppNameFromPath(m_ports.system.ModuleFileName());
        m_ports.dialogs.ShowMessage("很抱歉，密码输入错误，操作不成功！", title);
        return false;
    }
    return true;
}

}  // namespace lumivar
