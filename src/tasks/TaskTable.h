// The reminder/task entries held by the main window.
#pragma once

#include <string>

namespace lumivar {

inline constexpr int MAX_TASKS = 20;
inline constexpr const char* kDaily = "每天";

struct TaskItem {
    std::string date;   // kDaily, or "%Y年%m月%d日"
    std::string note;   // reminder text, may hold CR LF
    std::string task;   // command word, program or document
    int hour = 0;
    int minute = 0;
    bool operator==(const TaskItem&) const = default;
};

// Parallel arrays indexed by slot; slots 0..m_nTaskCount-1 are in use.
struct TaskTable {
    int m_nTaskOrder[MAX_TASKS] = {};
    std::string m_strTaskDate[MAX_TASKS];
    std::string m_strTaskNote[MAX_TASKS];
    std::string m_strTaskCmd[MAX_TASKS];
    int m_nTaskDue[MAX_TASKS] = {};
    int m_nTaskHours[MAX_TASKS] = {};
    int m_nTaskMinutes[MAX_TASKS] = {};

    TaskItem Item(int slot) const {
        return {m_strTaskDate[slot], m_strTaskNote[slot], m_strTaskCmd[slot], m_nTaskHours[slot], m_nTaskMinutes[slot]};
    }
    void SetItem(int slot, const TaskItem& t) {
        m_strTaskDate[slot] = t.date;
        m_strTaskNote[slot] = t.note;
        m_strTaskCmd[slot] = t.task;
        m_nTaskHours[slot] = t.hour;
        m_nTaskMinutes[slot] = t.minute;
    }
};

}  // namespace lumivar
