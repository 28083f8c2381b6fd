// The task list command: the list dialog over a copy of the table, applied on OK.
#include "app/MainDlg.h"
#include "tasks/TaskDialogs.h"

namespace lumivar {

void CMainDlg::OnTaskList() {
    if (m_bTaskListOpen) return;
    if (m_bConfigPass && !AskSystemPassword()) return;

    CTaskListDlg dlg;
    const int count = m_nTaskCount < 0 ? 0 : m_nTaskCount > MAX_TASKS ? MAX_TASKS : m_nTaskCount;
    dlg.m_nItemCount = count;
    // Shown in due order as last scheduled; the order only holds slots in use.
    for (int i = 0; i < count; ++i) dlg.m_items[i] = Item(m_nTaskOrder[i] < count ? m_nTaskOrder[i] : i);
    dlg.m_bEnable = m_bRemind;
    dlg.m_nPromptSeconds = m_nRemindTimeout;

    m_bTaskListOpen = 1;
    const int result = m_ports.dialogs.RunTaskList(dlg);
    m_bTaskListOpen = 0;
    if (result != IDOK) return;

    m_nTaskCount = dlg.m_nItemCount;
    for (int i = 0; i < m_nTaskCount; ++i) SetItem(i, dlg.m_items[i]);
    for (int i = m_nTaskCount; i < MAX_TASKS; ++i) {
        m_strTaskNote[i].clear();
        m_strTaskCmd[i].clear();
    }
    m_nRemindTimeout = dlg.m_nPromptSeconds;
    m_bRemind = dlg.m_bEnable;
    SaveSettings();
    SelectNextTask();
}

}  // namespace lumivar
