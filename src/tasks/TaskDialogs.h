// The task list and the task editor: their members, rules and messages. The windows that
// show them (list view, pickers, menus) only move values in and out and forward clicks.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "tasks/TaskTable.h"

namespace lumivar {

class CTaskEditDlg;

// What the list's model asks of its window and of the user.
class ITaskListUi {
public:
    virtual ~ITaskListUi() = default;
    virtual int Confirm(const std::string& message) = 0;  // the "操作确认" box: IDOK or IDCANCEL
    virtual bool Edit(CTaskEditDlg& editor) = 0;          // runs the editor; true when it ended with OK
    virtual void RangeError(int low, int high) = 0;       // "Please enter an integer between %1 and %2."
};

class CTaskListDlg {
public:
    // In before the run, out after OK.
    int m_nItemCount = 0;
    TaskItem m_items[MAX_TASKS];
    int m_nPromptSeconds = 0;  // edit 1010, 0..3600
    int m_bEnable = 0;         // check 1008

    // The rows of the list, top first, and which are selected; the window mirrors them.
    std::vector<TaskItem> m_rows;
    std::vector<bool> m_selected;

    static std::string TimeText(const TaskItem& item);  // column 1, "%02d:%02d"

    void OnInitDialog();
    void AddListItem(const TaskItem& item);
    void DeleteSelected();
    void OnAdd(ITaskListUi& ui);
    void OnModify(ITaskListUi& ui);
    void OnDelete(ITaskListUi& ui);
    void OnEnableClick() { m_bEnable = !m_bEnable; }
    bool OnOK(ITaskListUi& ui);  // false: stays open

    // Context menu 157: which of modify / delete are available.
    bool CanModify() const { return SelectedCount() == 1; }
    bool CanDelete() const { return SelectedCount() > 0; }
    int SelectedCount() const;
};

// Command words of the editor's menu 156, by command id.
const char* CommandWordOf(int commandId);  // nullptr for other ids

class ITaskEditUi {
public:
    virtual ~ITaskEditUi() = default;
    virtual void ShowMessage(const std::string& text) = 0;  // owned by the editor, OK only
};

class CTaskEditDlg {
public:
    // In before the run, out after OK.
    std::string m_strDate;
    int m_nHour = 0, m_nMinute = 0;  // the caller sets the current local time for a new entry
    std::string m_strTask;
    std::string m_strNote;
    int m_bDaily = 1;

    // What the two pickers show (local time); the window moves them in and out.
    std::tm m_date{};  // the day shown by the date picker
    std::tm m_time{};  // the time shown by the time picker
    bool DateEnabled() const { return !m_bDaily; }

    static constexpr int kFirstYear = 2002;  // the date picker's range: 2002-12-21 ...
    static constexpr int kLastYear = 2038;   // ... to the end of 2038, as far as dates are understood

    void OnInitDialog(std::time_t now);
    void OnDailyClick() { m_bDaily = !m_bDaily; }
    void OnPickCommand(int commandId);
    bool OnOK(ITaskEditUi& ui);  // false: stays open
};

}  // namespace lumivar
