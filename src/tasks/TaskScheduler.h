// The reminders and tasks: the entries, the one that comes next, and every entry due with it.
// It owns the task timer, stepping towards an entry too far off for one timer.
#pragma once

#include <ctime>
#include <vector>

#include "ports/Window.h"
#include "tasks/TaskSchedule.h"
#include "tasks/TaskTable.h"

namespace lumivar {

class CTaskScheduler {
public:
    explicit CTaskScheduler(CTimer timer) : m_timer(timer) {}

    const TaskList& Entries() const { return m_entries; }
    void SetEntries(TaskList entries);  // more than MAX_TASKS are cut

    // Schedules from `now` and makes the next entry the current one. The timer runs only when
    // reminders are on and that entry lies ahead. -1 for an empty list.
    int SelectNext(std::time_t now, bool remind);
    // The timer fired: true when the entries due now wait in TakeDue(); false after a step on
    // the way to an entry far off, when the caller schedules again.
    bool OnTimer();
    // Every entry due at the chosen moment (at least the current one), in due order.
    std::vector<TaskItem> TakeDue();

    // The entry the tray tip shows and the notice runs; "No message!" when there is none.
    const TaskItem& Current() const { return m_current; }
    void SetCurrent(const TaskItem& item) { m_current = item; }
    // As last scheduled: the entries in due order, and each one's seconds to go.
    TaskList InDueOrder() const;
    int DueIn(int index) const { return index < int(m_schedule.due.size()) ? m_schedule.due[index] : 0; }
    void Stop();

private:
    void Arm(int dueSeconds);

    CTimer m_timer;
    TaskList m_entries;
    TaskSchedule m_schedule;
    TaskItem m_current{"", "No message!", "", 0, 0};
    std::vector<TaskItem> m_dueTogether;
    bool m_step = false;  // the timer is armed for a step, not for the entry itself
};

}  // namespace lumivar
