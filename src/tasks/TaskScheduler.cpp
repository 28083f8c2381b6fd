#include "tasks/TaskScheduler.h"

#include "base/Text.h"

namespace lumivar {

void CTaskScheduler::SetEntries(TaskList entries) {
    if (entries.size() > std::size_t(MAX_TASKS)) entries.resize(MAX_TASKS);
    m_entries = std::move(entries);
}

void CTaskScheduler::Arm(int dueSeconds) {
    const int64_t ms = int64_t(dueSeconds) * 1000;
    m_step = ms > int64_t(kMaxTimerMs);
    m_timer.Set(m_step ? kMaxTimerMs : uint32_t(ms));
}

void CTaskScheduler::Stop() {
    // A timer left from an earlier list would fire with no entry behind it.
    m_timer.Kill();
    m_step = false;
}

int CTaskScheduler::SelectNext(std::time_t now, bool remind) {
    m_dueTogether.clear();
    m_schedule = ComputeTaskSchedule(m_entries, now);
    const int next = ChooseNextTask(m_schedule);
    if (next < 0) {
        m_current = {"", "No message!", "", 0, 0};
        Stop();
        return -1;
    }
    m_current = m_entries[next];
    const int due = m_schedule.due[next];
    if (remind && due > 0) {
        for (const int i : m_schedule.order)
            if (m_schedule.due[i] == due) m_dueTogether.push_back(m_entries[i]);
        Arm(due);
    } else {
        // Nothing ahead (every entry is a passed date) or reminders are off: nothing may fire.
        Stop();
    }
    return next;
}

bool CTaskScheduler::OnTimer() {
    m_timer.Kill();
    return !m_step;
}

std::vector<TaskItem> CTaskScheduler::TakeDue() {
    std::vector<TaskItem> due;
    due.swap(m_dueTogether);
    if (due.empty()) due.push_back(m_current);
    return due;
}

TaskList CTaskScheduler::InDueOrder() const {
    TaskList list;
    const int count = int(m_entries.size());
    // An order older than the list only holds indexes still in use.
    for (int i = 0; i < count; ++i) {
        const bool known = i < int(m_schedule.order.size()) && m_schedule.order[i] < count;
        list.push_back(m_entries[known ? m_schedule.order[i] : i]);
    }
    return list;
}

}  // namespace lumivar
