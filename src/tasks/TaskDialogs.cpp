#include "tasks/TaskDialogs.h"

#include <cstdio>

#include "base/LocalTime.h"
#include "base/Text.h"
#include "ports/Geometry.h"
#include "tasks/TaskSchedule.h"
#include "tasks_ids.h"

namespace lumivar {

std::string CTaskListDlg::TimeText(const TaskItem& item) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d", item.hour, item.minute);
    return buf;
}

int CTaskListDlg::SelectedCount() const {
    int n = 0;
    for (bool s : m_selected) n += s;
    return n;
}

void CTaskListDlg::OnInitDialog() {
    m_rows.clear();
    m_selected.clear();
    const int n = m_nItemCount < 0 ? 0 : m_nItemCount > MAX_TASKS ? MAX_TASKS : m_nItemCount;
    for (int i = n - 1; i >= 0; --i) AddListItem(m_items[i]);
}

void CTaskListDlg::AddListItem(const TaskItem& item) {
    m_rows.insert(m_rows.begin(), item);
    m_selected.insert(m_selected.begin(), false);
}

void CTaskListDlg::DeleteSelected() {
    for (size_t i = m_rows.size(); i-- > 0;)
        if (i < m_selected.size() && m_selected[i]) {
            m_rows.erase(m_rows.begin() + long(i));
            m_selected.erase(m_selected.begin() + long(i));
        }
}

void CTaskListDlg::OnAdd(ITaskListUi& ui) {
    if (m_rows.size() >= size_t(MAX_TASKS)) {
        ui.Confirm("很抱歉，本软件最多只能有20条提醒.\n如果这个限制确实给您带来不便，请同作者联系!");
        return;
    }
    CTaskEditDlg editor;
    if (ui.Edit(editor)) AddListItem({editor.m_strDate, editor.m_strNote, editor.m_strTask, editor.m_nHour, editor.m_nMinute});
}

void CTaskListDlg::OnModify(ITaskListUi& ui) {
    const int n = SelectedCount();
    if (n >= 2) {
        ui.Confirm("请选择单一的任务进行编辑!");
        return;
    }
    if (n == 0) {
        ui.Confirm("请先选中目标任务再进行编辑!");
        return;
    }
    size_t row = 0;
    for (size_t i = 0; i < m_selected.size(); ++i)
        if (m_selected[i]) row = i;
    const TaskItem& item = m_rows[row];
    CTaskEditDlg editor;
    editor.m_strTask = item.task;
    editor.m_strNote = item.note;
    editor.m_strDate = item.date;
    editor.m_nHour = item.hour;
    editor.m_nMinute = item.minute;
    if (!ui.Edit(editor)) return;
    DeleteSelected();
    AddListItem({editor.m_strDate, editor.m_strNote, editor.m_strTask, editor.m_nHour, editor.m_nMinute});
}

void CTaskListDlg::OnDelete(ITaskListUi& ui) {
    if (SelectedCount() == 0) {
        ui.Confirm("请先选中目标任务再进行删除!");
        return;
    }
    if (ui.Confirm("确认要删除所选定的任务提醒吗?") == IDOK) DeleteSelected();
}

bool CTaskListDlg::OnOK(ITaskListUi& ui) {
    if (m_nPromptSeconds < 0 || m_nPromptSeconds > 3600) {
        ui.RangeError(0, 3600);
        return false;
    }
    m_nItemCount = int(m_rows.size());
    for (int i = 0; i < m_nItemCount; ++i) m_items[i] = m_rows[size_t(i)];
    return true;
}

const char* CommandWordOf(int commandId) {
    switch (commandId) {
    case ID_TASK_SHUTDOWN: return "shutdown";
    case ID_TASK_REBOOT: return "reboot";
    case ID_TASK_LOGOFF: return "logoff";
    case ID_TASK_SHUTDOWNEX: return "shutdownex";
    case ID_TASK_SCREENSAVER: return "screensaver";
    case ID_TASK_LOCK: return "lock";
    case ID_TASK_UNLOCK: return "unlock";
    default: return nullptr;
    }
}

void CTaskEditDlg::OnInitDialog(std::time_t now) {
    std::time_t t = now;
    std::time_t date;
    if (ParseEditorDate(m_strDate, date)) {
        t = date;
        m_bDaily = 0;
    }
    m_date = LocalTime(t);
    // The picker cannot show a day outside its range: keep to its ends.
    if (m_date.tm_year + 1900 > kLastYear) {
        m_date = std::tm{};
        m_date.tm_mday = 31;
        m_date.tm_mon = 11;
        m_date.tm_year = kLastYear - 1900;
    }
    m_time = m_date;
    if (m_nHour || m_nMinute) {
        m_time.tm_hour = m_nHour;
        m_time.tm_min = m_nMinute;
        m_time.tm_sec = 0;
    }
}

void CTaskEditDlg::OnPickCommand(int commandId) {
    if (const char* word = CommandWordOf(commandId)) m_strTask = word;
}

bool CTaskEditDlg::OnOK(ITaskEditUi& ui) {
    if (Trim(m_strNote).empty() && Trim(m_strTask).empty()) {
        ui.ShowMessage("请输入提示信息或选择要定时执行的任务！");
        return false;
    }
    m_strDate = kDaily;
    if (!m_bDaily) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%04d年%02d月%02d日", m_date.tm_year + 1900, m_date.tm_mon + 1, m_date.tm_mday);
        m_strDate = buf;
    }
    m_nHour = m_time.tm_hour;
    m_nMinute = m_time.tm_min;
    return true;
}

}  // namespace lumivar
